#include "master_fixture.h"

#include "game/master/random_positions.h"
#include "game/master/search.h"

#include <gtest/gtest.h>

#include <thread>

namespace dorvane::master {
namespace {

// Without the solver the midgame search deepens to the end of the game by
// itself; its score must then be the solver's.
TEST(MasterSearch, TheMidgameSearchPlayedToTheEndAgreesWithTheSolver) {
    std::mt19937_64 random(11);
    TMasterSearch search(16);
    TMasterSearch reference(16);
    for (int i = 0; i < 40; ++i) {
        const TPosition position = RandomPosition(random, 7 + i % 4);
        const int value = reference.Solve(position);
        for (const bool rankAll : {false, true}) {
            const TSearchResult result = search.Search(
                position, TLimits{.seconds = 0, .solveEmpties = 0, .rankAll = rankAll});
            ASSERT_TRUE(result.exact) << "position " << i;
            EXPECT_EQ(result.score, value * kDisc) << "position " << i;
            const TBits bit = TBits{1} << result.move;
            const TPosition child = position.After(bit, FlipsOf(bit, position.own, position.opp));
            EXPECT_EQ(-reference.Solve(child), value) << "position " << i;
        }
    }
}

TEST(MasterSearch, TheCancelFlagEndsASearchWithALegalMove) {
    std::mt19937_64 random(12);
    const TPosition position = RandomPosition(random, 40);
    TMasterSearch search;
    std::atomic<bool> cancel{false};
    std::thread canceller([&cancel] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        cancel = true;
    });
    // No budget: only the flag can end a search of sixty plies.
    const TSearchResult result = search.Search(position, TLimits{.seconds = 0, .cancel = &cancel});
    canceller.join();
    EXPECT_TRUE(result.stopped);
    ASSERT_GE(result.move, 0);
    EXPECT_NE(position.Moves() & (TBits{1} << result.move), 0u);
}

TEST(MasterSearch, ASideWithoutAMoveGetsNone) {
    // The mover has lost every disc.
    const TPosition position{0, (1ull << 8) | (1ull << 1)};
    ASSERT_EQ(position.Moves(), 0u);
    EXPECT_EQ(TMasterSearch(10).Search(position).move, -1);
}

TEST(MasterSearch, AMidgameSearchWithinItsBudgetPlaysALegalMove) {
    std::mt19937_64 random(13);
    TMasterSearch search;
    for (int i = 0; i < 6; ++i) {
        const TPosition position = RandomPosition(random, 50 - 5 * i);
        const TSearchResult result = search.Search(position, TLimits{.seconds = 0.05});
        ASSERT_GE(result.move, 0);
        EXPECT_NE(position.Moves() & (TBits{1} << result.move), 0u);
        EXPECT_GE(result.depth, 1);
        EXPECT_LT(std::abs(result.score), kMostScore);
    }
}

} // namespace
} // namespace dorvane::master
