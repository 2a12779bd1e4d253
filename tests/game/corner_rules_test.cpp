#include "corner_rules_fixture.h"

#include <gtest/gtest.h>

namespace dorvane {
namespace {

using test::ExpectStepDecides;
using test::NameOf;
using test::RunCornerRulesOn;
using test::SwapColours;
using test::TStepCase;

// A move that takes every opponent disc comes before anything else, even
// before a corner (A8 is legal here and flips B7 only).
const TStepCase kWipeOut = {"C7 takes both opponent discs",
                            "........"
                            "12.21..."
                            "..1....."
                            "........"
                            "........"
                            "........"
                            "........"
                            "........",
                            1, "C7"};

TEST(CornerRulesTest, WipeOutComesFirst) {
    ExpectStepDecides(kWipeOut);
}

// Two cells left: after A8 the opponent answers at H8 and turns two discs
// back, after H8 he answers at A8 and turns one. A tie goes to the first move
// in column order. With one cell more empty the rule is silent and the corner
// with both C-squares taken is played.
const TStepCase kLastTwoCells[] = {
    {"62 discs: the move that leaves the mover more after the reply",
     ".211112."
     "11111111"
     "21111111"
     "11111112"
     "11211111"
     "11111111"
     "11111111"
     "11111111",
     2, "H8"},
    {"62 discs, both moves leave as many: the first in column order (A1 before H8)",
     "1111112."
     "11111111"
     "11111112"
     "11111111"
     "11211111"
     "21111111"
     "11111111"
     ".2111111",
     2, "A1"},
    {"61 discs: not yet the last two cells",
     ".211112."
     "11111111"
     "21111.11"
     "11111112"
     "11211111"
     "11111111"
     "11111111"
     "11111111",
     6, "A8"},
};

TEST(CornerRulesTest, LastTwoCellsOnlyAtSixtyTwoDiscs) {
    for (const TStepCase& c : kLastTwoCells)
        ExpectStepDecides(c);
}

// An opponent corner with five of his discs on its edge and the far corner
// free: the gap is filled once more than half the board is taken.
const TStepCase kNearlyFullEdge[] = {
    {"33 discs: the nearly full edge",
     "2222.22."
     "....2..."
     ".111111."
     ".111111."
     ".111111."
     ".111111."
     "...11..."
     "........",
     11, "E8"},
    {"32 discs: too early; the opponent run from the free corner decides",
     "2222.22."
     "....2..."
     ".111111."
     ".111111."
     ".111111."
     ".111111."
     "...1...."
     "........",
     20, "E8"},
    {"33 discs, but the gap is at L5: only L1..L4 are filled",
     "22222.2."
     ".....2.."
     ".111111."
     ".111111."
     ".111111."
     ".111111."
     "...11..."
     "........",
     20, "F8"},
};

TEST(CornerRulesTest, NearlyFullEdgeOnlyAboveThirtyTwoDiscs) {
    for (const TStepCase& c : kNearlyFullEdge)
        ExpectStepDecides(c);
}

// Two nearly full edges with equal W: the one whose corner holds a disc of
// side 2 is looked at first, whoever moves, even though its corner (H1) comes
// after A8 in the corner order.
TEST(CornerRulesTest, NearlyFullEdgeLooksAtSideTwoCornersFirst) {
    const char* board = "111.111."
                        "...2...2"
                        "..1111.2"
                        "..1111.2"
                        "..1111.2"
                        "..111122"
                        "..111..."
                        ".......2";
    const auto forSide1 = RunCornerRulesOn(board, 1);
    EXPECT_EQ(forSide1.step, 11);
    EXPECT_EQ(NameOf(forSide1.cell), "H2");
    const auto forSide2 = RunCornerRulesOn(SwapColours(board), 0);
    EXPECT_EQ(forSide2.step, 11);
    EXPECT_EQ(NameOf(forSide2.cell), "D8");
}

// The steps that fight over the corners themselves, the corner decision and
// the corner set-up among them.
const TStepCase kCornerFights[] = {
    {"an opponent corner with both A-squares: the middle of the edge",
     "2.2...2."
     ".2..2..."
     ".1..1..."
     "........"
     "....2..."
     "........"
     "........"
     "........",
     3, "E8"},
    {"an opponent corner, own run at L4 and L5: the C-square",
     "2.21112."
     "........"
     "........"
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     3, "B8"},
    {"the far corner within the opponent's reach: no break-in; shut him out of it instead",
     "2.2...2."
     ".2..2..1"
     ".1..1..2"
     "........"
     "....2..."
     "........"
     "........"
     "........",
     9, "H5"},
    {"a free corner, opponent on its C-square and at L5: fill beside him",
     ".2...2.."
     "..2....."
     "..1....."
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     4, "C8"},
    {"a free corner, opponent on C- and A-square and at L6",
     ".2...22."
     "....2..."
     "....1..."
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     5, "E8"},
    {"a corner whose C-squares are both taken",
     ".21....."
     "2......."
     "1......."
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     6, "A8"},
    {"the corner turns an opponent run that ends on an own disc",
     "..1111.."
     "21......"
     "22......"
     "2......."
     "1..12..."
     "...21..."
     "........"
     "........",
     6, "A8"},
    {"an own run the opponent can attack: the corner stays, though it has the highest W",
     "..111121"
     "2......."
     "1......."
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     30, "F5"},
    {"the run at A8 holds that corner back, but A1 decides for itself",
     "..111121"
     "2......."
     "2......."
     "1..12..."
     "...21..."
     "1......."
     "2......."
     "........",
     6, "A1"},
    {"one C-square empty before an own A-square and it stays closed: the corner",
     ".1......"
     ".2......"
     "1.1....."
     "1......."
     "1..12..."
     "1..21..."
     "1......."
     "1.......",
     6, "A8"},
    {"the corner would open that C-square to the opponent: it waits; the last ring around A1 "
     "decides",
     ".1......"
     ".22....."
     "1.1....."
     "1......."
     "1..12..."
     "1..21..."
     "1......."
     "1.......",
     19, "F4"},
    {"set-up acted on an own run: the corner waits",
     "..11111."
     ".21....."
     ".11....."
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     0, nullptr},
    {"the same run closed by the opponent's far corner: the corner is taken",
     "..111112"
     ".21....."
     ".11....."
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     6, "A8"},
    {"own discs around both empty C-squares: the corner waits",
     "..111112"
     ".21....."
     "111....."
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     0, nullptr},
    {"opponent next to a free corner: the cell at L4",
     ".2......"
     "....2..."
     "....1..."
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     7, "E8"},
    {"both corners within the opponent's reach: the larger W wins",
     ".122221."
     ".2....2."
     "2.1..2.2"
     "2...1..2"
     "........"
     "........"
     "........"
     "........",
     8, "H8"},
    {"both corners within the opponent's reach, equal W: the first corner",
     ".122221."
     ".2....2."
     "2.1..1.2"
     "2...1..2"
     "........"
     "........"
     "........"
     "........",
     8, "A8"},
    {"shut the opponent out of the corner he could take",
     "........"
     ".1......"
     "..2....."
     "..1....."
     "...12..."
     "...21..."
     "........"
     "........",
     9, "C7"},
    {"an edge between opponent corners with one gap",
     "211.1112"
     "...2...."
     "...1...."
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     10, "D8"},
};

TEST(CornerRulesTest, CornerStepsDecideTheirPositions) {
    for (const TStepCase& c : kCornerFights)
        ExpectStepDecides(c);
}

} // namespace
} // namespace dorvane
