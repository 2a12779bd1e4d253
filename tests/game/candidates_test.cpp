#include "game/search_context.h"
#include "search_fixture.h"

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

} // namespace
} // namespace dorvane
