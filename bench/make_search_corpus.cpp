// Writes the fixed corpus of the search benchmark to standard output: positions
// met in seeded games between the low and average strengths, nine for every
// disc total from 5 to 63, one position per line in the engine tool's format.
// The output only changes when the engine's choices change; the committed
// bench/data/search_positions.txt was made by this program.
#include "game/position_text.h"
#include "game/random.h"
#include "game/selfplay.h"

#include <array>
#include <cstdio>
#include <vector>

int main() {
    using namespace dorvane;
    constexpr int kPerTotal = 9;
    constexpr int kLowest = 5;
    constexpr int kHighest = 63;
    std::array<std::vector<TPosition>, 65> byTotal;
    const auto full = [&] {
        for (int total = kLowest; total <= kHighest; ++total)
            if (static_cast<int>(byTotal[total].size()) < kPerTotal) return false;
        return true;
    };

    TRandom random(0x5ea4c4);
    for (int g = 0; g < 2000 && !full(); ++g) {
        const std::array<int, 2> types = {1 + g % 2, 1 + (g / 2) % 2};
        PlayEngineGame(random, {SearchTypeOf(types[0]), SearchTypeOf(types[1])},
                       [&](const TGameState& game) {
                           const int total = CountDiscs(game.GameBoard).Total();
                           auto& bucket = byTotal[total];
                           if (total >= kLowest && total <= kHighest &&
                               static_cast<int>(bucket.size()) < kPerTotal)
                               bucket.push_back({game.GameBoard, game.SideToMove});
                       });
    }
    if (!full()) {
        std::fputs("make_search_corpus: some disc totals were never reached\n", stderr);
        return 1;
    }
    for (int total = kLowest; total <= kHighest; ++total)
        for (const TPosition& position : byTotal[total])
            std::printf("%s\n", FormatPosition(position).c_str());
    return 0;
}
