// A hold on SDL's audio subsystem for as long as the object lives. SDL counts
// its holders, so the game sounds and the music output each keep their own
// and neither closes audio under the other.
#pragma once

#include <cstdint>

namespace dorvane {

class TSdlAudioHold {
public:
    TSdlAudioHold();
    ~TSdlAudioHold();
    TSdlAudioHold(const TSdlAudioHold&) = delete;
    TSdlAudioHold& operator=(const TSdlAudioHold&) = delete;
    // False when SDL has no audio here: nothing can be played.
    bool Ok() const { return ok_; }

private:
    bool ok_ = false;
};

// Called on SDL's audio thread with the device lock held: fill bytes of
// signed 16-bit frames in the device's native byte order.
using TSdlFill = void (*)(void* userdata, std::uint8_t* stream, int bytes);

struct TSdlDevice {
    std::uint32_t Id = 0; // 0: none could be opened
    int Rate = 0;         // the rate the device runs at
};

// Opens the default output for signed 16-bit frames of channels channels,
// paused; SDL converts to whatever the device needs except the rate, which
// the device may choose.
TSdlDevice OpenSdlOutput(int channels, int framesPerCall, TSdlFill fill, void* userdata);

} // namespace dorvane
