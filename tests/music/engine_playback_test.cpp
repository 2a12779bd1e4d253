// The engine on the system's services, in real time: FFmpeg decoding into
// SDL2's dummy output (SDL_AUDIODRIVER=dummy plays without a card), MIDI
// through FluidSynth, the worker on its own thread and the 900 ms tick.
#include "engine_rig.h"

#include "music/backends/system_backends.h"
#include "support/hostile_sound_files.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

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

    // The message of a file that cannot be opened comes for path, music goes
    // off, and the resident memory stays within 300 MB of startKb meanwhile.
    void ExpectGivenUp(const QString& path, long startKb) {
        long peakKb = startKb;
        ASSERT_TRUE(WaitFor(
            [&] {
                peakKb = std::max(peakKb, ResidentKb());
                return !host_.messages.empty() || peakKb - startKb > 300 * 1024;
            },
            15000));
        EXPECT_LT(peakKb - startKb, 300 * 1024);
        ASSERT_FALSE(host_.messages.empty());
        EXPECT_EQ(host_.messages[0], OpenFailedMessage(path));
        EXPECT_FALSE(engine_->PlayOn());
    }

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

// Files that give no sound: a track followed by 5 GB of zeros (a sparse
// file, as a preallocated download leaves it) and an ffconcat script named
// as an MP3 that names a FIFO. Each is given up like a file that cannot be
// opened, the memory stays put, and the close is quick.
TEST_F(EnginePlayback, FilesThatGiveNoSoundAreGivenUpWithTheMessage) {
    if (!test::kResourceBoundsHold)
        GTEST_SKIP() << "memory and time bounds are checked in the ordinary build";
    const std::string fifo = Path("pipe").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_TRUE(WriteText(Path("concat.mp3").toStdString(), ConcatScript("pipe")));
    ASSERT_TRUE(WriteSparseTrack(Path("download.mp3").toStdString(),
                                 (kData + "/stream_sine.mp3").toStdString(),
                                 std::uint64_t(5) << 30));
    const long startKb = ResidentKb();
    for (const QString& name : {QStringLiteral("download.mp3"), QStringLiteral("concat.mp3")}) {
        SCOPED_TRACE(name.toStdString());
        host_.messages.clear();
        engine_->Playlist().Clear();
        Add({Path(name), kData + "/stream_sine.mp3"});
        engine_->PlayChosen(0);
        ExpectGivenUp(Path(name), startKb);
        EXPECT_FALSE(engine_->StreamInUse());
    }
}

// A minute of sound that runs into 5 GB of zeros: it plays, and where the
// zeros begin (reached here by a seek near the end) it is given up with the
// message instead of the next track starting.
TEST_F(EnginePlayback, ATrackThatRunsIntoZerosIsGivenUpWhereTheyBegin) {
    if (!test::kResourceBoundsHold)
        GTEST_SKIP() << "memory and time bounds are checked in the ordinary build";
    QFile second(kData + "/stream_sine.mp3");
    ASSERT_TRUE(second.open(QIODevice::ReadOnly));
    const QByteArray one = second.readAll();
    QByteArray minute;
    for (int i = 0; i < 60; ++i)
        minute += one;
    ASSERT_TRUE(WriteText(Path("minute.mp3").toStdString(), minute.toStdString()));
    ASSERT_TRUE(WriteSparseTrack(Path("download.mp3").toStdString(),
                                 Path("minute.mp3").toStdString(), std::uint64_t(5) << 30));
    Add({Path("download.mp3"), kData + "/stream_sine.mp3"});
    engine_->PlayChosen(0);
    ASSERT_TRUE(WaitFor([&] { return engine_->PlayerMode() == kModePlaying; }, 5000));
    EXPECT_TRUE(host_.messages.empty());
    const long startKb = ResidentKb();
    // The worker's seek itself: the first frame's header claims one second,
    // which is all the engine's own seek would allow.
    engine_->State().SeekTarget = 55000;
    engine_->State().Post(TEngineCommand::Seek);
    ExpectGivenUp(Path("download.mp3"), startKb);
    EXPECT_EQ(engine_->Playlist().CurrentIndex(), 0) << "the next track started";
}

// A service that blocks in the kernel and never asks the cancel (a decoder
// reading a FIFO no one writes): the close waits for the worker a bounded
// time, then goes on without it.
class TBlockingDecoder final : public IStreamDecoder {
public:
    explicit TBlockingDecoder(std::string fifo) : fifo_(std::move(fifo)) {}
    bool Open(const std::string&) override {
        const int fd = ::open(fifo_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) ::close(fd);
        return false;
    }
    void Close() override {}
    TPcmFormat Format() const override { return {}; }
    std::int64_t DurationMs() const override { return 0; }
    TDecodedPiece Read(std::uint8_t*, std::size_t) override { return {}; }
    std::int64_t CurrentMs() const override { return 0; }
    bool Seek(std::int64_t) override { return false; }
    bool Dry() const override { return true; }

private:
    std::string fifo_;
};

TEST(EngineShutdown, AWorkerStuckInAServiceDoesNotHoldTheClose) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string fifo = dir.filePath("pipe").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    TPlaybackBackends backends = MakeSystemPlaybackBackends();
    backends.decoder = std::make_unique<TBlockingDecoder>(fifo);
    // Both kept when the worker is let go, as the engine's owner must.
    static TRecordingHost host;
    static TMusicEngine* engine = nullptr;
    engine = new TMusicEngine(host, std::move(backends), TEngineRig::Sequential());
    engine->Start();
    engine->Playlist().Append(FileEntry(QStringLiteral(DORVANE_STREAM_DATA "/stream_sine.mp3")));
    engine->PlayChosen(0);
    ASSERT_TRUE(WaitFor([&] { return engine->PlayerMode() == kModeOpening; }, 5000));
    // The FIFO is opened once the close returns, or after 8 s should it
    // wait for ever: that lets the worker go on, so that the test fails
    // instead of hanging.
    std::atomic<bool> closed{false};
    std::thread rescue([&fifo, &closed] {
        for (int i = 0; i < 160 && !closed; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) ::close(fd);
    });
    const auto before = std::chrono::steady_clock::now();
    engine->Shutdown();
    const auto waited = std::chrono::steady_clock::now() - before;
    closed = true;
    EXPECT_LT(waited, std::chrono::seconds(3));
    EXPECT_TRUE(engine->Worker().Abandoned());
    rescue.join();
    if (!engine->Worker().Abandoned()) delete engine;
}

} // namespace
} // namespace dorvane::test
