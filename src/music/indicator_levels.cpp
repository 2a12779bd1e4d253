#include "music/indicator_levels.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace dorvane {

namespace {

// The header holds the maximum and then the minimum of each channel.
int Level(const TWaveSnapshot& snapshot, std::size_t channel) {
    const int maximum = snapshot[2 * channel];
    const int minimum = snapshot[2 * channel + 1];
    const int peak = std::max(std::abs(maximum - 128), std::abs(minimum - 128));
    return int(std::sqrt(peak / 128.0) * 128);
}

} // namespace

TIndicatorLevels IndicatorLevels(const TWaveSnapshot& snapshot) {
    return {Level(snapshot, 0), Level(snapshot, 1)};
}

} // namespace dorvane
