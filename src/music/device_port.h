// The device player: a track handed over whole to something that plays it
// by itself (MIDI through a synthesizer), as opposed to the stream path that
// decodes into our own output. The modes are the numbers the engine keeps in
// `PlayerMode`. A device is driven from one thread (the playback worker);
// the sound itself is made on the backend's own audio thread.
#pragma once

#include <QString>

#include <cstdint>

namespace dorvane {

enum class TDeviceMode : std::int32_t {
    Stopped = 525, // also: nothing open
    Playing = 526,
    Paused = 529,
    Opening = 530,
};

class TDevicePort {
public:
    virtual ~TDevicePort() = default;

    // Opens the file and leaves it stopped at its start; false (and nothing
    // open) when the file cannot be played or no sound output exists.
    virtual bool Open(const QString& path) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // Plays from the current position (after the end: from the start).
    virtual void Play() = 0;
    virtual void Pause() = 0;
    // Silences the track; the position stays where it was.
    virtual void Stop() = 0;
    // Moves to ms (clamped to the track) without changing the mode.
    virtual void Seek(std::int64_t ms) = 0;

    virtual TDeviceMode Mode() const = 0;
    virtual std::int64_t LengthMs() const = 0;   // 0 when nothing is open
    virtual std::int64_t PositionMs() const = 0; // 0 when nothing is open
};

} // namespace dorvane
