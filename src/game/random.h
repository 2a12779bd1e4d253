// The program's one pseudo-random source. New games take two draws from it for
// the start position and every search of the computer player two more, so a
// test that seeds it (or scripts it) replays a whole game exactly.
#pragma once

#include <cstdint>
#include <deque>

namespace dorvane {

class TRandomSource {
public:
    virtual ~TRandomSource() = default;
    // A uniform integer in 0 .. bound - 1; bound >= 1.
    virtual std::uint32_t Below(std::uint32_t bound) = 0;
};

// xoshiro256** seeded through splitmix64: small, fast, and the same sequence on
// every platform, which std::uniform_int_distribution does not promise.
class TRandom final : public TRandomSource {
public:
    explicit TRandom(std::uint64_t seed);
    static TRandom FromClock();

    void Seed(std::uint64_t seed);
    std::uint64_t Next64();
    std::uint32_t Below(std::uint32_t bound) override;

private:
    std::uint64_t s_[4]{};
};

// Hands out given values in order (each taken modulo the bound), then falls
// back to zero; lets the engine tool and tests set the draws of one search.
class TScriptedRandom final : public TRandomSource {
public:
    void Push(std::uint32_t value) { values_.push_back(value); }
    std::uint32_t Below(std::uint32_t bound) override;
    bool Exhausted() const { return values_.empty(); }

private:
    std::deque<std::uint32_t> values_;
};

} // namespace dorvane
