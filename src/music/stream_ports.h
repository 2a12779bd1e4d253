// The two services the stream path plays through: a decoder that turns a
// sound file into PCM on request, and a looping sound output that plays a
// buffer round and round at a frequency of its own. Plain C++ so that the
// feed can be driven by fakes in tests and by the FFmpeg and SDL backends
// (src/music/backends) in the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace dorvane {

// Interleaved signed 16-bit PCM as the decoder hands it out.
struct TPcmFormat {
    int SampleRate = 44100;
    int Channels = 2;
    int BitsPerSample = 16;
    int BlockAlign = 4; // bytes per frame

    bool operator==(const TPcmFormat&) const = default;
};

// One synchronous read: how many bytes were filled and the stream times
// (ms) of the first and one past the last frame.
struct TDecodedPiece {
    std::size_t Bytes = 0;
    std::int64_t StartMs = 0;
    std::int64_t EndMs = 0;
};

class IStreamDecoder {
public:
    virtual ~IStreamDecoder() = default;

    // Opens a regular file (anything else fails without blocking); closes the
    // file that was open first. False when it is no sound file the decoder
    // can play.
    virtual bool Open(const std::string& path) = 0;
    virtual void Close() = 0;
    virtual TPcmFormat Format() const = 0;
    virtual std::int64_t DurationMs() const = 0;
    // Fills up to size bytes (whole frames) of out. Fewer bytes than asked
    // only when the decoder has run dry.
    virtual TDecodedPiece Read(std::uint8_t* out, std::size_t size) = 0;
    // The stream time just past the data handed out last.
    virtual std::int64_t CurrentMs() const = 0;
    virtual bool Seek(std::int64_t ms) = 0;
    virtual bool Dry() const = 0;
    // Dry because the file gave up no sound for too long a stretch of input
    // (a preallocated download is zeros after its first minutes): the file
    // is no sound file after all, rather than a track at its end.
    virtual bool Failed() const { return false; }
    // Asked between reads of the file: true ends the open or the read under
    // way at once (the program is closing). Kept across Open and Close.
    virtual void SetCancel(std::function<bool()> cancelled) { (void)cancelled; }
};

class ILoopOutput {
public:
    virtual ~ILoopOutput() = default;

    // A silent, stopped buffer of bufferBytes for PCM in format; replaces the
    // one there was. False when there is no sound device.
    virtual bool Create(const TPcmFormat& format, std::size_t bufferBytes) = 0;
    virtual void Release() = 0;
    // Copies size bytes into the buffer at offset (wrapping at its end); may
    // be called while it plays, behind the play cursor.
    virtual void Write(std::size_t offset, const std::uint8_t* data, std::size_t size) = 0;
    // The byte offset (a whole frame) of the frame being heard.
    virtual std::size_t PlayCursor() const = 0;
    virtual void SetPlayCursor(std::size_t offset) = 0;
    // Frames of the buffer played per second: the format's rate plays at
    // normal speed, half of it at half speed.
    virtual int Frequency() const = 0;
    virtual void SetFrequency(int hz) = 0;
    // 0..1, 1 without attenuation.
    virtual void SetVolume(double gain) = 0;
    // Plays round and round from the cursor until Stop, which keeps it.
    virtual void Play() = 0;
    virtual void Stop() = 0;
    virtual bool Playing() const = 0;
};

} // namespace dorvane
