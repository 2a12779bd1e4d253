// The level meter's two levels from the header of a wave snapshot.
#include "music/indicator_levels.h"

#include <gtest/gtest.h>

namespace dorvane::test {
namespace {

TWaveSnapshot Snapshot(std::uint8_t max0, std::uint8_t min0, std::uint8_t max1, std::uint8_t min1) {
    TWaveSnapshot snapshot;
    snapshot.fill(128);
    snapshot[0] = max0;
    snapshot[1] = min0;
    snapshot[2] = max1;
    snapshot[3] = min1;
    return snapshot;
}

struct TLevelCase {
    std::uint8_t max0, min0, max1, min1;
    TIndicatorLevels levels;
};

class IndicatorLevelsTest : public testing::TestWithParam<TLevelCase> {};

TEST_P(IndicatorLevelsTest, RootOfThePeakShare) {
    const TLevelCase& c = GetParam();
    EXPECT_EQ(IndicatorLevels(Snapshot(c.max0, c.min0, c.max1, c.min1)), c.levels);
}

INSTANTIATE_TEST_SUITE_P(
    Snapshots, IndicatorLevelsTest,
    testing::Values(
        // Silence, and full scale through the minimum (0 is 128 below silence).
        TLevelCase{128, 128, 128, 128, {0, 0}}, TLevelCase{255, 0, 200, 100, {128, 96}},
        // 127 above silence: the root of 127/128 is 127.5 of 128, cut to 127.
        TLevelCase{255, 128, 128, 128, {127, 0}},
        // A quarter of full scale shows as half; 1/64 as an eighth.
        TLevelCase{160, 128, 128, 126, {64, 16}},
        // The larger side counts, whichever it is; a hum of one step is 11.
        TLevelCase{140, 64, 129, 127, {90, 11}}));

TEST(IndicatorLevels, TheColumnsDoNotCount) {
    TWaveSnapshot snapshot = Snapshot(130, 126, 128, 128);
    for (std::size_t k = 4; k < snapshot.size(); ++k)
        snapshot[k] = k % 2 ? 0 : 255;
    EXPECT_EQ(IndicatorLevels(snapshot), (TIndicatorLevels{16, 0}));
}

} // namespace
} // namespace dorvane::test
