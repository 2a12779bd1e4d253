// The engine on the system's services, in real time: FFmpeg decoding into
// SDL2's dummy output (SDL_AUDIODRIVER=dummy plays without a card), MIDI
// through FluidSynth, the worker on its own thread and the 900 ms tick.
#include "engine_rig.h"

#include "music/backends/system_backends.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

namespace dorvane::test {
namespace {

const QString kData = QStringLiteral(DORVANE_STREAM_DATA);

// Runs the event loop until done() or ms pass.
bool WaitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    return true;
}

// A mono 16-bit WAVE file of ms of a quiet square wave.
void WriteWave(const QString& path, int ms) {
    const int rate = 22050;
    const int frames = rate * ms / 1000;
    QByteArray data;
    for (int i = 0; i < frames; ++i) {
        const std::int16_t v = (i / 25) % 2 ? 3000 : -3000;
        data.append(reinterpret_cast<const char*>(&v), 2);
    }
    auto le32 = [](QByteArray& out, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.append(char((v >> (8 * i)) & 0xFF));
    };
    QByteArray file("RIFF");
    le32(file, 36 + std::uint32_t(data.size()));
    file.append("WAVEfmt ");
    le32(file, 16);
    file.append("\x01\x00\x01\x00", 4);
    le32(file, rate);
    le32(file, rate * 2);
    file.append("\x02\x00\x10\x00", 4);
    file.append("data");
    le32(file, std::uint32_t(data.size()));
    file.append(data);
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(file);
}

class EnginePlayback : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        engine_ = std::make_unique<TMusicEngine>(host_, MakeSystemPlaybackBackends(),
                                                 TEngineRig::Sequential());
        engine_->Start();
    }

    void Add(const QStringList& paths) {
        for (const QString& path : paths)
            engine_->Playlist().Append(FileEntry(path));
        TScriptedRandom identity;
        engine_->Playlist().ShufflePlayOrder(identity);
    }

    bool CaptionStartsWith(const QString& prefix, int ms = 8000) {
        return WaitFor(
            [&] { return !host_.captions.empty() && host_.captions.back().startsWith(prefix); },
            ms);
    }

    QString Path(const QString& name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
    TRecordingHost host_;
    std::unique_ptr<TMusicEngine> engine_;
};

TEST_F(EnginePlayback, Mp3FlacAndWavePlayToTheirEndAndTheNextStarts) {
    WriteWave(Path("short.wav"), 800);
    Add({kData + "/stream_sine.mp3", kData + "/stream_sine.flac", Path("short.wav")});
    engine_->PlayChosen(0);
    ASSERT_TRUE(CaptionStartsWith("1. "));
    ASSERT_TRUE(WaitFor([&] { return engine_->PlayerMode() == kModePlaying; }, 3000));
    EXPECT_TRUE(engine_->StreamInUse());
    EXPECT_EQ(engine_->TrackLength(), 1000); // the MPEG header's whole seconds
    ASSERT_TRUE(CaptionStartsWith("2. "));
    ASSERT_TRUE(CaptionStartsWith("3. "));
    ASSERT_TRUE(CaptionStartsWith("1. "));
    EXPECT_TRUE(host_.messages.empty());
    // The .mp3's tags reached its entry on the way.
    EXPECT_EQ(engine_->Playlist().Entry(0).S3, "1");
}

TEST_F(EnginePlayback, SeekAndHalfSpeed) {
    // Long enough that a slow machine (a sanitizer build beside other jobs)
    // is still inside the track when the speed has changed.
    WriteWave(Path("long.wav"), 20000);
    Add({Path("long.wav")});
    engine_->PlayChosen(0);
    ASSERT_TRUE(WaitFor([&] { return engine_->PlayerMode() == kModePlaying; }, 4000));
    engine_->SeekByClick(50, 100); // 50 % of 20 s
    ASSERT_TRUE(WaitFor([&] { return engine_->TrackPosition() >= 9700; }, 5000));

    engine_->SetRequestedSpeed(500);
    ASSERT_TRUE(WaitFor([&] { return engine_->Speed() == 500; }, 5000));
    const std::int64_t at = engine_->TrackPosition();
    QElapsedTimer wall;
    wall.start();
    QThread::msleep(1500);
    ASSERT_TRUE(WaitFor([&] { return engine_->TrackPosition() > at + 300; }, 5000));
    // About half a second of track per second of playing. A starved audio
    // thread only lowers the ratio, so the bound that shows the speed is the
    // upper one: well under the whole second of speed 100 %.
    const std::int64_t advanced = engine_->TrackPosition() - at;
    EXPECT_LT(double(advanced) / double(wall.elapsed()), 0.8) << advanced << " ms of track";
}

