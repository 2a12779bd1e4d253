// Finds the positions where the high strength thinks longest and writes them
// to standard output in the format of bench/data/hard_positions.txt.
//
// The look-ahead is dearest between 47 and 53 discs: there the opponent's
// replies are searched and every line branches, and near 53 the lines reach
// the second branching level. It is dearer still when both sides have many
// moves. So the generator plays games in which each side prefers the move that
// leaves both sides the most replies, times the high strength on every
// position it meets at 47..53 discs, and then hill-climbs the slowest ones:
// a disc changes colour, appears or disappears, and the change is kept when
// the search takes longer. Played positions are marked "reachable", climbed
// ones "constructed" (they need not arise in any game).
//
//   make_hard_positions [games] [climbs] [steps]  > bench/data/hard_positions.txt
//
// Times are this thread's CPU time for the plain serial search, the best of
// two runs, with the search's draws fixed at (0, 0), so the neighbours on a
// shared machine matter less.
// The output depends on the machine's timing; the committed file is one run.
#include "game/engine.h"
#include "game/position_text.h"
#include "game/random.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

using namespace dorvane;

constexpr int kFewestDiscs = 47;
constexpr int kMostDiscs = 53;
constexpr std::size_t kKept = 30;

double ThreadMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double SearchMs(const TPosition& position) {
    double best = 1e18;
    for (int run = 0; run < 2; ++run) {
        TGameState game;
        game.GameBoard = position.board;
        game.SideToMove = position.sideToMove;
        game.RecountDiscs();
        const double start = ThreadMs();
        FindMove(game, TSearchDraws{}, TSearchType::LookAhead, {nullptr, true, nullptr});
        best = std::min(best, ThreadMs() - start);
    }
    return best;
}

struct THard {
    TPosition position;
    double ms = 0;
    bool constructed = false;
};

int Mobility(const TField& board, std::uint8_t side) {
    return CountLegalMoves(board, side);
}

// One game of mobility play: among the legal moves, one of the (up to) three
// that leave the two sides the most replies between them, chosen at random.
void PlayMobilityGame(TRandom& random, std::vector<THard>& found) {
    TPosition position = StandardStartPosition();
    SetStartPosition(position.board, random);
    int passes = 0;
    while (passes < 2) {
        const std::uint8_t side = position.sideToMove;
        struct TChoice {
            int cell;
            int score;
        };
        std::vector<TChoice> choices;
        for (int column = 1; column <= 8; ++column)
            for (int row = 1; row <= 8; ++row) {
                TField after = position.board;
                if (!ApplyMove(after, column, row, side)) continue;
                const int score = Mobility(after, side) + Mobility(after, OtherSide(side));
                choices.push_back({CellIndex(column, row), score});
            }
        if (choices.empty()) {
            ++passes;
            position.sideToMove = OtherSide(side);
            continue;
        }
        passes = 0;
        const int discs = CountDiscs(position.board).Total();
        if (discs >= kFewestDiscs && discs <= kMostDiscs)
            found.push_back({position, SearchMs(position), false});
        std::stable_sort(choices.begin(), choices.end(),
                         [](const TChoice& a, const TChoice& b) { return a.score > b.score; });
        const auto pick =
            random.Below(static_cast<std::uint32_t>(std::min<std::size_t>(3, choices.size())));
        const int cell = choices[pick].cell;
        ApplyMove(position.board, ColumnOf(cell), RowOf(cell), side);
        position.sideToMove = OtherSide(side);
    }
}

bool Searchable(const TPosition& position) {
    const int discs = CountDiscs(position.board).Total();
    return discs >= kFewestDiscs && discs <= kMostDiscs &&
           Mobility(position.board, position.sideToMove) > 0;
}

// One random change: a disc changes colour, a disc is added next to the
// others, or a disc is taken away.
TPosition Mutate(const TPosition& from, TRandom& random) {
    TPosition to = from;
    const int cell =
        CellIndex(1 + static_cast<int>(random.Below(8)), 1 + static_cast<int>(random.Below(8)));
    std::uint8_t& v = to.board[cell];
    switch (random.Below(3)) {
    case 0:
        if (v != 0) v = v == 1 ? 2 : 1;
        break;
    case 1:
        if (v == 0) v = static_cast<std::uint8_t>(1 + random.Below(2));
        break;
    default:
        v = 0;
        break;
    }
    return to;
}

THard Climb(THard start, int steps, TRandom& random) {
    THard best = start;
    for (int step = 0; step < steps; ++step) {
        const TPosition next = Mutate(best.position, random);
        if (next == best.position || !Searchable(next)) continue;
        const double ms = SearchMs(next);
        if (ms > best.ms) best = {next, ms, true};
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    const int games = argc > 1 ? std::atoi(argv[1]) : 300;
    const int climbs = argc > 2 ? std::atoi(argv[2]) : 12;
    const int steps = argc > 3 ? std::atoi(argv[3]) : 60;

    TRandom random(0x4a5d);
    std::vector<THard> reachable;
    for (int g = 0; g < games; ++g)
        PlayMobilityGame(random, reachable);
    const auto slower = [](const THard& a, const THard& b) { return a.ms > b.ms; };
    std::sort(reachable.begin(), reachable.end(), slower);
    std::fprintf(stderr, "%zu positions played, slowest %.1f ms\n", reachable.size(),
                 reachable.empty() ? 0.0 : reachable.front().ms);

    std::vector<THard> all = reachable;
    for (int c = 0; c < climbs && c < static_cast<int>(reachable.size()); ++c) {
        const THard top = Climb(reachable[static_cast<std::size_t>(c)], steps, random);
        std::fprintf(stderr, "climb %d: %.1f -> %.1f ms\n", c,
                     reachable[static_cast<std::size_t>(c)].ms, top.ms);
        if (top.constructed) all.push_back(top);
    }
    std::sort(all.begin(), all.end(), slower);
    if (all.size() > kKept) all.resize(kKept);

    std::printf("# The high strength's hardest positions: 47..53 discs, many moves for both\n"
                "# sides. \"reachable\" ones were met in play, \"constructed\" ones were\n"
                "# climbed from them towards longer searches. Made by make_hard_positions;\n"
                "# the figure is the search's CPU time in ms on the machine that made it.\n");
    for (const THard& hard : all)
        std::printf("%s %s %.0f\n", hard.constructed ? "constructed" : "reachable",
                    FormatPosition(hard.position).c_str(), hard.ms);
    return 0;
}
