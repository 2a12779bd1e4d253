// A stream without sound services: a stereo square wave and an output that
// stands at its start, for tests of the windows that show the wave.
#pragma once

#include "music/stream_ports.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace dorvane::test {

// A stereo square wave at full scale on the left and at a quarter on the
// right, 1000 frames a second, and an output that stands at its start: the
// meter's levels are known.
class TSquareDecoder final : public IStreamDecoder {
public:
    bool Open(const std::string&) override {
        at_ = 0;
        return true;
    }
    void Close() override {}
    TPcmFormat Format() const override { return {1000, 2, 16, 4}; }
    std::int64_t DurationMs() const override { return 60000; }
    TDecodedPiece Read(std::uint8_t* out, std::size_t size) override {
        const std::size_t frames = std::min<std::size_t>(size / 4, std::size_t(60000 - at_));
        for (std::size_t i = 0; i < frames; ++i) {
            const bool high = (at_ + std::int64_t(i)) % 2 == 0;
            const std::int16_t left = high ? 32767 : -32768;
            const std::int16_t right = high ? 8192 : -8192;
            std::memcpy(out + 4 * i, &left, 2);
            std::memcpy(out + 4 * i + 2, &right, 2);
        }
        const TDecodedPiece piece{frames * 4, at_, at_ + std::int64_t(frames)};
        at_ += std::int64_t(frames);
        return piece;
    }
    std::int64_t CurrentMs() const override { return at_; }
    bool Seek(std::int64_t ms) override {
        at_ = ms;
        return true;
    }
    bool Dry() const override { return at_ >= 60000; }

private:
    std::int64_t at_ = 0;
};

class TStandingOutput final : public ILoopOutput {
public:
    bool Create(const TPcmFormat& format, std::size_t) override {
        frequency_ = format.SampleRate;
        return true;
    }
    void Release() override {}
    void Write(std::size_t, const std::uint8_t*, std::size_t) override {}
    std::size_t PlayCursor() const override { return 0; }
    void SetPlayCursor(std::size_t) override {}
    int Frequency() const override { return frequency_; }
    void SetFrequency(int hz) override { frequency_ = hz; }
    void SetVolume(double) override {}
    void Play() override { playing_ = true; }
    void Stop() override { playing_ = false; }
    bool Playing() const override { return playing_; }

private:
    int frequency_ = 1000;
    bool playing_ = false;
};

} // namespace dorvane::test
