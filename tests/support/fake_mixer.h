// A mixer that is always there and keeps its volume in memory: the program
// moves it through SetVolume, "the system" (another program, a volume key)
// through MoveFromOutside. Both send the notice, as ALSA's events do.
#pragma once

#include "music/mixer_port.h"

#include <algorithm>

namespace dorvane::test {

class TFakeMixer final : public TMixerPort {
public:
    explicit TFakeMixer(int volume = 50) : volume_(volume) {}

    bool Available() const override { return true; }
    int Volume() const override { return volume_; }
    void SetVolume(int percent) override { Change(std::clamp(percent, 0, 100)); }
    bool Mute() const override { return mute_; }
    void SetMute(bool on) override {
        if (on == mute_) return;
        mute_ = on;
        emit MuteChanged(on);
    }
    void MoveFromOutside(int percent) { Change(percent); }

private:
    void Change(int percent) {
        if (percent == volume_) return;
        volume_ = percent;
        emit VolumeChanged(percent);
    }

    int volume_;
    bool mute_ = false;
};

} // namespace dorvane::test
