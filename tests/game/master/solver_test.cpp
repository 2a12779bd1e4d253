#include "master_fixture.h"

#include "game/master/random_positions.h"
#include "game/master/search.h"

#include <gtest/gtest.h>

namespace dorvane::master {
namespace {

#ifndef DORVANE_MASTER_SAMPLE_EVERY
#define DORVANE_MASTER_SAMPLE_EVERY 1
#endif
// Under the sanitizers and in Debug builds every this-many-th position is tried.
constexpr int kSampleEvery = DORVANE_MASTER_SAMPLE_EVERY;

TEST(MasterSolver, EqualsAPlainMinimaxOnPositionsWithTenToTwelveEmpties) {
    std::mt19937_64 random(20261211);
    TMasterSearch search(16);
    // Most with ten: a plain minimax of twelve takes seconds.
    for (int i = 0; i < 200; ++i) {
        const int empties = i % 40 == 39 ? 12 : i % 20 == 9 ? 11 : 10;
        const TPosition position = RandomPosition(random, empties);
        if (i % kSampleEvery != 0) continue;
        const int expected = test::PlainMinimax(position.own, position.opp);
        EXPECT_EQ(search.Solve(position), expected) << "position " << i;
        // The timed search solves these too, and says so.
        const TSearchResult result = search.Search(position);
        EXPECT_TRUE(result.exact) << "position " << i;
        EXPECT_EQ(result.score, expected * kDisc) << "position " << i;
    }
}

TEST(MasterSolver, TheChosenMoveKeepsTheExactValueWithFourteenToTwentyEmpties) {
    std::mt19937_64 random(4242);
    TMasterSearch search;
    TMasterSearch reference;
    // Most with fourteen, every tenth with sixteen to twenty: a solve of
    // twenty takes seconds here.
    for (int i = 0; i < 200; ++i) {
        const int empties = i % 10 == 9 ? 16 + i / 10 % 5 : 14;
        const TPosition position = RandomPosition(random, empties);
        if (i % kSampleEvery != 0) continue;
        // The search without a budget solves, as the timed one does when
        // the empties allow.
        const TSearchResult result = search.Search(position, TLimits{.seconds = 0});
        const int value = i % 4 == 0 ? reference.Solve(position) : result.score / kDisc;
        ASSERT_GE(result.move, 0);
        const TBits bit = TBits{1} << result.move;
        ASSERT_NE(position.Moves() & bit, 0u) << "position " << i;
        const TPosition child = position.After(bit, FlipsOf(bit, position.own, position.opp));
        EXPECT_EQ(-reference.Solve(child), value) << "position " << i;
        EXPECT_TRUE(result.exact) << "position " << i;
        EXPECT_EQ(result.score, value * kDisc) << "position " << i;
    }
}

TEST(MasterSolver, ASolvedPositionGetsTheSameMoveWhateverCameBefore) {
    std::mt19937_64 random(77);
    TMasterSearch search;
    for (int i = 0; i < 10; ++i) {
        const TPosition position = RandomPosition(random, 14);
        const TSearchResult first = search.Search(position);
        search.Search(RandomPosition(random, 30), TLimits{.seconds = 0.05});
        const TSearchResult again = search.Search(position);
        ASSERT_TRUE(first.exact);
        EXPECT_EQ(again.move, first.move) << "position " << i;
        EXPECT_EQ(again.score, first.score) << "position " << i;
    }
}

// The exact value of every move, for the hints and the analysis.
TEST(MasterSolver, RanksEveryMoveByItsExactValue) {
    std::mt19937_64 random(99);
    TMasterSearch search;
    TMasterSearch reference;
    for (int i = 0; i < 20; ++i) {
        const TPosition position = RandomPosition(random, 11 + i % 3);
        const TSearchResult result = search.Search(position, TLimits{.rankAll = true});
        ASSERT_TRUE(result.exact);
        ASSERT_EQ(static_cast<int>(result.ranked.size()), std::popcount(position.Moves()));
        EXPECT_EQ(result.ranked.front().move, result.move);
        for (const TMoveScore& scored : result.ranked) {
            const TBits bit = TBits{1} << scored.move;
            const TPosition child = position.After(bit, FlipsOf(bit, position.own, position.opp));
            EXPECT_EQ(scored.score, -reference.Solve(child) * kDisc)
                << "position " << i << " move " << scored.move;
        }
    }
}

} // namespace
} // namespace dorvane::master
