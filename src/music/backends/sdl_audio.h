// A hold on SDL's audio subsystem for as long as the object lives. SDL counts
// its holders, so the game sounds and the music output each keep their own
// and neither closes audio under the other.
#pragma once

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

} // namespace dorvane
