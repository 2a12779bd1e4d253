// The sounds play on SDL's dummy driver (SDL_AUDIODRIVER=dummy), which runs
// the audio callback in real time without a sound card.
#include "view/gamesounds.h"

#include "music/backends/sdl_loop_output.h"
#include "support/env_guard.h"
#include "support/mix_probe.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace dorvane {
namespace {

const TSoundSwitches kAllOn{true, true, true};

// Polls until nothing plays; false when the sound is still on after `limit`.
bool WaitForSilence(const TGameSounds& sounds, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (sounds.Playing().has_value()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

TEST(GameSounds, MoveSoundPlaysInTheBackgroundAndFinishes) {
    TGameSounds sounds;
    ASSERT_TRUE(sounds.Available());
    EXPECT_FALSE(sounds.Playing().has_value());
    sounds.Play(TGameSound::Move, kAllOn);
    EXPECT_EQ(sounds.Playing(), TGameSound::Move);
    EXPECT_TRUE(WaitForSilence(sounds, std::chrono::seconds(5)));
}

TEST(GameSounds, NewSoundReplacesThePlayingOneAndStopSilences) {
    TGameSounds sounds;
    ASSERT_TRUE(sounds.Available());
    // The start sound lasts 1.76 s: were Play to wait for it, it would be
    // over by the time Play returns.
    sounds.Play(TGameSound::Begin, kAllOn);
    EXPECT_EQ(sounds.Playing(), TGameSound::Begin);
    sounds.Play(TGameSound::End, kAllOn);
    EXPECT_EQ(sounds.Playing(), TGameSound::End);
    sounds.Stop();
    EXPECT_FALSE(sounds.Playing().has_value());
}

TEST(GameSounds, SwitchedOffSoundsStaySilent) {
    TGameSounds sounds;
    ASSERT_TRUE(sounds.Available());
    const TSoundSwitches defaults; // only the move sound is on
    EXPECT_FALSE(defaults.IsOn(TGameSound::Begin));
    EXPECT_TRUE(defaults.IsOn(TGameSound::Move));
    EXPECT_FALSE(defaults.IsOn(TGameSound::End));
    sounds.Play(TGameSound::Begin, defaults);
    sounds.Play(TGameSound::End, defaults);
    EXPECT_FALSE(sounds.Playing().has_value());
    // A switched-off sound does not cut one that is already playing.
    sounds.Play(TGameSound::Move, defaults);
    sounds.Play(TGameSound::End, defaults);
    EXPECT_EQ(sounds.Playing(), TGameSound::Move);
}

TEST(GameSounds, AreHeardWithTheOtherSourcesAtTheirLevelOnTheSameDevice) {
    const int opened = TSdlOutput::DevicesOpened();
    TSdlLoopOutput music;
    TGameSounds sounds;
    ASSERT_TRUE(sounds.Available());
    EXPECT_EQ(TSdlOutput::DevicesOpened(), opened + 1);
    const auto output = TSdlOutput::Acquire();
    test::TConstantSource other(output, 1000);
    test::TMixRecorder recorder(output);

    sounds.SetLevel(0.0);
    sounds.Play(TGameSound::Begin, kAllOn);
    EXPECT_TRUE(test::TMixRecorder::AllAre(recorder.NextBlock(), 1000));
    EXPECT_EQ(sounds.Playing(), TGameSound::Begin);
    sounds.SetLevel(1.0);
    EXPECT_TRUE(recorder.OneOfNext(20, [](const std::vector<std::int16_t>& block) {
        return !test::TMixRecorder::AllAre(block, 1000);
    }));
    sounds.Stop();
    EXPECT_TRUE(test::TMixRecorder::AllAre(recorder.NextBlock(), 1000));
}

TEST(GameSounds, WithoutAnAudioDeviceEverythingIsQuietlyOff) {
    {
        const test::TEnvGuard driver("SDL_AUDIODRIVER", "no-such-driver");
        TGameSounds sounds;
        EXPECT_FALSE(sounds.Available());
        sounds.Play(TGameSound::Move, kAllOn);
        sounds.Stop();
        EXPECT_FALSE(sounds.Playing().has_value());
    }
    // The next set of sounds opens the device again.
    TGameSounds again;
    EXPECT_TRUE(again.Available());
}

} // namespace
} // namespace dorvane
