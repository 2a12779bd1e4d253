// Runs the corner and edge rule group on a board picture the way the rule
// cascade does, and checks positions in which one of its steps decides.
#pragma once

#include "game/rules.h"
#include "search_fixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace dorvane::test {

// What the group left in the move register, and the step that put it there.
struct TCornerOutcome {
    int step = 0;
    int cell = 0; // 0 = no proposal
    int priority = 0;
};

inline TCornerOutcome RunCornerRulesOn(const std::string& picture, std::uint8_t side) {
    TSearchFixture fixture(picture, side);
    const int step = RunCornerRules(fixture.ctx);
    return {step, fixture.Chosen(), fixture.game.MovePriority};
}

// The same picture with the discs of the two sides exchanged.
inline std::string SwapColours(std::string picture) {
    for (char& c : picture)
        c = c == '1' ? '2' : c == '2' ? '1' : c;
    return picture;
}

// A position in which one step of the group decides, drawn with side 1 to
// move ('1' the mover, '2' the opponent). move == nullptr: no proposal.
struct TStepCase {
    const char* what;
    const char* board;
    int step;
    const char* move;
};

// Checks the case for side 1 and for the colour-swapped board with side 2 to
// move: the rules know only "mover" and "opponent", never the colours.
inline void ExpectStepDecides(const TStepCase& c) {
    const std::string expected = c.move ? c.move : "--";
    for (const bool swapped : {false, true}) {
        SCOPED_TRACE(std::string(c.what) + (swapped ? " (side 2 to move)" : " (side 1 to move)"));
        const TCornerOutcome got =
            swapped ? RunCornerRulesOn(SwapColours(c.board), 0) : RunCornerRulesOn(c.board, 1);
        EXPECT_EQ(got.step, c.step);
        EXPECT_EQ(NameOf(got.cell), expected);
        EXPECT_EQ(got.priority > 0, c.move != nullptr);
    }
}

} // namespace dorvane::test
