#include "tool_commands.h"

#include "game/perft.h"
#include "game/position_text.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <string>

namespace dorvane::tool {

int RunPerft(Args args) {
    if (args.empty()) return Usage("perft needs a depth: perft DEPTH [POSITION]");
    long depth = 0;
    if (!ParseInt(args[0], 1, 20, depth))
        return Usage("perft: the depth must be a whole number from 1 to 20");

    TPosition position = StandardStartPosition();
    if (args.size() > 1) {
        // The position may come as one argument or as the cells and the flag apart.
        std::string text;
        for (std::size_t i = 1; i < args.size(); ++i)
            text += std::string(args[i]) + (i + 1 < args.size() ? " " : "");
        std::string error;
        if (!ParsePosition(text, position, error)) return Usage("perft: " + error);
    }

    for (int d = 1; d <= depth; ++d) {
        const auto start = std::chrono::steady_clock::now();
        const std::uint64_t leaves = Perft(position.board, position.sideToMove, d);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double rate = seconds > 0 ? static_cast<double>(leaves) / seconds : 0.0;
        std::printf("%d %" PRIu64 " %.0f\n", d, leaves, rate);
        std::fflush(stdout);
    }
    return 0;
}

} // namespace dorvane::tool
