#include "game/rules.h"
#include "search_fixture.h"

#include <gtest/gtest.h>

namespace dorvane {
namespace {

using test::Cell;
using test::NameOf;
using test::TSearchFixture;

// Every A-square of the board is legal for side 1 with the same weight (each
// flips one second-row disc inward), so the first A-square the edge scan
// reaches is the answer.
constexpr const char* kAllASquares = "--------"
                                     "--2--2--"
                                     "-21--12-"
                                     "--------"
                                     "--------"
                                     "-21--12-"
                                     "--2--2--"
                                     "--------";

TEST(ChooseSimple, EdgeScanOrderFollowsBothDraws) {
    struct {
        int draw2, draw4;
        const char* first;
    } const cases[] = {
        {1, 0, "H3"}, // column 8 rows 6 -> 3 first
        {1, 1, "A3"}, // column 1 rows 6 -> 3
        {1, 2, "F1"}, // row 8 columns 6 -> 3
        {1, 3, "F8"}, // row 1 columns 6 -> 3
        {0, 0, "C8"}, // row 1 columns 3 -> 6
        {0, 1, "C1"}, // row 8 columns 3 -> 6
        {0, 2, "A6"}, // column 1 rows 3 -> 6
        {0, 3, "H6"}, // column 8 rows 3 -> 6
    };
    for (const auto& c : cases) {
        TSearchFixture f(kAllASquares, 1, c.draw2, c.draw4);
        ChooseSimple(f.ctx);
        EXPECT_EQ(NameOf(f.Chosen()), c.first) << "draws " << c.draw2 << "," << c.draw4;
        EXPECT_EQ(f.ctx.Mode, kModeSimple);
    }
}

TEST(ChooseSimple, FullScanTakesTheFirstOfEqualWeightsInTheDrawnOrder) {
    // Four legal cells of weight 1, one per quarter, none on an edge.
    const char* picture = "--------"
                          "--------"
                          "--2--2--"
                          "--1--1--"
                          "--1--1--"
                          "--2--2--"
                          "--------"
                          "--------";
    const char* expected[4] = {"C7", "F7", "C2", "F2"};
    for (int draw4 = 0; draw4 < 4; ++draw4) {
        TSearchFixture f(picture, 1, 0, draw4);
        ChooseSimple(f.ctx);
        EXPECT_EQ(NameOf(f.Chosen()), expected[draw4]) << "draw4 " << draw4;
        EXPECT_EQ(f.ctx.Mode, kModeFullScan);
    }
}

TEST(ChooseSimple, FullScanPrefersTheLargestWeightInEveryOrder) {
    // As above, but F2 flips two discs.
    const char* picture = "--------"
                          "--------"
                          "--2--2--"
                          "--1--1--"
                          "--11-1--"
                          "--2-22--"
                          "--------"
                          "--------";
    for (int draw4 = 0; draw4 < 4; ++draw4) {
        TSearchFixture f(picture, 1, 0, draw4);
        ChooseSimple(f.ctx);
        EXPECT_EQ(NameOf(f.Chosen()), "F2") << "draw4 " << draw4;
        EXPECT_EQ(f.game.MovePriority, 2);
    }
}

TEST(ChooseSimple, CornersComeFirstInTheirOwnOrder) {
    // A1 and H1 are both legal with weight 1; the simple method looks at A1
    // before H1 (unlike the standard corner order), and before any other cell.
    const char* picture = "--------"
                          "--------"
                          "--------"
                          "--------"
                          "--------"
                          "--1--1--"
                          "-2----2-"
                          "--------";
    TSearchFixture f(picture, 1, 0, 3);
    ChooseSimple(f.ctx);
    EXPECT_EQ(NameOf(f.Chosen()), "A1");
}

TEST(ChooseSimple, EdgeScanSkipsAnASquareThatWouldFlipItsXSquare) {
    // C8 is legal only through B7 towards A6: taking it would open A8. The edge
    // scan passes it over; the full scan from column 8 then finds E5 first.
    const char* picture = "--------"
                          "-2------"
                          "1-------"
                          "--------"
                          "----2---"
                          "----1---"
                          "--------"
                          "--------";
    TSearchFixture f(picture, 1, 0, 1);
    ChooseSimple(f.ctx);
    EXPECT_EQ(NameOf(f.Chosen()), "E5");
}

TEST(ChooseSimple, NoLegalCellLeavesNoMove) {
    TSearchFixture f("11111111 11111111 11111111 11111111 11111111 11111111 11111111 1111111-", 0);
    ChooseSimple(f.ctx);
    EXPECT_EQ(f.game.MovePriority, 0);
    EXPECT_EQ(f.game.MoveRow, 0);
}

} // namespace
} // namespace dorvane
