// The program's one output on SDL's dummy driver (SDL_AUDIODRIVER=dummy runs
// the callback in real time without a card): every source is heard in one
// mix at its own level, sources come and go while it plays, and one device
// serves every holder.
#include "music/backends/sdl_loop_output.h"
#include "music/backends/sdl_output.h"
#include "support/env_guard.h"
#include "support/mix_probe.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace dorvane::test {
namespace {

// A playing loop output whose buffer holds value in every sample.
void PlayConstant(TSdlLoopOutput& output, std::int16_t value, int frequency, double gain) {
    const TPcmFormat format{44100, 2, 16, 4};
    const std::vector<std::int16_t> samples(44100 * 2, value);
    ASSERT_TRUE(output.Create(format, samples.size() * 2));
    output.Write(0, reinterpret_cast<const std::uint8_t*>(samples.data()), samples.size() * 2);
    output.SetFrequency(frequency);
    output.SetVolume(gain);
    output.Play();
}

struct TMixCase {
    const char* name;
    std::int16_t loop;
    double gain;
    std::int16_t other;
    std::int16_t heard;
};

void PrintTo(const TMixCase& c, std::ostream* out) {
    *out << c.name;
}

class SdlMix : public testing::TestWithParam<TMixCase> {};

TEST_P(SdlMix, TheLoopAndAnotherSourceAreHeardTogether) {
    const TMixCase c = GetParam();
    // At the device's rate the buffer is copied, at half of it interpolated.
    for (const int frequency : {44100, 22050}) {
        TSdlLoopOutput loop;
        ASSERT_TRUE(loop.Available());
        ASSERT_EQ(loop.DeviceRate(), 44100);
        const auto output = TSdlOutput::Acquire();
        TConstantSource other(output, c.other);
        TMixRecorder recorder(output);
        PlayConstant(loop, c.loop, frequency, c.gain);
        const std::vector<std::int16_t> block = recorder.NextBlock();
        EXPECT_TRUE(TMixRecorder::AllAre(block, c.heard))
            << frequency << " Hz: " << (block.empty() ? 0 : block[0]);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SdlMix,
                         testing::Values(TMixCase{"Sum", 1000, 1.0, 2000, 3000},
                                         TMixCase{"SaturatesAbove", 30000, 1.0, 10000, 32767},
                                         TMixCase{"SaturatesBelow", -30000, 1.0, -10000, -32768},
                                         TMixCase{"HalfLevel", 20000, 0.5, -3000, 7000},
                                         TMixCase{"QuarterOfTheLowest", -32768, 0.25, 0, -8192},
                                         TMixCase{"LevelZero", 12345, 0.0, 7, 7}),
                         [](const testing::TestParamInfo<TMixCase>& mix) {
                             return std::string(mix.param.name);
                         });

TEST(SdlOutput, SourcesLeaveTheMixWhileItPlays) {
    std::optional<TSdlLoopOutput> loop(std::in_place);
    ASSERT_TRUE(loop->Available());
    const auto output = TSdlOutput::Acquire();
    std::optional<TConstantSource> other(std::in_place, output, 100);
    TMixRecorder recorder(output);
    PlayConstant(*loop, 1000, 33333, 1.0);
    EXPECT_TRUE(TMixRecorder::AllAre(recorder.NextBlock(), 1100));

    other.reset();
    EXPECT_TRUE(TMixRecorder::AllAre(recorder.NextBlock(), 1000));
    loop.reset(); // still playing
    EXPECT_TRUE(TMixRecorder::AllAre(recorder.NextBlock(), 0));
}

TEST(SdlOutput, OneDeviceServesEveryHolderAndClosesWithTheLast) {
    const int before = TSdlOutput::DevicesOpened();
    {
        TSdlLoopOutput music;
        TSdlLoopOutput second;
        const auto held = TSdlOutput::Acquire();
        ASSERT_TRUE(music.Available() && second.Available() && held);
        EXPECT_EQ(TSdlOutput::Acquire(), held);
        EXPECT_EQ(TSdlOutput::DevicesOpened(), before + 1);
    }
    // Nobody holds it now: the next holder opens it anew.
    EXPECT_TRUE(TSdlOutput::Acquire());
    EXPECT_EQ(TSdlOutput::DevicesOpened(), before + 2);
}

TEST(SdlOutput, WithoutADeviceEverythingIsSilent) {
    const TEnvGuard driver("SDL_AUDIODRIVER", "no-such-driver");
    const int before = TSdlOutput::DevicesOpened();
    EXPECT_EQ(TSdlOutput::Acquire(), nullptr);
    TSdlLoopOutput loop;
    EXPECT_FALSE(loop.Available());
    EXPECT_FALSE(loop.Create(TPcmFormat{}, 4096));
    loop.Play();
    EXPECT_FALSE(loop.Playing());
    EXPECT_EQ(loop.PlayCursor(), 0u);
    EXPECT_EQ(TSdlOutput::DevicesOpened(), before);
}

} // namespace
} // namespace dorvane::test
