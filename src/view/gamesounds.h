// The three short game sounds (start of a game, a move, the end), played in
// the background as one source of the program's shared SDL2 output (held
// for as long as the object lives); SDL's audio thread mixes the sound that
// is current. Starting a sound replaces the one still playing, the caller
// never waits, and without a usable audio device the sounds are simply off.
#pragma once

#include "play/game_view.h"

#include <memory>
#include <optional>

namespace dorvane {

// The "Звуки" menu's check marks ("SoundBegin", "SoundMove", "SoundEnd").
struct TSoundSwitches {
    bool Begin = false;
    bool Move = true;
    bool End = false;

    bool IsOn(TGameSound sound) const;
};

class TGameSounds {
public:
    // Loads the recordings from the resources and joins the shared output.
    TGameSounds();
    ~TGameSounds();
    TGameSounds(const TGameSounds&) = delete;
    TGameSounds& operator=(const TGameSounds&) = delete;

    // False when no audio device could be opened: every call is then a no-op.
    bool Available() const;
    // Starts the sound if its switch is on, stopping the one still playing.
    void Play(TGameSound sound, const TSoundSwitches& switches);
    void Stop();
    // The sounds' own level in the mix, 0..1 (1 at first).
    void SetLevel(double gain);
    // The sound that is still sounding, if any.
    std::optional<TGameSound> Playing() const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> impl_;
};

} // namespace dorvane
