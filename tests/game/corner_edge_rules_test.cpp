#include "corner_rules_fixture.h"
#include "game/corner_rules_internal.h"

#include <gtest/gtest.h>

#include <string>

namespace dorvane {
namespace {

using test::ExpectStepDecides;
using test::NameOf;
using test::TSearchFixture;
using test::TStepCase;

// Boards shared by the whole-group tables and the single-step checks below.
constexpr const char* kLastGapBoard = "122.2222"
                                      "........"
                                      "........"
                                      "...12..."
                                      "...21..."
                                      "........"
                                      "........"
                                      "........";
constexpr const char* kXSquareBoard = "12......"
                                      "2......."
                                      "..2....."
                                      "...12..."
                                      "...21..."
                                      "........"
                                      "........"
                                      "........";
constexpr const char* kRunBoard = "1122...."
                                  "........"
                                  "........"
                                  "...12..."
                                  "...21..."
                                  "........"
                                  "........"
                                  "........";
constexpr const char* kReachBoard = "1......."
                                    "........"
                                    ".2......"
                                    "...21..."
                                    "...12..."
                                    "........"
                                    "........"
                                    "........";
constexpr const char* kDefendBoard = "1.11111."
                                     ".1......"
                                     ".2......"
                                     "........"
                                     "....2..."
                                     "....1..."
                                     "........"
                                     "........";
constexpr const char* kBlockBoard = "1......."
                                    "........"
                                    "........"
                                    "........"
                                    ".....21."
                                    "........"
                                    "....2..."
                                    "........";

// Moves along an edge judged by the discs around them.
const TStepCase kEdgePatterns[] = {
    {"[M.TXXXX?]",
     "1..2222."
     "..2....."
     "..1....."
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     12, "C8"},
    {"[M.MTXXX.]",
     "1.1.222."
     "...2...."
     "...1...."
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     13, "D8"},
    {"[?+M.TXX?]",
     "..1..22."
     "....2..."
     "....1..."
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     14, "E8"},
    {"[+MMM.TX?]",
     ".111..21"
     ".....2.."
     ".....1.."
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     15, "F8"},
    {"the last gap on an own corner's edge", kLastGapBoard, 16, "D8"},
    {"opponent discs at L2 and L5 around an own L4",
     "..2.12.."
     "...2...."
     "...1...."
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     24, "D8"},
    {"own discs at L2 and L5 around an opponent L4",
     "..1.21.."
     "........"
     "........"
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     25, "D8"},
    {"beside an own A-square next to an empty corner",
     "..1....."
     "...2...."
     "...1...."
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     26, "D8"},
    {"an open edge: L4 behind an own A-square",
     "..1....."
     "....2..."
     "....1..."
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     27, "E8"},
    {"the C-square in front of an opponent disc backed by an own one",
     "..21...."
     "........"
     "........"
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     28, "B8"},
    {"the same C-square while the opponent holds the X-square of its empty corner",
     "..21...."
     ".2......"
     "........"
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     0, nullptr},
    {"[..M.MTX.]",
     "..1.1.2."
     ".....2.."
     ".....1.."
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     29, "F8"},
};

TEST(CornerRulesTest, EdgePatternsDecideTheirPositions) {
    for (const TStepCase& c : kEdgePatterns)
        ExpectStepDecides(c);
}

// Building out from an own corner, and answering the opponent's corner threats.
const TStepCase kOwnCornerSteps[] = {
    {"the X-square behind two taken C-squares", kXSquareBoard, 17, "B7"},
    {"beside a taken X-square behind own C- and A-squares",
     "111....."
     "12......"
     "1......."
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     17, "C7"},
    {"the second diagonal cell once the cells around it are taken",
     "111....."
     "122....."
     "12......"
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     17, "C6"},
    {"along the second row past three opponent discs, his disc beside the X-square",
     "1111...."
     "1222...."
     "121....."
     ".1......"
     "........"
     "....2..."
     "........"
     "........",
     17, "E7"},
    {"the fifth cell of the second row behind a full own block",
     "11111..."
     "11222..."
     "1111...."
     "........"
     "....2..."
     "........"
     "........"
     "........",
     17, "F7"},
    {"the gap after an own run and the opponent discs beyond it", kRunBoard, 18, "E8"},
    {"work towards the C-square the mover cannot reach yet", kReachBoard, 19, "C5"},
    {"an opponent run from a free corner's C-square",
     "....2.2."
     ".....2.."
     ".....1.."
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     20, "F8"},
    {"an opponent run of four from a free corner's C-square",
     "22.2222."
     "..2....1"
     "..1....2"
     "...12..2"
     "...21..2"
     ".......2"
     ".......2"
     ".......2",
     20, "C8"},
    {"the C-square before an opponent corner with his disc behind it",
     "2.2....."
     ".2......"
     ".1......"
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     21, "B8"},
    {"the C-square before an opponent corner with an own run to L6 behind it",
     "2.11111."
     ".2......"
     ".1......"
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     21, "B8"},
    {"an interior move that opens a corner",
     "........"
     ".2......"
     "...21..."
     "...12..."
     "...21..."
     "........"
     "........"
     "........",
     22, "C6"},
    {"take the C-square from which the opponent attacks an own run", kDefendBoard, 23, "B5"},
    {"the block behind the own corner", kBlockBoard, 30, "E4"},
    {"the block behind the own corner, column by column",
     "1......."
     "...21..."
     "........"
     "..21...."
     "........"
     "........"
     "....2..."
     "........",
     30, "B5"},
};

TEST(CornerRulesTest, OwnCornerStepsDecideTheirPositions) {
    for (const TStepCase& c : kOwnCornerSteps)
        ExpectStepDecides(c);
}

// The steps that start from an own corner, run on their own: each proposes on
// its board, and finds nothing once no corner holds a mover's disc, whether
// the corner is then empty or the opponent's.
struct TOwnCornerCase {
    const char* what;
    void (*step)(TSearchContext&);
    const char* board;
    const char* move;
};

const TOwnCornerCase kFromOwnCorner[] = {
    {"LastGapOnOwnEdge", corner_rules::LastGapOnOwnEdge, kLastGapBoard, "D8"},
    {"OwnCornerDiagonalBlock", corner_rules::OwnCornerDiagonalBlock, kXSquareBoard, "B7"},
    {"RunAlongOwnEdge", corner_rules::RunAlongOwnEdge, kRunBoard, "E8"},
    {"ReachFromOwnCorner", corner_rules::ReachFromOwnCorner, kReachBoard, "C5"},
    {"DefendOwnEdge", corner_rules::DefendOwnEdge, kDefendBoard, "B5"},
    {"BlockBehindOwnCorner", corner_rules::BlockBehindOwnCorner, kBlockBoard, "E4"},
};

// The picture with every corner that holds a '1' set to the given cell.
std::string WithMoverCorners(std::string picture, char replacement) {
    for (int corner : {0, 7, 56, 63})
        if (picture[corner] == '1') picture[corner] = replacement;
    return picture;
}

TEST(CornerRulesTest, OwnCornerStepsNeedAnOwnCorner) {
    for (const TOwnCornerCase& c : kFromOwnCorner) {
        SCOPED_TRACE(c.what);
        TSearchFixture withCorner(c.board, 1);
        c.step(withCorner.ctx);
        EXPECT_EQ(NameOf(withCorner.Chosen()), c.move);
        for (const char replacement : {'.', '2'}) {
            TSearchFixture without(WithMoverCorners(c.board, replacement), 1);
            c.step(without.ctx);
            EXPECT_EQ(without.game.MovePriority, 0) << "corner set to " << replacement;
        }
    }
}

} // namespace
} // namespace dorvane
