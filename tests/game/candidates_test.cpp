#include "game/search_context.h"
#include "search_fixture.h"

#include "game/board_cells.h"
#include "game/position_text.h"
#include "game/random.h"

#include <vector>

#include <gtest/gtest.h>

namespace dorvane {
namespace {

using test::Cell;
using test::TSearchFixture;

struct TWeightCase {
    const char* name;
    const char* picture; // side 1 to move
    const char* cell;
    int weight;
};

// Side 1 moves throughout; '1' is the mover, '2' the opponent.
const TWeightCase kWeightCases[] = {
    {"interior run has no bonus",
     "-------- -------- -------- ---2---- ---1---- -------- -------- --------", "D6", 1},
    {"run along the top edge",
     "--12---- -------- -------- -------- -------- -------- -------- --------", "E8", 101},
    {"runs along the edge on both sides",
     "--12-21- -------- -------- -------- -------- -------- -------- --------", "E8", 202},
    {"edge move flipping away from the edge has no bonus",
     "-------- ----2--- ----1--- -------- -------- -------- -------- --------", "E8", 1},
    {"run along the left edge",
     "-------- 1------- 2------- -------- -------- -------- -------- --------", "A5", 101},
    {"own discs then an opponent disc past the closing disc",
     "2112---- -------- -------- -------- -------- -------- -------- --------", "E8", 1},
    {"own discs then the end of the edge",
     "-112---- -------- -------- -------- -------- -------- -------- --------", "E8", 101},
    {"opponent disc as the fourth cell past the closing disc",
     "-211112- -------- -------- -------- -------- -------- -------- --------", "H8", 1},
    {"opponent disc as the fifth cell is out of sight",
     "2111112- -------- -------- -------- -------- -------- -------- --------", "H8", 101},
    // The override replaces what earlier directions added; later ones add to it.
    // The left run comes from D8, scanned before the vertical run from E7...
    {"override first, then a later run adds",
     "-212---- ----2--- ----1--- -------- -------- -------- -------- --------", "E8", 2},
    // ...while the right run comes from F8, after E7, and wipes its count.
    {"a later override wipes an earlier run",
     "-----212 ----2--- ----1--- -------- -------- -------- -------- --------", "E8", 1},
};

TEST(ComputeCandidates, EdgeBonusAndEdgeDangerOverride) {
    for (const TWeightCase& c : kWeightCases) {
        TSearchFixture f(c.picture, 1);
        EXPECT_EQ(f.ctx.W(Cell(c.cell)), c.weight) << c.name;
    }
}

TEST(ComputeCandidates, FillsOpponentGridCountsAndClearsRegister) {
    TGameState game;
    game.MoveColumn = 5;
    game.MoveRow = 3;
    game.MovePriority = 7;
    TSearchContext ctx(game);
    ctx.Board =
        test::Picture("-------- -------- -------- ---12--- ---21--- -------- -------- --------");
    ctx.Board[Cell("A8")] = 2;
    ctx.SetSide(0); // side 2 moves: mover code 2
    ComputeCandidates(ctx);

    EXPECT_EQ(game.MovePriority, 0);
    EXPECT_EQ(game.MoveColumn, 0);
    EXPECT_EQ(game.MoveRow, 0);
    EXPECT_EQ(game.DiscCount1, 2);
    EXPECT_EQ(game.DiscCount2, 3);
    TFlipGrid side1;
    CountFlips(side1, ctx.Board, 1);
    EXPECT_EQ(ctx.OppGrid, side1);
    // Away from the edges the weights are the plain flip counts of the mover.
    TFlipGrid side2;
    CountFlips(side2, ctx.Board, 0);
    for (int cell : {Cell("C5"), Cell("D6"), Cell("E3"), Cell("F4")})
        EXPECT_EQ(ctx.W(cell), side2[cell]) << test::NameOf(cell);
}

// The weights as the engine first computed them, disc by disc on the byte
// grid: for every opponent disc p and step d, the run from p back to a mover's
// disc adds to the empty cell p + d. The word-wide computation must agree
// with it at every playing cell.
TFlipGrid WeightsByDiscScan(const TField& board, std::uint8_t mover, std::uint8_t opponent) {
    constexpr int kSteps[8] = {-11, -10, -9, -1, 1, 9, 10, 11};
    TFlipGrid weights{};
    for (int p = 11; p <= 88; ++p) {
        if (board[p] != opponent) continue;
        for (int d : kSteps) {
            const int e = p + d;
            if (board[e] != 0) continue;
            int m = 1;
            int q = p - d;
            while (board[q] == opponent) {
                ++m;
                q -= d;
            }
            if (board[q] != mover) continue;
            const int column = ColumnOf(p);
            const int row = RowOf(p);
            const bool edge = ((column == 1 || column == 8) && (d == -1 || d == 1)) ||
                              ((row == 1 || row == 8) && (d == -10 || d == 10));
            weights[e] = static_cast<std::uint8_t>(weights[e] + m + (edge ? 100 : 0));
            if (!edge) continue;
            for (int k = 1, c = q - d; k <= 4; ++k, c -= d) {
                if (board[c] == opponent) {
                    weights[e] = 1;
                    break;
                }
                if (board[c] != mover) break;
            }
        }
    }
    return weights;
}

// Random games, with a share of the moves pushed onto the edges so that runs
// along them, and the discs past their closing disc, come up often.
TEST(ComputeCandidates, AgreesWithTheDiscByDiscScanOnRandomGames) {
    TRandom random(0xed6e);
    int edgeWeights = 0;
    for (int g = 0; g < 300; ++g) {
        TField board;
        SetStartPosition(board, random);
        std::uint8_t side = 1;
        for (int ply = 0; ply < 70; ++ply) {
            TGameState game;
            TSearchContext ctx(game);
            ctx.Board = board;
            ctx.SetSide(side);
            ComputeCandidates(ctx);
            const TFlipGrid expected = WeightsByDiscScan(board, ctx.Mover, ctx.Opponent);
            TFlipGrid theirs;
            CountFlips(theirs, board, OtherSide(side));
            const TDiscCounts counts = CountDiscs(board);
            ASSERT_EQ(game.DiscCount1, counts.side1);
            ASSERT_EQ(game.DiscCount2, counts.side2);
            ASSERT_EQ(ctx.OppGrid, theirs);
            std::vector<int> legal;
            std::vector<int> edge;
            for (int column = 1; column <= 8; ++column)
                for (int row = 1; row <= 8; ++row) {
                    const int cell = CellIndex(column, row);
                    ASSERT_EQ(ctx.W(cell), expected[cell])
                        << FormatBoard(board) << " side " << int(side) << " at "
                        << test::NameOf(cell);
                    edgeWeights +=
                        expected[cell] > 100 || (expected[cell] == 1 && IsEdgeCell(cell));
                    if (ctx.W(cell) == 0) continue;
                    legal.push_back(cell);
                    if (IsEdgeCell(cell)) edge.push_back(cell);
                }
            if (legal.empty()) {
                if (CountLegalMoves(board, OtherSide(side)) == 0) break;
                side = OtherSide(side);
                continue;
            }
            const auto& from = !edge.empty() && random.Below(2) == 0 ? edge : legal;
            const int cell = from[random.Below(static_cast<std::uint32_t>(from.size()))];
            ApplyMove(board, ColumnOf(cell), RowOf(cell), side);
            side = OtherSide(side);
        }
    }
    // The games must have exercised the edge weights, or the test shows little.
    EXPECT_GT(edgeWeights, 1000);
}

} // namespace
} // namespace dorvane
