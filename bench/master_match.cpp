// Matches of the master against the high strength ("Высокий") or a fixed
// depth search with a mobility-only evaluation, from random openings, each
// opening played with both colours. Prints the master's score (a win 1, a
// draw a half).
//   master_match [--games N] [--ms BUDGET] [--opponent high|mobility] [--seed S]
#include "game/engine.h"
#include "game/master/master.h"
#include "game/master/random_positions.h"
#include "game/random.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace dorvane;

namespace {

// A fixed-depth alpha-beta whose only judgement is the difference in moves.
int Mobility(master::TPosition p, int depth, int alpha, int beta) {
    TBits moves = p.Moves();
    if (moves == 0) {
        if (p.Passed().Moves() == 0) return 1000 * master::FinalMargin(p);
        return -Mobility(p.Passed(), depth, -beta, -alpha);
    }
    if (depth == 0) return std::popcount(moves) - std::popcount(p.Passed().Moves());
    int best = -100000;
    for (; moves != 0; moves &= moves - 1) {
        const TBits bit = moves & (~moves + 1);
        const int score = -Mobility(p.After(bit, FlipsOf(bit, p.own, p.opp)), depth - 1, -beta,
                                    -std::max(alpha, best));
        best = std::max(best, score);
        if (best >= beta) break;
    }
    return best;
}

int MobilityMove(const master::TPosition& p, int depth) {
    int best = -1000000;
    int bestMove = -1;
    for (TBits moves = p.Moves(); moves != 0; moves &= moves - 1) {
        const TBits bit = moves & (~moves + 1);
        const int score =
            -Mobility(p.After(bit, FlipsOf(bit, p.own, p.opp)), depth - 1, -1000000, 1000000);
        if (score > best) {
            best = score;
            bestMove = std::countr_zero(bit);
        }
    }
    return bestMove;
}

} // namespace

int main(int argc, char** argv) {
    int games = 200;
    double seconds = 0.05;
    bool mobility = false;
    std::uint64_t seed = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--games")) games = std::atoi(argv[i + 1]);
        if (!std::strcmp(argv[i], "--ms")) seconds = std::atof(argv[i + 1]) / 1000.0;
        if (!std::strcmp(argv[i], "--opponent")) mobility = !std::strcmp(argv[i + 1], "mobility");
        if (!std::strcmp(argv[i], "--seed")) seed = std::strtoull(argv[i + 1], nullptr, 10);
    }
    std::mt19937_64 openings(seed);
    TRandom draws(seed);
    master::TMasterSearch search;
    double score = 0;
    int wins = 0, draws_ = 0, losses = 0;
    master::TPosition opening;
    for (int g = 0; g < games; ++g) {
        // Each opening, six random plies from the standard start, twice.
        if (g % 2 == 0) opening = master::RandomPosition(openings, 54);
        const bool masterFirst = g % 2 == 0;
        master::TPosition p = opening;
        bool masterToMove = masterFirst;
        for (int passes = 0; passes < 2;) {
            if (p.Moves() == 0) {
                ++passes;
                p = p.Passed();
                masterToMove = !masterToMove;
                continue;
            }
            passes = 0;
            int move = -1;
            if (masterToMove) {
                move = search.Search(p, {.seconds = seconds}).move;
            } else if (mobility) {
                move = MobilityMove(p, 4);
            } else {
                // The mover as side 1 on the byte grid.
                TField board{};
                for (int bit = 0; bit < 64; ++bit) {
                    if ((p.own >> bit) & 1) board[static_cast<std::size_t>(CellOfBit(bit))] = 1;
                    if ((p.opp >> bit) & 1) board[static_cast<std::size_t>(CellOfBit(bit))] = 2;
                }
                TGameState game = TGameState::At(board, 1);
                FindMove(game, draws, TSearchType::LookAhead);
                move = game.MovePriority > 0 ? BitOf(game.MoveColumn, game.MoveRow) : -1;
            }
            const TBits bit = move >= 0 ? TBits{1} << move : 0;
            if ((p.Moves() & bit) == 0) {
                std::fprintf(stderr, "game %d: an illegal move\n", g + 1);
                return 1;
            }
            p = p.After(bit, FlipsOf(bit, p.own, p.opp));
            masterToMove = !masterToMove;
        }
        // p's mover is the master when masterToMove.
        const int margin = masterToMove ? master::FinalMargin(p) : -master::FinalMargin(p);
        score += margin > 0 ? 1 : margin == 0 ? 0.5 : 0;
        (margin > 0 ? wins : margin == 0 ? draws_ : losses)++;
    }
    std::printf(
        "master vs %s, %d games, %.0f ms per move: wins %d draws %d losses %d, score %.1f%%\n",
        mobility ? "mobility depth 4" : "high strength", games, seconds * 1000, wins, draws_,
        losses, 100.0 * score / games);
    return 0;
}
