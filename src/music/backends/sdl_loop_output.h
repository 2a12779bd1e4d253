// The stream path's sound output: our own looping buffer, one source of the
// program's shared SDL2 output (sdl_output.h), pulled by SDL's callback
// thread at a play cursor that advances by the buffer's frequency over the
// device's rate (linear interpolation between frames), so half the
// frequency plays at half speed. The object holds the output for as long as
// it lives; without a device Create fails and the track goes elsewhere.
// Every call is safe from any thread (the output's device lock).
#pragma once

#include "music/stream_ports.h"

#include <cstdint>
#include <memory>

namespace dorvane {

class TSdlLoopOutput final : public ILoopOutput {
public:
    TSdlLoopOutput();
    ~TSdlLoopOutput() override;
    TSdlLoopOutput(const TSdlLoopOutput&) = delete;
    TSdlLoopOutput& operator=(const TSdlLoopOutput&) = delete;

    bool Available() const;
    // The device's own rate (frames a second it asks the callback for).
    int DeviceRate() const;
    // Device frames the callback has produced while playing, since Create.
    std::uint64_t FramesPlayed() const;

    bool Create(const TPcmFormat& format, std::size_t bufferBytes) override;
    void Release() override;
    void Write(std::size_t offset, const std::uint8_t* data, std::size_t size) override;
    std::size_t PlayCursor() const override;
    void SetPlayCursor(std::size_t offset) override;
    int Frequency() const override;
    void SetFrequency(int hz) override;
    void SetVolume(double gain) override;
    void Play() override;
    void Stop() override;
    bool Playing() const override;

private:
    struct TImpl;
    std::unique_ptr<TImpl> impl_;
};

} // namespace dorvane
