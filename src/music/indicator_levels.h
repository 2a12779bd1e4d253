// The level meter's two levels from the wave snapshot the stream feed makes
// for it. The playlist window takes a fresh snapshot every 50 ms and hands
// the levels to its meter.
#pragma once

#include "music/stream_feed.h"

namespace dorvane {

// 0..128 for each channel: the square root of the peak's share of full
// scale, so that quiet music still moves the meter. The peak is the larger
// distance of the snapshot's overall maximum and minimum from silence (128).
struct TIndicatorLevels {
    int left = 0;
    int right = 0;
    bool operator==(const TIndicatorLevels&) const = default;
};
TIndicatorLevels IndicatorLevels(const TWaveSnapshot& snapshot);

} // namespace dorvane
