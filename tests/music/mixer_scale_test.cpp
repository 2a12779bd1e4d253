// The mixer's numbers without a sound card: a control's raw range to 0..100
// and back, and the loudest channel as a line's volume.
#include "music/mixer_scale.h"

#include <gtest/gtest.h>

#include <vector>

namespace dorvane {
namespace {

struct TScaleCase {
    long value, minimum, maximum;
    int percent;
};

TEST(MixerScale, RawToPercent) {
    const TScaleCase cases[] = {
        {0, 0, 65535, 0},       {65535, 0, 65535, 100}, {32768, 0, 65535, 50}, {655, 0, 65535, 1},
        {327, 0, 65535, 0},     {0, 0, 87, 0},          {44, 0, 87, 51},       {-30, -60, 0, 50},
        {70000, 0, 65535, 100}, {-5, 0, 65535, 0},      {10, 10, 10, 0},       {5, 10, 0, 0},
    };
    for (const TScaleCase& c : cases)
        EXPECT_EQ(MixerPercent(c.value, c.minimum, c.maximum), c.percent)
            << c.value << " in " << c.minimum << ".." << c.maximum;
}

TEST(MixerScale, PercentToRaw) {
    const TScaleCase cases[] = {
        {0, 0, 65535, 0},       {65535, 0, 65535, 100}, {32768, 0, 65535, 50},
        {44, 0, 87, 51},        {-60, -60, 0, 0},       {-30, -60, 0, 50},
        {65535, 0, 65535, 250}, {0, 0, 65535, -3},      {10, 10, 10, 70},
    };
    for (const TScaleCase& c : cases)
        EXPECT_EQ(MixerRaw(c.percent, c.minimum, c.maximum), c.value)
            << c.percent << "% of " << c.minimum << ".." << c.maximum;
}

TEST(MixerScale, EveryPercentSurvivesTheRoundTrip) {
    for (const long maximum : {31L, 87L, 100L, 127L, 65535L})
        for (int p = 0; p <= 100; ++p) {
            // A range smaller than 100 steps cannot keep every percent; the
            // nearest raw step must come back within one step's width.
            const int back = MixerPercent(MixerRaw(p, 0, maximum), 0, maximum);
            EXPECT_LE(std::abs(back - p), maximum >= 100 ? 0 : int(50 / maximum) + 1)
                << p << "% of " << maximum;
        }
}

TEST(MixerScale, TheLoudestChannelIsTheVolume) {
    const std::vector<long> balanced = {16000, 49000};
    EXPECT_EQ(LoudestChannelPercent(balanced, 0, 65535), 75);
    const std::vector<long> one = {0};
    EXPECT_EQ(LoudestChannelPercent(one, 0, 65535), 0);
    EXPECT_EQ(LoudestChannelPercent({}, 0, 65535), 0);
    const std::vector<long> surround = {10, 87, 3, 40, 40, 0};
    EXPECT_EQ(LoudestChannelPercent(surround, 0, 87), 100);
}

} // namespace
} // namespace dorvane
