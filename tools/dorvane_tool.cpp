// dorvane-tool: the engine's command-line companion, for players who want to
// poke at positions and for the tests that check the engine from outside.

#include "tool_commands.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

namespace dorvane::tool {

bool ParseInt(std::string_view text, long low, long high, long& out) {
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return false;
    out = value;
    return true;
}

int Usage(std::string_view message) {
    std::fprintf(stderr, "dorvane-tool: %.*s\n", static_cast<int>(message.size()), message.data());
    return 2;
}

} // namespace dorvane::tool

namespace {

constexpr const char* kHelp =
    "usage: dorvane-tool perft DEPTH [POSITION]\n"
    "       dorvane-tool move < LINES\n"
    "       dorvane-tool selfplay --games N --seed S --strength1 A --strength2 B\n"
    "       dorvane-tool dvn FILE   (a saved game as JSON, or why it is refused)\n"
    "       dorvane-tool analyse [--seconds HUNDREDTHS] FILE   (the master's best move,\n"
    "                the discs lost and whether exact, per move of a saved game)\n"
    "       dorvane-tool ggf FILE   (a saved game as one GGF record for Othello programs)\n"
    "       dorvane-tool transcript FILE   (its moves as one line, \"f5d6c3...\")\n"
    "       dorvane-tool nboard [--seed S]   (an engine for NBoard and other Othello\n"
    "                programs: the NBoard protocol on standard input and output;\n"
    "                set depth 1 low, 2 average, 3 high strength, 4 or more master)\n"
    "       dorvane-tool tags FILE...   (what the tags and headers of .mp3 and .wma\n"
    "                                   files hold, as JSON; exit 2 if one fails)\n"
    "       dorvane-tool playlist [--subfolders] FILE\n"
    "                (the music player's entries of a playlist or folder as JSON)\n"
    "POSITION: 64 cells from A8..H8 down to A1..H1 ('-', '1', '2'),\n"
    "          a blank, then 1 (side 1 to move) or 0 (side 2 to move)\n"
    "LINES:    POSITION TYPE DRAW2 DRAW4 per line; prints the chosen cell\n"
    "          (or --) and its priority. TYPE 1 simple, 3 look-ahead, else rules;\n"
    "          4 the master, which adds its evaluation in discs and exact|estimate\n"
    "STRENGTH: 1 low, 2 average, 3 high\n";

} // namespace

int main(int argc, char** argv) {
    using namespace dorvane::tool;
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        std::fputs(kHelp, args.empty() ? stderr : stdout);
        return args.empty() ? 2 : 0;
    }
    const std::string_view command = args[0];
    const Args rest(args.data() + 1, args.size() - 1);
    if (command == "perft") return RunPerft(rest);
    if (command == "move") return RunMove(rest);
    if (command == "selfplay") return RunSelfPlay(rest);
    if (command == "dvn") return RunDvn(rest);
    if (command == "analyse") return RunAnalyse(rest);
    if (command == "ggf") return RunGgf(rest);
    if (command == "transcript") return RunTranscript(rest);
    if (command == "nboard") return RunNboard(rest);
    if (command == "tags") return RunTags(rest);
    if (command == "playlist") return RunPlaylist(rest);
    return Usage("unknown command '" + std::string(command) + "' (try --help)");
}