TEST_F(EnginePlayback, MidiPlaysThroughTheSynthesizer) {
    Add({QStringLiteral(DORVANE_SOUND_DATA "/dorvane_theme.mid")});
    engine_->PlayChosen(0);
    ASSERT_TRUE(WaitFor([&] { return engine_->PlayerMode() == kModePlaying; }, 5000))
        << engine_->PlayerMode() << " " << host_.messages.size() << " " << host_.captions.size();
    EXPECT_FALSE(engine_->StreamInUse());
    ASSERT_TRUE(WaitFor([&] { return engine_->TrackPosition() > 300; }, 5000));
    EXPECT_GT(engine_->TrackLength(), 20000);
    EXPECT_FALSE(engine_->SpeedBoxEnabled());
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(EnginePlayback, CorruptAndMissingFilesSwitchMusicOffWithTheMessage) {
    {
        QFile bad(Path("broken.mp3"));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
        bad.write(QByteArray(4096, '\x5A'));
    }
    for (const QString& name : {QStringLiteral("broken.mp3"), QStringLiteral("gone.flac")}) {
        SCOPED_TRACE(name.toStdString());
        host_.messages.clear();
        engine_->Playlist().Clear();
        Add({Path(name), kData + "/stream_sine.mp3"});
        engine_->PlayChosen(0);
        ASSERT_TRUE(WaitFor([&] { return !host_.messages.empty(); }, 5000));
        EXPECT_EQ(host_.messages[0], OpenFailedMessage(Path(name)));
        EXPECT_FALSE(engine_->PlayOn());
        QThread::msleep(1000);
        WaitFor([] { return false; }, 1000);
        EXPECT_EQ(host_.messages.size(), 1u);
        EXPECT_EQ(engine_->Playlist().CurrentIndex(), 0);
    }
}

TEST_F(EnginePlayback, AfterAFailedStartPlayAndNextMoveOnFromTheFailedEntry) {
    {
        QFile bad(Path("broken.mp3"));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
        bad.write(QByteArray(4096, '\x5A'));
    }
    const std::vector<std::pair<const char*, std::function<void()>>> commands{
        {"Play", [&] { engine_->TogglePlay(); }}, {"Next", [&] { engine_->Next(); }}};
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        host_.messages.clear();
        engine_->Playlist().Clear();
        // Two entries that fail before the one that plays.
        Add({Path("broken.mp3"), Path("gone.flac"), kData + "/stream_sine.mp3"});
        engine_->PlayChosen(0);
        ASSERT_TRUE(WaitFor([&] { return !host_.messages.empty(); }, 5000));
        EXPECT_FALSE(engine_->PlayOn());
        command();
        ASSERT_TRUE(WaitFor([&] { return engine_->PlayerMode() == kModePlaying; }, 8000));
        EXPECT_EQ(engine_->Playlist().CurrentIndex(), 2);
        EXPECT_TRUE(engine_->PlayOn());
        EXPECT_EQ(host_.messages.size(), 1u); // the one of the first failure
        engine_->TogglePlay();
        WaitFor([&] { return !engine_->StreamInUse(); }, 3000);
    }

    // A list where nothing opens: one round, then music is off with the message.
    host_.messages.clear();
    engine_->Playlist().Clear();
    Add({Path("broken.mp3"), Path("gone.flac")});
    engine_->PlayChosen(0);
    ASSERT_TRUE(WaitFor([&] { return !host_.messages.empty(); }, 5000));
    engine_->TogglePlay();
    ASSERT_TRUE(WaitFor([&] { return host_.messages.size() == 2; }, 8000));
    EXPECT_FALSE(engine_->PlayOn());
    WaitFor([] { return false; }, 2000);
    EXPECT_EQ(host_.messages.size(), 2u);
    EXPECT_FALSE(engine_->PlayOn());
}

TEST_F(EnginePlayback, ClosingWhileATrackPlaysEndsCleanly) {
    WriteWave(Path("long.wav"), 6000);
    Add({Path("long.wav")});
    engine_->PlayChosen(0);
    ASSERT_TRUE(WaitFor([&] { return engine_->PlayerMode() == kModePlaying; }, 4000));
    engine_->Shutdown();
    EXPECT_FALSE(engine_->StreamInUse());
    EXPECT_EQ(engine_->PlayerMode(), kModeStopped);
    engine_.reset();
}

} // namespace
} // namespace dorvane::test
