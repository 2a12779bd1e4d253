#include "gamesounds.h"

#include "assets.h"
#include "music/backends/pcm_mix.h"
#include "music/backends/sdl_output.h"

#include <SDL.h>

#include <algorithm>
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

struct TGameSounds::TImpl final : TSdlSource {
    std::array<std::vector<std::int16_t>, kSoundCount> sounds;

    // Shared with the audio thread; touched only under the device lock.
    int current = -1;
    std::size_t position = 0;
    int level = kFullLevel;

    TSdlMixSlot slot; // last: leaves the mix before the sounds go

    TImpl() : slot(TSdlOutput::Acquire(), *this) {
        if (Output() == nullptr) return;
        // The callback never sees a sound before Play, which locks.
        for (int i = 0; i < kSoundCount; ++i)
            sounds[std::size_t(i)] = LoadSound(kResourceNames[i], Output()->Rate());
    }

    TSdlOutput* Output() const { return slot.Output(); }

    // Runs on SDL's audio thread with the device lock held.
    void Mix(std::int16_t* out, std::size_t frames) override {
        if (current < 0) return;
        const auto& sound = sounds[std::size_t(current)];
        const std::size_t n = std::min(sound.size() - position, frames);
        AddMonoToStereo(out, sound.data() + position, n, level);
        position += n;
        if (position >= sound.size()) current = -1;
    }
};

TGameSounds::TGameSounds() : impl_(std::make_unique<TImpl>()) {}

TGameSounds::~TGameSounds() = default;

bool TGameSounds::Available() const {
    return impl_->Output() != nullptr;
}

void TGameSounds::Play(TGameSound sound, const TSoundSwitches& switches) {
    const int index = IndexOf(sound);
    if (!Available() || !switches.IsOn(sound) || impl_->sounds[std::size_t(index)].empty()) return;
    TSdlOutput::TLock lock(impl_->Output());
    impl_->current = index;
    impl_->position = 0;
}

void TGameSounds::Stop() {
    TSdlOutput::TLock lock(impl_->Output());
    impl_->current = -1;
}

void TGameSounds::SetLevel(double gain) {
    TSdlOutput::TLock lock(impl_->Output());
    impl_->level = LevelOfGain(gain);
}

std::optional<TGameSound> TGameSounds::Playing() const {
    int current = -1;
    {
        TSdlOutput::TLock lock(impl_->Output());
        current = impl_->current;
    }
    if (current < 0) return std::nullopt;
    return static_cast<TGameSound>(current);
}

} // namespace dorvane
