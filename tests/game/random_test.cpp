#include "game/random.h"

#include <gtest/gtest.h>

#include <array>

namespace dorvane {
namespace {

TEST(Random, SeedReplaysTheSequenceAndDrawsStayInRange) {
    TRandom a(42), b(42), c(43);
    bool differs = false;
    std::array<int, 4> seen{};
    for (int i = 0; i < 4000; ++i) {
        const std::uint32_t x = a.Below(4);
        EXPECT_EQ(x, b.Below(4));
        differs |= x != c.Below(4);
        ASSERT_LT(x, 4u);
        ++seen[x];
    }
    EXPECT_TRUE(differs);
    for (int n : seen) // each value near 1000; a stuck or biased source fails
        EXPECT_GT(n, 850);
    EXPECT_EQ(a.Below(1), 0u);
}

TEST(Random, ScriptedSourceHandsOutItsValuesThenZero) {
    TScriptedRandom s;
    s.Push(1);
    s.Push(7);
    EXPECT_EQ(s.Below(2), 1u);
    EXPECT_EQ(s.Below(4), 3u); // taken modulo the bound
    EXPECT_TRUE(s.Exhausted());
    EXPECT_EQ(s.Below(4), 0u);
}

} // namespace
} // namespace dorvane
