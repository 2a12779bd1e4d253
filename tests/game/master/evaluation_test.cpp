#include "master_fixture.h"

#include "game/master/evaluation.h"
#include "game/master/random_positions.h"

#include <gtest/gtest.h>

namespace dorvane::master {
namespace {

TEST(MasterEvaluation, IsTheSameOnEverySymmetryOfTheBoard) {
    std::mt19937_64 random(5);
    for (int i = 0; i < 120; ++i) {
        const TPosition position = RandomPosition(random, 4 + i % 54);
        const int score = Evaluate(position);
        const TBits stable = StableDiscs(position.own, position.opp);
        for (int symmetry = 1; symmetry < 8; ++symmetry) {
            const TPosition turned = test::Transformed(position, symmetry);
            EXPECT_EQ(Evaluate(turned), score) << "position " << i << " symmetry " << symmetry;
            EXPECT_EQ(StableDiscs(turned.own, turned.opp), test::Transformed(stable, symmetry))
                << "position " << i << " symmetry " << symmetry;
        }
    }
}

TEST(MasterEvaluation, StableDiscsAreNeverFlippedInTheRestOfTheGame) {
    std::mt19937_64 random(6);
    for (int i = 0; i < 300; ++i) {
        TPosition position = RandomPosition(random, 2 + i % 30);
        const TBits stableOwn = StableDiscs(position.own, position.opp);
        const TBits stableOpp = StableDiscs(position.opp, position.own);
        // Random play to the end; `mover` tracks whose discs `own` holds.
        bool moverIsFirst = true;
        for (int passes = 0; passes < 2;) {
            TBits moves = position.Moves();
            if (moves == 0) {
                ++passes;
                position = position.Passed();
                moverIsFirst = !moverIsFirst;
                continue;
            }
            passes = 0;
            const int pick = static_cast<int>(random() % std::popcount(moves));
            for (int k = 0; k < pick; ++k)
                moves &= moves - 1;
            const TBits bit = moves & (~moves + 1);
            position = position.After(bit, FlipsOf(bit, position.own, position.opp)).Passed();
            position = position.Passed();
            moverIsFirst = !moverIsFirst;
            const TBits firstDiscs = moverIsFirst ? position.own : position.opp;
            const TBits secondDiscs = moverIsFirst ? position.opp : position.own;
            ASSERT_EQ(firstDiscs & stableOwn, stableOwn) << "position " << i;
            ASSERT_EQ(secondDiscs & stableOpp, stableOpp) << "position " << i;
        }
    }
}

TEST(MasterEvaluation, StableDiscsGrowFromTheCorners) {
    struct TCase {
        const char* name;
        TBits own;
        TBits opp;
        TBits stable;
    };
    // Bit 0 is the corner A8, bit 8 its neighbour B8 on the edge, bit 9 the
    // diagonal neighbour B7, bit 16 C8.
    const TCase cases[] = {
        {"a lone corner", 1ull << 0, 1ull << 9, 1ull << 0},
        {"a corner and the edge cell beside it", (1ull << 0) | (1ull << 8), 1ull << 27,
         (1ull << 0) | (1ull << 8)},
        {"an edge run broken by the opponent", (1ull << 0) | (1ull << 16), 1ull << 8, 1ull << 0},
        {"the diagonal neighbour of a corner alone", (1ull << 0) | (1ull << 9), 1ull << 18,
         1ull << 0},
        {"no corner", 1ull << 8, 1ull << 16, 0},
        {"a full board", 0x00000000ffffffffull, 0xffffffff00000000ull, 0x00000000ffffffffull},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(StableDiscs(c.own, c.opp), c.stable) << c.name;
}

} // namespace
} // namespace dorvane::master
