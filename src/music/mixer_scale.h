// The mixer's numbers: a control's raw range to the 0..100 the windows show
// and back. Plain C++, so that the mapping is tested without a sound card.
#pragma once

#include <span>

namespace dorvane {

// A raw value in [minimum, maximum] as 0..100, rounded; 0 for an empty range.
int MixerPercent(long value, long minimum, long maximum);
// 0..100 (clamped) as a raw value in [minimum, maximum], rounded.
long MixerRaw(int percent, long minimum, long maximum);
// The volume of a line: its loudest channel, as 0..100 (0 without channels).
int LoudestChannelPercent(std::span<const long> channels, long minimum, long maximum);

} // namespace dorvane
