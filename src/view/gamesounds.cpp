#include "gamesounds.h"

#include "assets.h"
#include "music/backends/sdl_audio.h"

#include <SDL.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace dorvane {

bool TSoundSwitches::IsOn(TGameSound sound) const {
    switch (sound) {
    case TGameSound::Begin:
        return Begin;
    case TGameSound::Move:
        return Move;
    case TGameSound::End:
        return End;
    }
    return false;
}

namespace {

constexpr int kSoundCount = 3;
const char* const kResourceNames[kSoundCount] = {"RBEGIN", "RMOVE", "REND"};

int IndexOf(TGameSound sound) {
    return static_cast<int>(sound);
}

// A WAVE resource converted to the device's format (signed 16-bit mono).
std::vector<std::int16_t> LoadSound(const char* name, int deviceRate) {
    const QByteArray bytes = ResourceBytes(QString::fromLatin1(name));
    if (bytes.isEmpty()) return {};
    SDL_AudioSpec spec{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(SDL_RWFromConstMem(bytes.constData(), bytes.size()), 1, &spec, &buffer,
                        &length))
        return {};
    std::unique_ptr<Uint8, decltype(&SDL_FreeWAV)> owned(buffer, &SDL_FreeWAV);

    SDL_AudioCVT cvt;
    const int built =
        SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_S16SYS, 1, deviceRate);
    if (built < 0) return {};
    std::vector<Uint8> work(std::size_t(length) * std::size_t(cvt.len_mult) + 16);
    std::memcpy(work.data(), buffer, length);
    cvt.buf = work.data();
    cvt.len = static_cast<int>(length);
    if (built > 0 && SDL_ConvertAudio(&cvt) != 0) return {};
    const int bytesOut = built > 0 ? cvt.len_cvt : cvt.len;
    std::vector<std::int16_t> samples(std::size_t(bytesOut) / sizeof(std::int16_t));
    std::memcpy(samples.data(), work.data(), samples.size() * sizeof(std::int16_t));
    return samples;
}

} // namespace

struct TGameSounds::TImpl {
    TSdlAudioHold audio;
    SDL_AudioDeviceID device = 0;
    std::array<std::vector<std::int16_t>, kSoundCount> sounds;

    // Shared with the audio thread; touched only under SDL_LockAudioDevice.
    int current = -1;
    std::size_t position = 0;

    TImpl() {
        if (!audio.Ok()) return;
        const TSdlDevice opened = OpenSdlOutput(1, 512, &TImpl::Callback, this);
        device = opened.Id;
        if (device == 0) return;
        for (int i = 0; i < kSoundCount; ++i)
            sounds[std::size_t(i)] = LoadSound(kResourceNames[i], opened.Rate);
        SDL_PauseAudioDevice(device, 0);
    }

    ~TImpl() {
        if (device != 0) SDL_CloseAudioDevice(device);
    }

    // Runs on SDL's audio thread.
    static void Callback(void* userdata, Uint8* stream, int length) {
        auto* self = static_cast<TImpl*>(userdata);
        auto* out = reinterpret_cast<std::int16_t*>(stream);
        const std::size_t wanted = std::size_t(length) / sizeof(std::int16_t);
        std::size_t written = 0;
        if (self->current >= 0) {
            const auto& sound = self->sounds[std::size_t(self->current)];
            const std::size_t left = sound.size() - self->position;
            written = std::min(left, wanted);
            std::memcpy(out, sound.data() + self->position, written * sizeof(std::int16_t));
            self->position += written;
            if (self->position >= sound.size()) self->current = -1;
        }
        std::memset(out + written, 0, (wanted - written) * sizeof(std::int16_t));
    }
};

TGameSounds::TGameSounds() : impl_(std::make_unique<TImpl>()) {}

TGameSounds::~TGameSounds() = default;

bool TGameSounds::Available() const {
    return impl_->device != 0;
}

void TGameSounds::Play(TGameSound sound, const TSoundSwitches& switches) {
    const int index = IndexOf(sound);
    if (!Available() || !switches.IsOn(sound) || impl_->sounds[std::size_t(index)].empty()) return;
    SDL_LockAudioDevice(impl_->device);
    impl_->current = index;
    impl_->position = 0;
    SDL_UnlockAudioDevice(impl_->device);
}

void TGameSounds::Stop() {
    if (!Available()) return;
    SDL_LockAudioDevice(impl_->device);
    impl_->current = -1;
    SDL_UnlockAudioDevice(impl_->device);
}

std::optional<TGameSound> TGameSounds::Playing() const {
    if (!Available()) return std::nullopt;
    SDL_LockAudioDevice(impl_->device);
    const int current = impl_->current;
    SDL_UnlockAudioDevice(impl_->device);
    if (current < 0) return std::nullopt;
    return static_cast<TGameSound>(current);
}

} // namespace dorvane
