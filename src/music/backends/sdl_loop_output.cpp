#include "sdl_loop_output.h"

#include "sdl_audio.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace dorvane {

namespace {

struct TDeviceCloser {
    SDL_AudioDeviceID id = 0;
    ~TDeviceCloser() {
        if (id != 0) SDL_CloseAudioDevice(id);
    }
};

// Holds the device lock for a scope.
class TDeviceLock {
public:
    explicit TDeviceLock(SDL_AudioDeviceID id) : id_(id) {
        if (id_ != 0) SDL_LockAudioDevice(id_);
    }
    ~TDeviceLock() {
        if (id_ != 0) SDL_UnlockAudioDevice(id_);
    }
    TDeviceLock(const TDeviceLock&) = delete;
    TDeviceLock& operator=(const TDeviceLock&) = delete;

private:
    SDL_AudioDeviceID id_;
};

} // namespace

struct TSdlLoopOutput::TImpl {
    TSdlAudioHold audio;
    TDeviceCloser device; // after the subsystem, so it closes first
    int deviceRate = 0;

    // Shared with the callback; touched only under the device lock.
    std::vector<std::int16_t> ring; // interleaved frames
    int channels = 2;
    double cursor = 0; // in frames, fractional
    int frequency = 44100;
    float gain = 1.0f;
    bool playing = false;
    std::uint64_t played = 0;

    std::size_t Frames() const { return channels > 0 ? ring.size() / std::size_t(channels) : 0; }

    TImpl() {
        if (!audio.Ok()) return;
        // Stereo; a mono track is doubled in the callback.
        const TSdlDevice opened = OpenSdlOutput(2, 1024, &TImpl::Callback, this);
        device.id = opened.Id;
        deviceRate = opened.Rate;
    }

    // Runs on SDL's audio thread with the device lock held.
    static void Callback(void* userdata, Uint8* stream, int length) {
        auto* self = static_cast<TImpl*>(userdata);
        auto* out = reinterpret_cast<std::int16_t*>(stream);
        const std::size_t outFrames = std::size_t(length) / (2 * sizeof(std::int16_t));
        const std::size_t frames = self->Frames();
        if (!self->playing || frames == 0 || self->deviceRate <= 0) {
            std::memset(stream, 0, std::size_t(length));
            return;
        }
        const double step = double(self->frequency) / double(self->deviceRate);
        const int channels = self->channels;
        double at = self->cursor;
        for (std::size_t i = 0; i < outFrames; ++i) {
            const auto index = static_cast<std::size_t>(at);
            const double weight = at - double(index);
            const std::size_t next = index + 1 < frames ? index + 1 : 0;
            for (int c = 0; c < 2; ++c) {
                const int source = std::min(c, channels - 1);
                const double a = self->ring[index * std::size_t(channels) + std::size_t(source)];
                const double b = self->ring[next * std::size_t(channels) + std::size_t(source)];
                const double value = (a + (b - a) * weight) * self->gain;
                out[2 * i + std::size_t(c)] =
                    static_cast<std::int16_t>(std::clamp(value, -32768.0, 32767.0));
            }
            at += step;
            if (at >= double(frames)) at -= double(frames);
        }
        self->cursor = at;
        self->played += outFrames;
    }
};

TSdlLoopOutput::TSdlLoopOutput() : impl_(std::make_unique<TImpl>()) {}

TSdlLoopOutput::~TSdlLoopOutput() = default;

bool TSdlLoopOutput::Available() const {
    return impl_->device.id != 0;
}

int TSdlLoopOutput::DeviceRate() const {
    return impl_->deviceRate;
}

std::uint64_t TSdlLoopOutput::FramesPlayed() const {
    TDeviceLock lock(impl_->device.id);
    return impl_->played;
}

bool TSdlLoopOutput::Create(const TPcmFormat& format, std::size_t bufferBytes) {
    if (!Available() || format.BitsPerSample != 16 || format.Channels < 1 || format.Channels > 2 ||
        format.BlockAlign != 2 * format.Channels || bufferBytes == 0)
        return false;
    Stop();
    std::vector<std::int16_t> fresh(bufferBytes / sizeof(std::int16_t), 0);
    TDeviceLock lock(impl_->device.id);
    impl_->ring.swap(fresh);
    impl_->channels = format.Channels;
    impl_->cursor = 0;
    impl_->frequency = format.SampleRate;
    impl_->played = 0;
    return true;
}

void TSdlLoopOutput::Release() {
    Stop();
    std::vector<std::int16_t> old;
    TDeviceLock lock(impl_->device.id);
    impl_->ring.swap(old);
    impl_->cursor = 0;
}

void TSdlLoopOutput::Write(std::size_t offset, const std::uint8_t* data, std::size_t size) {
    TDeviceLock lock(impl_->device.id);
    auto* bytes = reinterpret_cast<std::uint8_t*>(impl_->ring.data());
    const std::size_t total = impl_->ring.size() * sizeof(std::int16_t);
    if (total == 0) return;
    size = std::min(size, total);
    offset %= total;
    const std::size_t first = std::min(size, total - offset);
    std::memcpy(bytes + offset, data, first);
    std::memcpy(bytes, data + first, size - first);
}

std::size_t TSdlLoopOutput::PlayCursor() const {
    TDeviceLock lock(impl_->device.id);
    return static_cast<std::size_t>(impl_->cursor) * std::size_t(impl_->channels) *
           sizeof(std::int16_t);
}

void TSdlLoopOutput::SetPlayCursor(std::size_t offset) {
    TDeviceLock lock(impl_->device.id);
    const std::size_t frames = impl_->Frames();
    const std::size_t frame = offset / (std::size_t(impl_->channels) * sizeof(std::int16_t));
    impl_->cursor = frames == 0 ? 0.0 : double(frame % frames);
}

int TSdlLoopOutput::Frequency() const {
    TDeviceLock lock(impl_->device.id);
    return impl_->frequency;
}

void TSdlLoopOutput::SetFrequency(int hz) {
    TDeviceLock lock(impl_->device.id);
    impl_->frequency = std::max(1, hz);
}

void TSdlLoopOutput::SetVolume(double gain) {
    TDeviceLock lock(impl_->device.id);
    impl_->gain = static_cast<float>(std::clamp(gain, 0.0, 1.0));
}

void TSdlLoopOutput::Play() {
    if (!Available()) return;
    {
        TDeviceLock lock(impl_->device.id);
        if (impl_->ring.empty()) return;
        impl_->playing = true;
    }
    SDL_PauseAudioDevice(impl_->device.id, 0);
}

void TSdlLoopOutput::Stop() {
    if (!Available()) return;
    {
        TDeviceLock lock(impl_->device.id);
        impl_->playing = false;
    }
    // A paused device costs nothing while no track plays.
    SDL_PauseAudioDevice(impl_->device.id, 1);
}

bool TSdlLoopOutput::Playing() const {
    TDeviceLock lock(impl_->device.id);
    return impl_->playing;
}

} // namespace dorvane
