// The arithmetic of the shared output's mix: a source's level in steps of
// 1/65536 and sums of signed 16-bit samples that saturate at the limits
// instead of wrapping. Integer only, so the audio callback does no floating
// point per sample.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace dorvane {

inline constexpr int kFullLevel = 1 << 16;

// 0..1 (clamped) as a level.
inline int LevelOfGain(double gain) {
    return static_cast<int>(std::lround(std::clamp(gain, 0.0, 1.0) * kFullLevel));
}

inline std::int16_t Saturate(std::int32_t value) {
    return static_cast<std::int16_t>(std::clamp<std::int32_t>(value, -32768, 32767));
}

// A sample at level: |sample| <= 32768 and level <= 2^16 keep the product
// within 32 bits.
inline std::int32_t AtLevel(std::int32_t sample, int level) {
    return (sample * level) >> 16;
}

// out[i] += in[i] at level, for count samples.
inline void AddSamples(std::int16_t* out, const std::int16_t* in, std::size_t count, int level) {
    if (level == kFullLevel) {
        for (std::size_t i = 0; i < count; ++i)
            out[i] = Saturate(std::int32_t(out[i]) + in[i]);
    } else {
        for (std::size_t i = 0; i < count; ++i)
            out[i] = Saturate(std::int32_t(out[i]) + AtLevel(in[i], level));
    }
}

// Each of frames mono samples of in, at level, added to both channels of
// out's stereo frames.
inline void AddMonoToStereo(std::int16_t* out, const std::int16_t* in, std::size_t frames,
                            int level) {
    for (std::size_t i = 0; i < frames; ++i) {
        const std::int32_t value = AtLevel(in[i], level);
        out[2 * i] = Saturate(std::int32_t(out[2 * i]) + value);
        out[2 * i + 1] = Saturate(std::int32_t(out[2 * i + 1]) + value);
    }
}

} // namespace dorvane
