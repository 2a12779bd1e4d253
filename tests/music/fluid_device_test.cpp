// The device player on the shipped MIDI tune, heard through SDL's dummy
// output (tests run with SDL_AUDIODRIVER=dummy, which plays in real time
// without a sound card), and the files and setups it must refuse.
#include "music/backends/fluid_device.h"

#include "music_fixture.h"
#include "support/env_guard.h"
#include "support/mix_probe.h"
#include "support/wait_for.h"

#include <QFile>

#include <gtest/gtest.h>

#include <thread>

namespace dorvane {
namespace {

const QString kTune = QStringLiteral(DORVANE_SOUND_DATA "/dorvane_theme.mid");

bool WaitForMode(const TDevicePort& device, TDeviceMode mode) {
    return test::WaitFor([&] { return device.Mode() == mode; }, 10000);
}

class FluidDevice : public testing::Test {
protected:
    void SetUp() override {
        if (FindGeneralMidiSoundFont().isEmpty()) GTEST_SKIP() << "no General MIDI SoundFont";
        device_ = MakeFluidDevice();
    }
    std::unique_ptr<TDevicePort> device_;
};

TEST_F(FluidDevice, TheTuneOpensStoppedAtItsStartWithItsLength) {
    ASSERT_TRUE(device_->Open(kTune));
    EXPECT_TRUE(device_->IsOpen());
    EXPECT_EQ(device_->Mode(), TDeviceMode::Stopped);
    EXPECT_EQ(device_->PositionMs(), 0);
    EXPECT_GT(device_->LengthMs(), 31000);
    EXPECT_LT(device_->LengthMs(), 33000);
    device_->Close();
    EXPECT_FALSE(device_->IsOpen());
    EXPECT_EQ(device_->LengthMs(), 0);
}

TEST_F(FluidDevice, PlaysPausesAndResumes) {
    ASSERT_TRUE(device_->Open(kTune));
    device_->Play();
    EXPECT_EQ(device_->Mode(), TDeviceMode::Playing);
    ASSERT_TRUE(test::WaitFor([&] { return device_->PositionMs() > 300; }, 10000));

    device_->Pause();
    EXPECT_EQ(device_->Mode(), TDeviceMode::Paused);
    const std::int64_t held = device_->PositionMs();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(device_->PositionMs(), held);

    device_->Play();
    EXPECT_EQ(device_->Mode(), TDeviceMode::Playing);
    EXPECT_TRUE(test::WaitFor([&] { return device_->PositionMs() > held + 200; }, 10000));
}

TEST_F(FluidDevice, SeeksWhileStoppedAndWhilePlaying) {
    ASSERT_TRUE(device_->Open(kTune));
    device_->Seek(20000);
    EXPECT_EQ(device_->Mode(), TDeviceMode::Stopped);
    EXPECT_NEAR(double(device_->PositionMs()), 20000.0, 5.0);
    device_->Play();
    ASSERT_TRUE(test::WaitFor([&] { return device_->PositionMs() > 20200; }, 10000));
    EXPECT_LT(device_->PositionMs(), 29000); // it went on from the target, not from far beyond

    device_->Seek(5000);
    ASSERT_TRUE(test::WaitFor([&] { return device_->PositionMs() < 15000; }, 10000));
    EXPECT_GE(device_->PositionMs(), 5000 - 5);
    EXPECT_EQ(device_->Mode(), TDeviceMode::Playing);

    device_->Stop();
    EXPECT_EQ(device_->Mode(), TDeviceMode::Stopped);
    const std::int64_t at = device_->PositionMs();
    EXPECT_GE(at, 5000 - 5);
    // Stop, seek, play: how the engine restarts a track.
    // The player takes the seek on its next audio period.
    device_->Seek(0);
    device_->Play();
    ASSERT_TRUE(test::WaitFor([&] { return device_->PositionMs() < at; }, 10000));
    EXPECT_TRUE(test::WaitFor([&] { return device_->PositionMs() > 100; }, 10000));
}

TEST_F(FluidDevice, StopsByItselfAtTheEndAndPlaysAgainFromTheStart) {
    ASSERT_TRUE(device_->Open(kTune));
    device_->Seek(device_->LengthMs() - 400);
    device_->Play();
    ASSERT_TRUE(WaitForMode(*device_, TDeviceMode::Stopped));
    EXPECT_GE(device_->PositionMs(), device_->LengthMs() - 50);

    device_->Play();
    EXPECT_EQ(device_->Mode(), TDeviceMode::Playing);
    ASSERT_TRUE(test::WaitFor([&] { return device_->PositionMs() < 5000; }, 10000));
}

TEST_F(FluidDevice, TheSynthIsHeardInTheSharedOutputUntilPaused) {
    const auto output = TSdlOutput::Acquire();
    ASSERT_TRUE(output);
    const int opened = TSdlOutput::DevicesOpened();
    ASSERT_TRUE(device_->Open(kTune));
    EXPECT_EQ(TSdlOutput::DevicesOpened(), opened); // no device of its own
    test::TMixRecorder recorder(output);            // joins after the synth
    const auto sounding = [](const std::vector<std::int16_t>& block) {
        return !test::TMixRecorder::AllAre(block, 0);
    };
    EXPECT_FALSE(recorder.OneOfNext(3, sounding)); // open is silent
    device_->Play();
    EXPECT_TRUE(recorder.OneOfNext(100, sounding));
    device_->Pause();
    EXPECT_TRUE(recorder.OneOfNext(200, [](const std::vector<std::int16_t>& block) {
        return test::TMixRecorder::AllAre(block, 0);
    }));
}

TEST_F(FluidDevice, RefusesWhatIsNotAMidiFile) {
    test::TMusicFolder folder;
    QFile tune(kTune);
    ASSERT_TRUE(tune.open(QIODevice::ReadOnly));
    const QByteArray bytes = tune.readAll();
    const QString cases[] = {
        folder.Path(QStringLiteral("missing.mid")),
        folder.Write(QStringLiteral("empty.mid"), QByteArray()),
        folder.Write(QStringLiteral("truncated.mid"), bytes.left(40)),
        folder.Write(QStringLiteral("cut in a track.mid"), bytes.left(bytes.size() - 30)),
        folder.Write(QStringLiteral("text.mid"), "MThd is not enough to be a MIDI file"),
        folder.Fifo(QStringLiteral("fifo.mid")),
        folder.Folder(QStringLiteral("folder.mid")),
    };
    for (const QString& path : cases) {
        EXPECT_FALSE(device_->Open(path)) << path.toStdString();
        EXPECT_FALSE(device_->IsOpen());
        EXPECT_EQ(device_->Mode(), TDeviceMode::Stopped);
        EXPECT_EQ(device_->LengthMs(), 0);
        device_->Play(); // a command without a file is dropped
        EXPECT_EQ(device_->Mode(), TDeviceMode::Stopped);
    }
    // A failed open leaves nothing behind that the next file would trip on.
    EXPECT_TRUE(device_->Open(kTune));
}

TEST_F(FluidDevice, WithoutASoundOutputOpenFails) {
    const test::TEnvGuard driver("SDL_AUDIODRIVER", "no-such-driver");
    EXPECT_FALSE(device_->Open(kTune));
    EXPECT_FALSE(device_->IsOpen());
    EXPECT_EQ(device_->Mode(), TDeviceMode::Stopped);
}

TEST(FluidDeviceSetup, WithoutASoundFontOpenFails) {
    const auto device = MakeFluidDevice(QString());
    EXPECT_FALSE(device->Open(kTune));
    EXPECT_FALSE(device->IsOpen());
}

TEST(FluidDeviceSetup, TheFirstSoundFontThatIsAFileIsTaken) {
    test::TMusicFolder folder;
    const QString real = folder.Write(QStringLiteral("b.sf2"));
    const QStringList candidates = {folder.Path(QStringLiteral("a.sf2")),
                                    folder.Folder(QStringLiteral("dir.sf2")), real,
                                    folder.Write(QStringLiteral("c.sf2"))};
    EXPECT_EQ(FindGeneralMidiSoundFont(candidates), real);
    EXPECT_EQ(FindGeneralMidiSoundFont(candidates.mid(0, 2)), QString());
}

} // namespace
} // namespace dorvane
