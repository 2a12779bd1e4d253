#include "game/perft.h"
#include "game/position_text.h"
#include "test_boards.h"

#include <gtest/gtest.h>

namespace dorvane {
namespace {

TEST(Perft, MatchesThePublishedCountsFromTheStart) {
    const TPosition start = StandardStartPosition();
    const std::uint64_t expected[] = {4, 12, 56, 244, 1396, 8200};
    for (int depth = 1; depth <= 6; ++depth)
        EXPECT_EQ(Perft(start.board, start.sideToMove, depth), expected[depth - 1])
            << "depth " << depth;
}

TEST(Perft, APassIsAPlyAndTwoPassesEndTheGame) {
    // Side 1 cannot close anything; side 2 answers the pass with D8, which
    // wipes out side 1 and ends the game.
    const TPosition position = test::PositionOf("211-----"
                                                "--------"
                                                "--------"
                                                "--------"
                                                "--------"
                                                "--------"
                                                "--------"
                                                "-------- 1");
    EXPECT_EQ(Perft(position.board, 1, 1), 1u); // the pass
    EXPECT_EQ(Perft(position.board, 1, 2), 1u); // the pass, then D8
    EXPECT_EQ(Perft(position.board, 1, 3), 0u); // the game is over before ply 3
}

} // namespace
} // namespace dorvane
