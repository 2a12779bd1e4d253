// The three game sounds, synthesised: soft bell tones for the start and the
// end of a game and a short wooden "tock" for a move. Every sound fades to
// silence at its end so that it never stops with a click.
#include "artgen.h"

#include <algorithm>
#include <cmath>

namespace artgen {
namespace {

constexpr double kPi = 3.14159265358979323846;

} // namespace

std::vector<double> Silence(int rate, double seconds) {
    return std::vector<double>(static_cast<std::size_t>(std::lround(rate * seconds)), 0.0);
}

void AddBell(std::vector<double>& out, int rate, double start, double freq, double decay,
             double gain) {
    static constexpr double kRatio[] = {1.0, 2.0, 3.0, 4.16};
    static constexpr double kAmp[] = {1.0, 0.42, 0.16, 0.08};
    const auto first = static_cast<std::size_t>(std::lround(start * rate));
    for (std::size_t i = first; i < out.size(); ++i) {
        const double t = static_cast<double>(i - first) / rate;
        const double attack = std::min(1.0, t / 0.006);
        double v = 0.0;
        for (int k = 0; k < 4; ++k) {
            const double f = freq * kRatio[k];
            if (f >= rate / 2.0) continue;
            v += kAmp[k] * std::exp(-t * (k + 1) / decay) * std::sin(2.0 * kPi * f * t);
        }
        out[i] += gain * attack * v;
    }
}

void FinishAndNormalise(std::vector<double>& out, int rate, double peak) {
    const std::size_t fade = static_cast<std::size_t>(rate * 0.03);
    for (std::size_t i = 0; i < fade && i < out.size(); ++i)
        out[out.size() - 1 - i] *= static_cast<double>(i) / fade;
    double top = 0.0;
    for (const double v : out)
        top = std::max(top, std::abs(v));
    if (top > 0.0)
        for (double& v : out)
            v *= peak / top;
}

std::vector<double> MakeBeginSound(int rate) {
    std::vector<double> out = Silence(rate, 1.76);
    // A rising major arpeggio: C5 E5 G5 C6.
    AddBell(out, rate, 0.00, 523.25, 0.45, 1.0);
    AddBell(out, rate, 0.16, 659.25, 0.45, 0.9);
    AddBell(out, rate, 0.32, 783.99, 0.50, 0.85);
    AddBell(out, rate, 0.48, 1046.50, 0.55, 0.8);
    FinishAndNormalise(out, rate, 0.85);
    return out;
}

std::vector<double> MakeMoveSound(int rate) {
    std::vector<double> out = Silence(rate, 0.21);
    TRng rng(0x5EED);
    double phase = 0.0;
    double lowpass = 0.0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        // The pitch drops quickly from 1050 to 640 Hz, like a disc set on wood.
        const double freq = 640.0 + 410.0 * std::exp(-t / 0.012);
        phase += 2.0 * kPi * freq / rate;
        const double attack = std::min(1.0, t / 0.002);
        double v = std::sin(phase) * std::exp(-t / 0.035);
        v += 0.35 * std::sin(phase * 2.7) * std::exp(-t / 0.015);
        // A breath of softened noise at the touch.
        lowpass += 0.25 * ((rng.Uniform() * 2.0 - 1.0) - lowpass);
        v += 0.5 * lowpass * std::exp(-t / 0.004);
        out[i] = attack * v;
    }
    FinishAndNormalise(out, rate, 0.8);
    return out;
}

std::vector<double> MakeEndSound(int rate) {
    std::vector<double> out = Silence(rate, 2.91);
    // A falling G5 E5 C5, then a C major chord that rings out.
    AddBell(out, rate, 0.00, 783.99, 0.40, 0.9);
    AddBell(out, rate, 0.22, 659.25, 0.40, 0.9);
    AddBell(out, rate, 0.44, 523.25, 0.45, 0.9);
    AddBell(out, rate, 0.80, 261.63, 0.95, 0.8);
    AddBell(out, rate, 0.80, 329.63, 0.95, 0.6);
    AddBell(out, rate, 0.80, 392.00, 0.95, 0.6);
    AddBell(out, rate, 0.80, 523.25, 0.90, 0.5);
    FinishAndNormalise(out, rate, 0.85);
    return out;
}

// Triangular dither with a fixed seed keeps quiet tails smooth.
constexpr std::uint64_t kDitherSeed = 0xD17E;

std::vector<std::uint8_t> MakeWave(const std::vector<double>& samples, int rate, int bits) {
    const std::uint32_t bytesPerSample = bits == 16 ? 2 : 1;
    std::vector<std::uint8_t> out;
    out.reserve(44 + samples.size() * bytesPerSample + 1);
    auto u16 = [&](unsigned v) {
        out.push_back(static_cast<std::uint8_t>(v & 0xFF));
        out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    };
    auto u32 = [&](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    auto tag = [&](const char* t) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>(t[i]));
    };
    const auto n = static_cast<std::uint32_t>(samples.size()) * bytesPerSample;
    tag("RIFF");
    u32(36 + n + (n & 1));
    tag("WAVE");
    tag("fmt ");
    u32(16);
    u16(1); // PCM
    u16(1); // mono
    u32(static_cast<std::uint32_t>(rate));
    u32(static_cast<std::uint32_t>(rate) * bytesPerSample); // bytes per second
    u16(bytesPerSample);                                    // block align
    u16(bytesPerSample * 8);                                // bits per sample
    tag("data");
    u32(n);
    if (bytesPerSample == 2) {
        for (const std::int16_t s : Dither16(samples))
            u16(static_cast<unsigned>(s) & 0xFFFF);
        return out;
    }
    TRng rng(kDitherSeed);
    for (const double v : samples) {
        const double d = rng.Uniform() - rng.Uniform();
        const int s = static_cast<int>(std::lround(128.0 + 127.0 * v + d));
        out.push_back(static_cast<std::uint8_t>(std::clamp(s, 0, 255)));
    }
    if (n & 1) out.push_back(128);
    return out;
}

std::vector<std::int16_t> Dither16(const std::vector<double>& samples) {
    std::vector<std::int16_t> out;
    out.reserve(samples.size());
    TRng rng(kDitherSeed);
    for (const double v : samples) {
        const double d = rng.Uniform() - rng.Uniform();
        out.push_back(
            static_cast<std::int16_t>(std::clamp(std::lround(32767.0 * v + d), -32768L, 32767L)));
    }
    return out;
}

} // namespace artgen
