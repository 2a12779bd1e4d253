// Sources for looking into the shared output's mix: one that adds a fixed
// value to every sample, and a recorder that, joined after the others, sees
// the block as they left it.
#pragma once

#include "music/backends/pcm_mix.h"
#include "music/backends/sdl_output.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

namespace dorvane::test {

class TConstantSource final : public TSdlSource {
public:
    TConstantSource(std::shared_ptr<TSdlOutput> output, std::int16_t value)
        : value_(value), slot_(std::move(output), *this) {}

    void Mix(std::int16_t* out, std::size_t frames) override {
        for (std::size_t i = 0; i < 2 * frames; ++i)
            out[i] = Saturate(std::int32_t(out[i]) + value_);
    }

private:
    std::int16_t value_;
    TSdlMixSlot slot_;
};

class TMixRecorder final : public TSdlSource {
public:
    explicit TMixRecorder(std::shared_ptr<TSdlOutput> output) : slot_(std::move(output), *this) {}

    void Mix(std::int16_t* out, std::size_t frames) override {
        last_.assign(out, out + 2 * frames);
        ++blocks_;
    }

    // The block mixed after `more` further ones have gone by (empty when
    // none came within five seconds).
    std::vector<std::int16_t> NextBlock(int more = 2) const {
        const std::uint64_t wanted = Blocks() + std::uint64_t(more);
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (Blocks() < wanted) {
            if (std::chrono::steady_clock::now() > giveUp) return {};
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        const TSdlOutput::TLock lock(slot_.Output());
        return last_;
    }

    // Whether one of the next blocks (at most `blocks`) satisfies is.
    template <class Is> bool OneOfNext(int blocks, Is is) const {
        for (int i = 0; i < blocks; ++i) {
            const std::vector<std::int16_t> block = NextBlock(1);
            if (block.empty()) return false;
            if (is(block)) return true;
        }
        return false;
    }

    // The block holds nothing but value.
    static bool AllAre(const std::vector<std::int16_t>& block, std::int16_t value) {
        return !block.empty() &&
               std::all_of(block.begin(), block.end(), [&](std::int16_t s) { return s == value; });
    }

private:
    std::uint64_t Blocks() const {
        const TSdlOutput::TLock lock(slot_.Output());
        return blocks_;
    }

    std::vector<std::int16_t> last_;
    std::uint64_t blocks_ = 0;
    TSdlMixSlot slot_;
};

} // namespace dorvane::test
