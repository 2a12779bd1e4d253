// A music engine host that wants nothing: for tests and benches that drive
// the engine, or a window over it, without a game window.
#pragma once

#include "music/music_engine.h"

namespace dorvane::test {

class TQuietHost final : public TMusicEngineHost {
public:
    void EngineClockTick() override {}
    void KeepDisplayAwake() override {}
    void ShowMusicCaption(const QString&) override {}
    void ShowMusicMessage(const QString&) override {}
    void MusicSwitchesChanged() override {}
    void SelectPlayingRow(int) override {}
    void SetSpeedBoxEnabled(bool) override {}
    void ShowPlaylistWindow(bool) override {}
    void PlaylistChanged() override {}
    void RecentSourcesChanged() override {}
};

} // namespace dorvane::test
