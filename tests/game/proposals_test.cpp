#include "game/proposals.h"
#include "search_fixture.h"

#include <gtest/gtest.h>

namespace dorvane {
namespace {

using test::Cell;
using test::NameOf;
using test::TSearchFixture;

// Side 1 owns D5 and C4. C6 would give it C6-E6 and keep C5 flipped... until
// side 2 answers B6 and takes all four. C3 leaves it safe.
constexpr const char* kWipeOut =
    "-------- -------- ---212-- --1----- --22---- -------- -------- --------";

TEST(Propose, WipeOutVetoInRuleModeOnly) {
    TSearchFixture rules(kWipeOut, 1);
    Propose(rules.ctx, Cell("C6"));
    EXPECT_EQ(rules.game.MovePriority, 0);
    Propose(rules.ctx, Cell("C3"));
    EXPECT_EQ(NameOf(rules.Chosen()), "C3");

    TSearchFixture simple(kWipeOut, 1);
    simple.ctx.Mode = kModeSimple;
    Propose(simple.ctx, Cell("C6"));
    EXPECT_EQ(NameOf(simple.Chosen()), "C6");
}

TEST(Propose, RuleModeNeedsAWeightAboveTheBestSoFarOtherModesDoNot) {
    TSearchFixture f(kWipeOut, 1);
    Accept(f.ctx, Cell("C3"));
    f.game.MovePriority = 5;
    Propose(f.ctx, Cell("E7")); // legal, weight 1
    EXPECT_EQ(NameOf(f.Chosen()), "C3");
    f.ctx.Mode = kModeFullScan;
    Propose(f.ctx, Cell("E7"));
    EXPECT_EQ(NameOf(f.Chosen()), "E7");
    EXPECT_EQ(f.game.MovePriority, 1);
}

TEST(XSquareTrap, HoldsOnlyWithOpponentXSquareOwnClosingDiscAndEmptyCorner) {
    // A-square, its X-square, the closing cell on the other edge, the corner.
    const char* const traps[8][4] = {
        {"C8", "B7", "A6", "A8"}, {"F8", "G7", "H6", "H8"}, {"C1", "B2", "A3", "A1"},
        {"F1", "G2", "H3", "H1"}, {"A6", "B7", "C8", "A8"}, {"H6", "G7", "F8", "H8"},
        {"A3", "B2", "C1", "A1"}, {"H3", "G2", "F1", "H1"},
    };
    const std::string empty(64, '-');
    for (const auto& t : traps) {
        TSearchFixture f(empty, 1);
        f.ctx.Board[Cell(t[1])] = 2;
        f.ctx.Board[Cell(t[2])] = 1;
        EXPECT_TRUE(XSquareTrap(f.ctx, Cell(t[0]))) << t[0];
        f.ctx.Board[Cell(t[3])] = 2;
        EXPECT_FALSE(XSquareTrap(f.ctx, Cell(t[0]))) << t[0] << " with the corner taken";
        f.ctx.Board[Cell(t[3])] = 0;
        f.ctx.Board[Cell(t[2])] = 2;
        EXPECT_FALSE(XSquareTrap(f.ctx, Cell(t[0]))) << t[0] << " closed by the opponent";
    }
    TSearchFixture f(empty, 1);
    EXPECT_FALSE(XSquareTrap(f.ctx, Cell("D8"))) << "a B-square is never trapped";
}

TEST(TryCornerSafe, RefusesAMoveThatOpensACorner) {
    // B7 for side 1 flips C6 and D5, after which side 2 could take A8 across
    // the whole diagonal up to F3. H1 keeps side 1 alive through that answer.
    TSearchFixture f("-------- -------- --2----- ---2---- ----1--- -----2-- -------- -------1", 1);
    ASSERT_NE(f.ctx.W(Cell("B7")), 0);
    TryCornerSafe(f.ctx, Cell("B7"));
    EXPECT_EQ(f.game.MovePriority, 0);
    TryPlain(f.ctx, Cell("B7"));
    EXPECT_EQ(NameOf(f.Chosen()), "B7");
}

TEST(TryEdgeSafe, ReplyOnTheOppositeEdgeCounts) {
    // E8 opens no corner by itself. Side 2's answer E1, on the other end of
    // column E, flips B4..D2 and opens A1, and side 1 has no edge move that
    // closes it again.
    TSearchFixture f("-------- ---2---- --2----- 21------ -1------ --1----- -1-1---- --------", 1);
    TryCornerSafe(f.ctx, Cell("E8"));
    ASSERT_EQ(NameOf(f.Chosen()), "E8");
    f.game.ClearMoveRegister();
    TryEdgeSafe(f.ctx, Cell("E8"));
    EXPECT_EQ(f.game.MovePriority, 0);
}

TEST(TryEdgeSafe, TheLastVerdictStandsEvenAfterAGoodRemedy) {
    // After G1, side 2's answer F1 opens H1. Side 1's answer H3 holds against
    // every follow-up, but the answer tried after it, E1, fails against D1,
    // and that failure is the flag's final value: G1 is refused.
    TSearchFixture f("-------- -------- -------- --1----- ---2---- ----222- ----121- --------", 1);
    TryCornerSafe(f.ctx, Cell("G1"));
    ASSERT_EQ(NameOf(f.Chosen()), "G1");
    f.game.ClearMoveRegister();
    TryEdgeSafe(f.ctx, Cell("G1"));
    EXPECT_EQ(f.game.MovePriority, 0);
}

} // namespace
} // namespace dorvane
