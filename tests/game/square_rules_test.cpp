#include "game/rules.h"
#include "search_fixture.h"

#include <gtest/gtest.h>

namespace dorvane {
namespace {

using test::NameOf;
using test::TSearchFixture;

struct TStepCase {
    const char* rule;
    const char* picture;
    std::uint8_t side;
    int draw4;
    int step; // the step that decides; every earlier step finds nothing
    const char* cell;
};

// The smallest positions in which each step, and no earlier one, decides.
const TStepCase kStepCases[] = {
    {"safe edge move at an A-square",
     "-------- -------- -------- -------- -------- ----1--- ---2---- --------", 1, 0, 1, "C1"},
    {"interior preparation for an A-square",
     "-------- ---1---- -------- ---1---- --2----- -------- -------- --------", 0, 0, 2, "E6"},
    {"safe edge move at a B-square",
     "-------- -------- --2----- -1------ -------- -------- -------- --------", 0, 0, 3, "A4"},
    {"interior preparation for a B-square",
     "-------- ----1--- ----1--- ---2---- -------- -------- -------- --------", 0, 0, 4, "F7"},
    {"interior preparation for a corner behind an opponent X-square",
     "-------- ------2- -----2-- ---12--- -------- -------- -------- --------", 1, 0, 5, "F5"},
    {"second-row push", "-------- -------- --2----- --1----- -------- -------- -------- --------",
     1, 0, 6, "C7"},
    {"corner of the centre's outer ring",
     "-------- -------- -------- ---1---- ----2--- -------- -------- --------", 0, 0, 7, "C6"},
    {"inner-ring move", "-------- -------- -------- ---2---- ---1---- -------- -------- --------",
     1, 0, 8, "D6"},
    {"inner ring, plain", "-------- -------- -------- -------- -----1-- -----2-- -------- --------",
     0, 0, 9, "F5"},
    {"middle of the second row",
     "-------- -------- ---2---- ---1---- -------- -------- -------- --------", 1, 0, 10, "D7"},
    {"C-square that survives the edge test",
     "-------- -------- -------- -------- -------2 -------1 -------- --------", 0, 0, 11, "H2"},
    {"second row, plain", "-------- -------- --1222-- -------- -------- -------- -------- --------",
     1, 0, 12, "G6"},
    {"cautious edge move at an A-square",
     "---2---- --2----- --1----- -------- -------- -------- -------- --------", 1, 0, 13, "C8"},
    {"cautious edge move at a B-square",
     "-------- -------- -------- -------- -------- ------2- -----1-- -----1--", 0, 0, 14, "E1"},
    {"corner-safe A-square",
     "-------- -------- -------- -----121 -----1-2 -------2 -------2 --------", 1, 0, 15, "H6"},
    {"corner-safe B-square",
     "-------- -------- -----2-- ------11 -------- -------- -------2 --------", 0, 0, 16, "H4"},
    {"X-square below a filled diagonal",
     "-------- -------- -----1-- ----1--- ---1---- --1----- --21---- --2-----", 1, 0, 17, "B2"},
    {"X-square between an occupied corner and inner cell",
     "-------- -------- -------- -------- ----22-- ----212- -----2-- -------1", 0, 0, 18, "G2"},
    // The rotated steps start at the edge drawn by Draw4: C8 on the top edge
    // and C1 on the bottom edge are equal safe moves.
    {"rotation from the top edge",
     "-------- ---2---- ----1--- -------- -------- ----1--- ---2---- --------", 1, 0, 1, "C8"},
    {"rotation from the right edge reaches the bottom first",
     "-------- ---2---- ----1--- -------- -------- ----1--- ---2---- --------", 1, 1, 1, "C1"},
    {"rotation from the bottom edge",
     "-------- ---2---- ----1--- -------- -------- ----1--- ---2---- --------", 1, 2, 1, "C1"},
    {"rotation from the left edge wraps to the top",
     "-------- ---2---- ----1--- -------- -------- ----1--- ---2---- --------", 1, 3, 1, "C8"},
};

TEST(SquareRules, EachStepDecidesItsOwnPosition) {
    for (const TStepCase& c : kStepCases) {
        TSearchFixture f(c.picture, c.side, 0, c.draw4);
        EXPECT_EQ(RunSquareRules(f.ctx), c.step) << c.rule;
        EXPECT_EQ(NameOf(f.Chosen()), c.cell) << c.rule;
    }
}

TEST(SquareRules, SafeEdgeMoveRefusesAnUnsupportedEdgeDisc) {
    // C1 sits beside an opponent disc on D1 without flipping along the edge:
    // the safe edge move refuses it, and only the cautious edge move of step 13
    // takes it.
    TSearchFixture f("-------- -------- -------- -------- -------- ----1--- ---2---- ---2----", 1);
    EXPECT_EQ(RunSquareRules(f.ctx), 13);
    EXPECT_EQ(NameOf(f.Chosen()), "C1");
}

TEST(SquareRules, WipeOutVetoRefusesAProposalAndTheStepGoesOn) {
    // C6 (tried first in its step) would let the opponent answer on B6 and
    // take every disc of side 1; C3, tried last in the same step, is safe.
    TSearchFixture f("-------- -------- ---212-- --1----- --22---- -------- -------- --------", 1);
    EXPECT_EQ(RunSquareRules(f.ctx), 7);
    EXPECT_EQ(NameOf(f.Chosen()), "C3");
}

} // namespace
} // namespace dorvane
