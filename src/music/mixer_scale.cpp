#include "music/mixer_scale.h"

#include <algorithm>
#include <cmath>

namespace dorvane {

int MixerPercent(long value, long minimum, long maximum) {
    if (maximum <= minimum) return 0;
    const double range = double(maximum) - double(minimum);
    const double v = std::clamp(double(value), double(minimum), double(maximum)) - double(minimum);
    return int(std::lround(v * 100.0 / range));
}

long MixerRaw(int percent, long minimum, long maximum) {
    if (maximum <= minimum) return minimum;
    const double range = double(maximum) - double(minimum);
    return minimum + std::lround(std::clamp(percent, 0, 100) / 100.0 * range);
}

int LoudestChannelPercent(std::span<const long> channels, long minimum, long maximum) {
    if (channels.empty()) return 0;
    return MixerPercent(*std::max_element(channels.begin(), channels.end()), minimum, maximum);
}

} // namespace dorvane
