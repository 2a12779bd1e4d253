// The MIDI clock takes any bytes: a file it accepts lies inside the bytes,
// and its clock runs forwards.
#include "music/midi_timing.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dorvane;
    const auto timing =
        TMidiTiming::Read(std::span<const char>(reinterpret_cast<const char*>(data), size));
    if (!timing) return 0;
    if (timing->smfOffset() > size || timing->smfSize() > size - timing->smfOffset()) std::abort();
    const std::uint64_t total = timing->totalTicks();
    const std::int64_t length = timing->lengthMs();
    if (length < 0) std::abort();
    std::int64_t previous = 0;
    for (int step = 0; step <= 16; ++step) {
        const std::uint64_t tick = total / 16 * std::uint64_t(step);
        const std::int64_t ms = timing->TicksToMs(tick);
        if (ms < previous || ms > length) std::abort();
        previous = ms;
        if (timing->MsToTicks(ms) > total) std::abort();
    }
    if (timing->MsToTicks(length + 1) != total) std::abort();
    return 0;
}
