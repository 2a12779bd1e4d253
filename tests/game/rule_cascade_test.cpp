#include "game/proposals.h"
#include "game/rules.h"
#include "search_fixture.h"

#include <gtest/gtest.h>

namespace dorvane {
namespace {

using test::Cell;
using test::NameOf;
using test::TSearchFixture;

struct TCascadeCase {
    const char* rule;
    const char* picture;
    std::uint8_t side;
    int draw4;
    const char* squareRulesCell; // what the square rules propose, "--" for nothing
    const char* chosen;          // what the whole cascade plays
};

// In each position the corner patterns find nothing, so the later stages of
// the cascade decide.
const TCascadeCase kCascadeCases[] = {
    // The square rules' push G3 would let side 2 take H1 with three discs
    // instead of one; the corner preparation plays A7 instead, after which
    // side 1 can take A1 along the column.
    {"give-away check hands over to the corner preparation",
     "-------- -------- 22------ 2-22---- 2--21--- 2---12-- 2-----1- --------", 1, 0, "G3", "A7"},
    // The square rules' C7 opens A8 to the opponent, but no move prepares a
    // free corner: the register keeps C7.
    {"failed corner preparation keeps the square rules' move",
     "--1----- 12------ --2----- -------- -------- -------- -------- --------", 1, 0, "C7", "C7"},
    {"corner preparation when the square rules find nothing",
     "-22222-- -----2-- --1-2--- 2221---- 2-2----- -22----- 2-1----- --------", 1, 0, "--", "G8"},
    {"the simple method as the last resort",
     "------1- -------- -------- -------- ------2- ------1- -------- --------", 0, 1, "--", "G2"},
};

TEST(ChooseByRules, LaterStagesDecideWhenTheCornerPatternsFindNothing) {
    for (const TCascadeCase& c : kCascadeCases) {
        TSearchFixture groups(c.picture, c.side, 0, c.draw4);
        ASSERT_EQ(RunCornerRules(groups.ctx), 0) << c.rule;
        RunSquareRules(groups.ctx);
        EXPECT_EQ(NameOf(groups.Chosen()), c.squareRulesCell) << c.rule;

        TSearchFixture cascade(c.picture, c.side, 0, c.draw4);
        ChooseByRules(cascade.ctx);
        EXPECT_EQ(NameOf(cascade.Chosen()), c.chosen) << c.rule;
    }
}

TEST(ChooseByRules, CornerPreparationKeepsTheRegisterWhenItFindsNothing) {
    TSearchFixture f("--1----- 12------ --2----- -------- -------- -------- -------- --------", 1);
    Accept(f.ctx, Cell("C7"));
    const int weight = f.game.MovePriority;
    CornerPreparation(f.ctx);
    EXPECT_EQ(NameOf(f.Chosen()), "C7");
    EXPECT_EQ(f.game.MovePriority, weight);
}

TEST(ChooseByRules, NoLegalCellLeavesNoMove) {
    TSearchFixture f("11111111 11111111 11111111 11111111 11111111 11111111 11111111 1111111-", 0);
    ChooseByRules(f.ctx);
    EXPECT_EQ(f.game.MovePriority, 0);
    EXPECT_EQ(f.game.MoveColumn, 0);
    EXPECT_EQ(f.game.MoveRow, 0);
}

} // namespace
} // namespace dorvane
