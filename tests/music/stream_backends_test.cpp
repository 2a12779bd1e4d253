// The stream path on its real backends: FFmpeg decoding WAV files written
// here and the committed FLAC and MP3 tones, and the feed playing through
// SDL2's output (SDL_AUDIODRIVER=dummy plays in real time without a card).
#include "music/backends/ffmpeg_decoder.h"
#include "music/backends/sdl_loop_output.h"
#include "music/stream_feed.h"
#include "support/feed_rhythm.h"
#include "support/hostile_sound_files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace dorvane::test {
namespace {

namespace fs = std::filesystem;

const std::string kData = DORVANE_STREAM_DATA;

class TTempFolder {
public:
    TTempFolder() {
        std::string pattern = (fs::temp_directory_path() / "dorvane-stream-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
    ~TTempFolder() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove_all(path_, ignored);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

void Put16(std::string& out, unsigned v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// Frame f, channel c of the WAV files written here.
std::int16_t Pattern(std::int64_t f, int c) {
    return static_cast<std::int16_t>((f * 7 + c * 1000) % 20000 - 10000);
}

// A PCM WAV of frames frames; claimedFrames in the header when it differs.
void WriteWav(const std::string& path, int rate, int channels, std::int64_t frames,
              std::int64_t claimedFrames = -1) {
    if (claimedFrames < 0) claimedFrames = frames;
    const auto dataBytes = std::uint32_t(claimedFrames * channels * 2);
    std::string out = "RIFF";
    Put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, unsigned(channels));
    Put32(out, std::uint32_t(rate));
    Put32(out, std::uint32_t(rate * channels * 2));
    Put16(out, unsigned(channels * 2));
    Put16(out, 16);
    out += "data";
    Put32(out, dataBytes);
    for (std::int64_t f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c)
            Put16(out, std::uint16_t(Pattern(f, c)));
    std::ofstream(path, std::ios::binary).write(out.data(), std::streamsize(out.size()));
}

// Everything the decoder gives, as samples.
std::vector<std::int16_t> DecodeAll(TFfmpegDecoder& decoder, std::size_t limit = 1 << 24) {
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint8_t> piece(8192);
    while (bytes.size() < limit) {
        const TDecodedPiece got = decoder.Read(piece.data(), piece.size());
        bytes.insert(bytes.end(), piece.begin(), piece.begin() + std::ptrdiff_t(got.Bytes));
        if (got.Bytes < piece.size()) break;
    }
    std::vector<std::int16_t> samples(bytes.size() / 2);
    if (!samples.empty()) std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

TEST(FfmpegDecoder, AWavDecodesToItsOwnSamples) {
    TTempFolder folder;
    const std::string wav = folder / "a.wav";
    WriteWav(wav, 22050, 2, 33075); // 1.5 s
    TFfmpegDecoder decoder;
    ASSERT_TRUE(decoder.Open(wav));
    EXPECT_EQ(decoder.Format(), (TPcmFormat{22050, 2, 16, 4}));
    EXPECT_EQ(decoder.DurationMs(), 1500);
    const auto samples = DecodeAll(decoder);
    ASSERT_EQ(samples.size(), 33075u * 2);
    for (std::int64_t f = 0; f < 33075; f += 997)
        for (int c = 0; c < 2; ++c)
            ASSERT_EQ(samples[std::size_t(f * 2 + c)], Pattern(f, c)) << f;
    EXPECT_TRUE(decoder.Dry());
    EXPECT_EQ(decoder.CurrentMs(), 1500);
}

TEST(FfmpegDecoder, SeekLandsOnTheFrameOfTheTime) {
    TTempFolder folder;
    const std::string wav = folder / "a.wav";
    WriteWav(wav, 8000, 1, 16000);
    TFfmpegDecoder decoder;
    ASSERT_TRUE(decoder.Open(wav));
    DecodeAll(decoder);
    ASSERT_TRUE(decoder.Dry());
    ASSERT_TRUE(decoder.Seek(750));
    EXPECT_FALSE(decoder.Dry());
    std::array<std::uint8_t, 20> out{};
    const TDecodedPiece piece = decoder.Read(out.data(), out.size());
    EXPECT_EQ(piece.Bytes, 20u);
    EXPECT_EQ(piece.StartMs, 750);
    std::int16_t first = 0;
    std::memcpy(&first, out.data(), 2);
    EXPECT_EQ(first, Pattern(6000, 0));
}

// The committed tones: 441 Hz, one second, amplitude 1/8 of full scale.
struct TTone {
    const char* file;
    TPcmFormat format;
    int toleranceMs;
    int peak; // a mono tone made stereo is 3 dB down on each side
};

class CompressedTones : public testing::TestWithParam<TTone> {};

TEST_P(CompressedTones, DecodeToTheTone) {
    const TTone tone = GetParam();
    TFfmpegDecoder decoder;
    ASSERT_TRUE(decoder.Open(kData + "/" + tone.file));
    EXPECT_EQ(decoder.Format(), tone.format);
    EXPECT_NEAR(decoder.DurationMs(), 1000, tone.toleranceMs);
    const auto samples = DecodeAll(decoder);
    const int channels = tone.format.Channels;
    const auto frames = std::int64_t(samples.size()) / channels;
    EXPECT_NEAR(frames * 1000 / tone.format.SampleRate, 1000, tone.toleranceMs);
    int peak = 0, crossings = 0;
    for (std::int64_t f = 1; f < frames; ++f) {
        const int a = samples[std::size_t((f - 1) * channels)];
        const int b = samples[std::size_t(f * channels)];
        peak = std::max(peak, std::abs(b));
        if ((a < 0) != (b < 0)) ++crossings;
    }
    EXPECT_NEAR(peak, tone.peak, 300);
    EXPECT_NEAR(crossings, 882, 20);

    ASSERT_TRUE(decoder.Seek(500));
    const auto rest = DecodeAll(decoder);
    EXPECT_NEAR(std::int64_t(rest.size()) / channels * 1000 / tone.format.SampleRate, 500,
                tone.toleranceMs);
}

INSTANTIATE_TEST_SUITE_P(Files, CompressedTones,
                         testing::Values(TTone{"stream_sine.flac", {22050, 1, 16, 2}, 2, 4096},
                                         TTone{"stream_sine.mp3", {44100, 2, 16, 4}, 60, 2896}));

// The piece the "Sound" folder ships as FLAC, written by the artwork
// generator's own encoder: every frame must decode, to the last sample.
TEST(FfmpegDecoder, TheShippedFlacPieceDecodesWhole) {
    TFfmpegDecoder decoder;
    ASSERT_TRUE(decoder.Open(DORVANE_SOUND_DATA "/evening_arpeggio.flac"));
    EXPECT_EQ(decoder.Format(), (TPcmFormat{22050, 1, 16, 2}));
    EXPECT_NEAR(decoder.DurationMs(), 21800, 1);
    EXPECT_EQ(DecodeAll(decoder).size(), std::size_t(480690)); // 21.8 s of 22050 Hz
}

TEST(FfmpegDecoder, RefusesWhatIsNoSoundFile) {
    TTempFolder folder;
    const std::string noise = folder / "noise.mp3";
    {
        std::string bytes(4096, '\0');
        std::uint32_t x = 12345;
        for (char& b : bytes)
            b = char((x = x * 1103515245 + 12345) >> 24);
        std::ofstream(noise, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    }
    const std::string empty = folder / "empty.wav";
    std::ofstream(empty).close();
    const std::string headerOnly = folder / "header.wav";
    { std::ofstream(headerOnly, std::ios::binary) << "RIFF\x24\0\0\0WAVEfmt "; }
    const std::string fifo = folder / "fifo.wav";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path :
         {folder / "missing.wav", folder / "", noise, empty, headerOnly, fifo}) {
        TFfmpegDecoder decoder;
        EXPECT_FALSE(decoder.Open(path)) << path;
        EXPECT_TRUE(decoder.Dry());
        std::array<std::uint8_t, 64> out{};
        EXPECT_EQ(decoder.Read(out.data(), out.size()).Bytes, 0u);
    }
}

TEST(FfmpegDecoder, ATruncatedFileEndsEarly) {
    TTempFolder folder;
    const std::string wav = folder / "cut.wav";
    WriteWav(wav, 8000, 1, 4000, 16000); // the header promises 2 s, 0.5 s are there
    TFfmpegDecoder decoder;
    ASSERT_TRUE(decoder.Open(wav));
    EXPECT_EQ(DecodeAll(decoder).size(), 4000u);
    EXPECT_TRUE(decoder.Dry());

    // A compressed file cut in the middle of a frame (past the 8 KiB of
    // padding FFmpeg's muxer leaves after the tags).
    std::ifstream in(kData + "/stream_sine.flac", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string flac = folder / "cut.flac";
    std::ofstream(flac, std::ios::binary)
        .write(bytes.data(), std::streamsize(bytes.size() * 3 / 4));
    ASSERT_TRUE(decoder.Open(flac));
    const auto samples = DecodeAll(decoder);
    EXPECT_GT(samples.size(), 0u);
    EXPECT_LT(samples.size(), 22050u);
}

// The sound formats stay open to the decoder whatever it shuts out: a second
// of a tone in each container and codec the ffmpeg program writes, under
// the names a playlist gives them.
TEST(FfmpegDecoder, EverySoundFormatOpens) {
    TTempFolder folder;
    const std::pair<const char*, const char*> files[] = {
        {"a.wma", "wmav2"},     {"a.m4a", "aac"},        {"a.aac", "aac"},
        {"a.ac3", "ac3"},       {"a.ogg", "flac"},       {"a.opus", "libopus"},
        {"a.mka", "pcm_s16le"}, {"a.aiff", "pcm_s16be"}, {"a.wv", "wavpack"},
        {"a.tta", "tta"},       {"a.caf", "pcm_s16le"},  {"a.au", "pcm_s16be"},
        {"a.mp2", "mp2"},       {"a.w64", "pcm_s16le"},
    };
    for (const auto& [name, codec] : files) {
        SCOPED_TRACE(name);
        const std::string path = folder / name;
        const std::string command = std::string(DORVANE_FFMPEG) +
                                    " -hide_banner -loglevel error -y -f lavfi -i "
                                    "sine=frequency=441:duration=1:sample_rate=22050 -c:a " +
                                    codec + " '" + path + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        TFfmpegDecoder decoder;
        ASSERT_TRUE(decoder.Open(path));
        const auto samples = DecodeAll(decoder);
        const TPcmFormat format = decoder.Format();
        EXPECT_NEAR(double(samples.size()) / format.Channels / format.SampleRate, 1.0, 0.1);
        EXPECT_FALSE(decoder.Failed());
    }
}

// Opens path on a thread of its own, so that a decoder that blocks fails the
// test instead of hanging it: whether it opened, or nothing after ms.
std::optional<bool> OpenWithin(const std::string& path, int ms) {
    auto done = std::make_shared<std::promise<bool>>();
    std::future<bool> opened = done->get_future();
    std::thread([path, done] {
        TFfmpegDecoder decoder;
        done->set_value(decoder.Open(path));
    }).detach();
    if (opened.wait_for(std::chrono::milliseconds(ms)) != std::future_status::ready)
        return std::nullopt;
    return opened.get();
}

// Scripts and playlists under a sound file's name: FFmpeg would open what
// they name (a FIFO blocks for ever, /dev/zero reads for ever, another file
// plays in their place). Only the named file is ever read.
TEST(FfmpegDecoder, OpensOnlyTheNamedFile) {
    TTempFolder folder;
    const std::string wav = folder / "real.wav";
    WriteWav(wav, 8000, 1, 8000);
    const std::string fifo = folder / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<const char*, std::string> cases[] = {
        {"concat-file.mp3", ConcatScript(wav)},
        {"concat-url.mp3", ConcatScript("file:" + wav)},
        {"concat-fifo.mp3", ConcatScript(fifo)},
        {"concat-near.mp3", ConcatScript("pipe")},
        {"concat-near.wav", ConcatScript("real.wav")},
        {"concat-zero.wav", ConcatScript("/dev/zero")},
        {"hls.mp3", HlsPlaylist(wav)},
        {"hls.m3u8", HlsPlaylist(wav)},
    };
    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(name);
        const std::string path = folder / name;
        ASSERT_TRUE(WriteText(path, text));
        EXPECT_EQ(OpenWithin(path, 10000), std::optional<bool>(false));
    }
    // Nobody has opened the FIFO for reading: a writer finds no reader.
    const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    const int error = errno;
    if (writer >= 0) ::close(writer);
    EXPECT_EQ(writer, -1);
    EXPECT_EQ(error, ENXIO);
}

// A track followed by 5 GB of zeros (a sparse file, as a preallocated
// download leaves it): a demuxer hunting for frames keeps every byte it
// reads. The decoder gives the file up after a bounded stretch of zeros,
// with bounded memory: at the open when the track is too short to open it
// (the open's look at the stream reads into the zeros), after the track's
// sound otherwise, and then seeks no more. The test's own cancel stops a
// decoder that does not (memory or time past the bounds), which then fails
// the test instead of filling the machine.
TEST(FfmpegDecoder, ATrackFollowedByGigabytesOfZerosIsGivenUp) {
    if (!test::kResourceBoundsHold)
        GTEST_SKIP() << "memory and time bounds are checked in the ordinary build";
    TTempFolder folder;
    std::ifstream in(kData + "/stream_sine.mp3", std::ios::binary);
    const std::string second((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    std::string minute;
    for (int i = 0; i < 60; ++i)
        minute += second;
    ASSERT_TRUE(WriteText(folder / "minute.mp3", minute));
    struct TCase {
        std::string track;
        bool opens;
    };
    for (const TCase& c :
         {TCase{kData + "/stream_sine.mp3", false}, TCase{folder / "minute.mp3", true}}) {
        SCOPED_TRACE(c.track);
        const std::string sparse = folder / "download.mp3";
        ASSERT_TRUE(WriteSparseTrack(sparse, c.track, std::uint64_t(5) << 30));
        const long startKb = ResidentKb();
        const auto start = std::chrono::steady_clock::now();
        long peakKb = startKb;
        bool stopped = false;
        TFfmpegDecoder decoder;
        decoder.SetCancel([&] {
            peakKb = std::max(peakKb, ResidentKb());
            stopped = stopped || peakKb - startKb > 300 * 1024 ||
                      std::chrono::steady_clock::now() - start > std::chrono::seconds(30);
            return stopped;
        });
        const bool opened = decoder.Open(sparse);
        EXPECT_EQ(opened, c.opens);
        if (opened) {
            const auto samples = DecodeAll(decoder, std::size_t(1) << 30);
            EXPECT_GT(double(samples.size()) / 2 / 44100, 50.0) << "the track's sound";
            EXPECT_TRUE(decoder.Failed());
            EXPECT_TRUE(decoder.Dry());
            EXPECT_FALSE(decoder.Seek(0)) << "no second round through the zeros";
        }
        EXPECT_FALSE(stopped) << "the test's cancel ended it at " << (peakKb - startKb) / 1024
                              << " MB more";
        EXPECT_LT(peakKb - startKb, 300 * 1024);
    }
    // An open starts afresh.
    TFfmpegDecoder decoder;
    ASSERT_TRUE(decoder.Open(kData + "/stream_sine.mp3"));
    EXPECT_FALSE(decoder.Failed());
}

// The program's close stops an open and a read at the next read of the file.
TEST(FfmpegDecoder, TheCancelEndsAReadAtOnce) {
    std::atomic<bool> cancelled{false};
    TFfmpegDecoder decoder;
    decoder.SetCancel([&] { return cancelled.load(); });
    ASSERT_TRUE(decoder.Open(DORVANE_SOUND_DATA "/evening_arpeggio.flac"));
    std::array<std::uint8_t, 4096> out{};
    EXPECT_EQ(decoder.Read(out.data(), out.size()).Bytes, out.size());
    cancelled = true;
    std::vector<std::uint8_t> rest(std::size_t(22050) * 2 * 30);
    EXPECT_LT(decoder.Read(rest.data(), rest.size()).Bytes, rest.size() / 4)
        << "it read on through the cancel";
    EXPECT_FALSE(decoder.Failed()) << "a cancel is no fault of the file";
    TFfmpegDecoder other;
    other.SetCancel([] { return true; });
    EXPECT_FALSE(other.Open(DORVANE_SOUND_DATA "/evening_arpeggio.flac"));
}

using test::PlayUntilStopped;

class SdlStream : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(output.Available()) << "no SDL audio device"; }
    TTempFolder folder;
    TFfmpegDecoder decoder;
    TSdlLoopOutput output;
    TStreamFeed feed{decoder, output};
};

TEST_F(SdlStream, AFilePlaysToItsEnd) {
    const std::string wav = folder / "a.wav";
    WriteWav(wav, 22050, 2, 33075);
    ASSERT_TRUE(feed.Open(wav));
    feed.Start();
    std::int64_t last = 0;
    bool snapshotMoved = false;
    ASSERT_TRUE(PlayUntilStopped(feed, [&] {
        last = std::max(last, feed.Position());
        if (feed.SnapshotFresh(TSnapshotReader::Playlist)) {
            const TWaveSnapshot s = feed.TakeSnapshot(TSnapshotReader::Playlist);
            snapshotMoved = snapshotMoved || s[0] != 128;
        }
    }));
    EXPECT_EQ(feed.EndTimeMs(), 0); // reset by the stop
    EXPECT_GT(last, 1000);
    EXPECT_LE(last, 1500);
    EXPECT_TRUE(snapshotMoved);
    EXPECT_FALSE(output.Playing());
}

TEST_F(SdlStream, SeekPlaysOnFromTheTime) {
    const std::string wav = folder / "a.wav";
    WriteWav(wav, 22050, 1, 22050 * 3);
    ASSERT_TRUE(feed.Open(wav));
    feed.Start();
    feed.Seek(2500);
    EXPECT_GE(feed.Position(), 2500);
    std::int64_t last = 0;
    ASSERT_TRUE(PlayUntilStopped(feed, [&] { last = std::max(last, feed.Position()); }));
    EXPECT_GE(last, 2500);
}

// The play cursor's stream time moves at the speed's share of the device's
// frames (counted by the output), whatever the machine's own pace.
class SdlSpeed : public SdlStream, public testing::WithParamInterface<int> {};

TEST_P(SdlSpeed, TheStreamAdvancesAtTheSpeed) {
    const int speed = GetParam();
    const std::string wav = folder / "long.wav";
    WriteWav(wav, 22050, 2, 22050 * 4);
    ASSERT_TRUE(feed.Open(wav));
    feed.SetSpeed(speed);
    feed.Start();
    EXPECT_EQ(output.Frequency(), 22050 * speed / 1000);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const std::int64_t from = feed.Position();
    const std::uint64_t playedFrom = output.FramesPlayed();
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    const std::int64_t to = feed.Position();
    const std::uint64_t playedTo = output.FramesPlayed();
    const double deviceMs = double(playedTo - playedFrom) * 1000.0 / output.DeviceRate();
    ASSERT_GT(deviceMs, 200.0);
    EXPECT_NEAR(double(to - from) / deviceMs, speed / 1000.0, 0.1);
}

INSTANTIATE_TEST_SUITE_P(Speeds, SdlSpeed, testing::Values(1000, 500));

TEST_F(SdlStream, HalfSpeedStillEndsAtTheTrueEnd) {
    const std::string wav = folder / "a.wav";
    WriteWav(wav, 22050, 2, 22050);
    ASSERT_TRUE(feed.Open(wav));
    feed.SetSpeed(500);
    feed.Start();
    const std::uint64_t playedFrom = output.FramesPlayed();
    std::int64_t last = 0;
    ASSERT_TRUE(PlayUntilStopped(feed, [&] { last = std::max(last, feed.Position()); }));
    EXPECT_GT(last, 600);
    EXPECT_LE(last, 1000);
    // Two seconds of device frames for one of the track, less what the
    // end check's 20 ms and the device's last period leave out.
    const double deviceMs =
        double(output.FramesPlayed() - playedFrom) * 1000.0 / output.DeviceRate();
    EXPECT_GT(deviceMs, 1600.0);
}

TEST_F(SdlStream, AFileTheDecoderRefusesLeavesTheOutputAlone) {
    const std::string bad = folder / "bad.wav";
    std::ofstream(bad, std::ios::binary) << "RIFF not really";
    EXPECT_FALSE(feed.Open(bad));
    EXPECT_FALSE(feed.Open(folder / "missing.flac"));
    feed.Start();
    EXPECT_FALSE(output.Playing());
}

} // namespace
} // namespace dorvane::test
