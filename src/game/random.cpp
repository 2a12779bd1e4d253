#include "random.h"

#include <chrono>
#include <random>

namespace dorvane {

namespace {

std::uint64_t SplitMix(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::uint64_t Rotl(std::uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
}

} // namespace

TRandom::TRandom(std::uint64_t seed) {
    Seed(seed);
}

TRandom TRandom::FromClock() {
    std::random_device device;
    const auto ticks =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    return TRandom(ticks ^ (static_cast<std::uint64_t>(device()) << 32));
}

void TRandom::Seed(std::uint64_t seed) {
    for (auto& word : s_)
        word = SplitMix(seed);
}

std::uint64_t TRandom::Next64() {
    const std::uint64_t result = Rotl(s_[1] * 5, 7) * 9;
    const std::uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = Rotl(s_[3], 45);
    return result;
}

std::uint32_t TRandom::Below(std::uint32_t bound) {
    if (bound <= 1) return 0;
    // Rejection keeps the draw unbiased: values in the incomplete last block
    // of the 64-bit range are drawn again.
    const std::uint64_t limit = UINT64_MAX - UINT64_MAX % bound;
    std::uint64_t x;
    do {
        x = Next64();
    } while (x >= limit);
    return static_cast<std::uint32_t>(x % bound);
}

std::uint32_t TScriptedRandom::Below(std::uint32_t bound) {
    if (values_.empty() || bound == 0) return 0;
    const std::uint32_t value = values_.front();
    values_.pop_front();
    return value % bound;
}

} // namespace dorvane
