// The stream feed on a decoder and an output made here: a mono track at
// 1000 frames a second whose sample is its own stream time in ms, so every
// byte of the buffer says which moment of the track it holds; the output's
// cursor and the clock move only when the test moves them.
#include "music/stream_feed.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace dorvane::test {
namespace {

constexpr int kRate = 1000;
constexpr std::size_t kChunk = kRate * 2; // bytes of one second

class TCountingDecoder final : public IStreamDecoder {
public:
    explicit TCountingDecoder(std::int64_t durationMs) : duration_(durationMs) {}
    bool Open(const std::string& path) override {
        open_ = path == "track";
        at_ = 0;
        return open_;
    }
    void Close() override { open_ = false; }
    TPcmFormat Format() const override { return {kRate, 1, 16, 2}; }
    std::int64_t DurationMs() const override { return duration_; }
    TDecodedPiece Read(std::uint8_t* out, std::size_t size) override {
        TDecodedPiece piece{0, at_, at_};
        while (piece.Bytes + 2 <= size && at_ < duration_) {
            const auto value = static_cast<std::int16_t>(at_);
            std::memcpy(out + piece.Bytes, &value, 2);
            piece.Bytes += 2;
            ++at_;
        }
        piece.EndMs = at_;
        return piece;
    }
    std::int64_t CurrentMs() const override { return at_; }
    bool Seek(std::int64_t ms) override {
        at_ = std::min(ms, duration_);
        ++seeks;
        return true;
    }
    bool Dry() const override { return at_ >= duration_; }
    int seeks = 0;

private:
    std::int64_t duration_;
    std::int64_t at_ = 0;
    bool open_ = false;
};

class TManualOutput final : public ILoopOutput {
public:
    bool Create(const TPcmFormat& format, std::size_t bytes) override {
        buffer.assign(bytes, 0);
        frequency = format.SampleRate;
        return true;
    }
    void Release() override { buffer.clear(); }
    void Write(std::size_t offset, const std::uint8_t* data, std::size_t size) override {
        ASSERT_LE(offset + size, buffer.size());
        std::memcpy(buffer.data() + offset, data, size);
    }
    std::size_t PlayCursor() const override { return cursor; }
    void SetPlayCursor(std::size_t offset) override { cursor = offset; }
    int Frequency() const override { return frequency; }
    void SetFrequency(int hz) override { frequency = hz; }
    void SetVolume(double) override {}
    void Play() override { playing = true; }
    void Stop() override { playing = false; }
    bool Playing() const override { return playing; }

    // The stream time the buffer holds at a frame.
    int TimeAt(std::size_t frame) const {
        std::int16_t value = 0;
        std::memcpy(&value, buffer.data() + 2 * frame, 2);
        return value;
    }

    std::vector<std::uint8_t> buffer;
    std::size_t cursor = 0;
    int frequency = 0;
    bool playing = false;
};

class StreamFeed : public testing::Test {
protected:
    explicit StreamFeed(std::int64_t durationMs = 30500) : decoder(durationMs) {}
    void OpenAndStart() {
        ASSERT_TRUE(feed.Open("track"));
        feed.Start();
    }
    void CursorAtMs(std::size_t frame) { output.cursor = frame * 2; }

    TCountingDecoder decoder;
    TManualOutput output;
    std::int64_t now = 1000;
    TStreamFeed feed{decoder, output, [this] { return now; }};
};

TEST_F(StreamFeed, StartFillsTheWholeBufferAndPlays) {
    OpenAndStart();
    EXPECT_EQ(feed.ChunksWritten(), 12u);
    EXPECT_EQ(output.buffer.size(), 12 * kChunk);
    EXPECT_TRUE(output.playing);
    EXPECT_EQ(output.frequency, kRate);
    EXPECT_EQ(output.TimeAt(0), 0);
    EXPECT_EQ(output.TimeAt(11999), 11999);
    CursorAtMs(2500);
    EXPECT_EQ(feed.Position(), 2500);
}

TEST_F(StreamFeed, RefillsOnlyTheChunksBehindTheCursor) {
    OpenAndStart();
    CursorAtMs(3005);
    feed.WorkerStep();
    EXPECT_EQ(feed.ChunksWritten(), 15u);
    EXPECT_EQ(output.TimeAt(0), 12000);
    EXPECT_EQ(output.TimeAt(2999), 14999);
    EXPECT_EQ(output.TimeAt(3000), 3000); // the chunk being heard is left alone
    EXPECT_EQ(feed.Position(), 3005);
    CursorAtMs(1); // round the buffer once more
    EXPECT_EQ(feed.Position(), 12001);
}

TEST_F(StreamFeed, TheBufferLengthIsClampedAndWhole) {
    for (const auto& [ms, chunks] : {std::pair{12000, 12}, {2000, 4}, {99999, 15}, {5500, 5}}) {
        feed.SetBufferLength(ms);
        EXPECT_EQ(feed.ChunkCount(), chunks) << ms;
    }
}

// A track of 12.5 s runs dry in the thirteenth chunk; its rest starts the
// track again and the end is due when 12.5 s of stream time have sounded,
// stretched by the speed.
class StreamFeedEnd : public StreamFeed, public testing::WithParamInterface<int> {
protected:
    StreamFeedEnd() : StreamFeed(12500) {}
};

TEST_P(StreamFeedEnd, TheEndIsDueAtTheTrueEndAtAnySpeed) {
    const int speed = GetParam();
    OpenAndStart();
    feed.SetSpeed(speed);
    EXPECT_EQ(output.frequency, kRate * speed / 1000);
    EXPECT_EQ(feed.EndTimeMs(), 0);
    CursorAtMs(1000);
    feed.WorkerStep();
    EXPECT_EQ(feed.EndTimeMs(), 12500);
    EXPECT_EQ(output.TimeAt(499), 12499);
    EXPECT_EQ(output.TimeAt(500), 0); // the loop's fresh start
    const std::int64_t due = 1000 + (12500 - 1000) * 1000 / speed;
    EXPECT_EQ(feed.EndTick(), due);
    EXPECT_TRUE(feed.FinePolling());

    now = due - 21;
    feed.EndCheck();
    EXPECT_TRUE(feed.Playing());
    now = due - 20;
    feed.EndCheck();
    EXPECT_FALSE(feed.Playing());
    EXPECT_FALSE(output.playing);
    EXPECT_FALSE(feed.FinePolling());
    EXPECT_EQ(feed.EndTick(), 0);
    EXPECT_EQ(feed.DecoderMs(), 0);
}

TEST_P(StreamFeedEnd, ASpeedChangeMovesTheEnd) {
    OpenAndStart();
    feed.SetSpeed(1000);
    CursorAtMs(1000);
    feed.WorkerStep();
    EXPECT_EQ(feed.EndTick(), 1000 + 11500);
    now = 3000;
    CursorAtMs(3000);
    feed.SetSpeed(GetParam());
    EXPECT_EQ(feed.EndTick(), 3000 + (12500 - 3000) * 1000 / GetParam());
    const std::int64_t due = feed.EndTick();
    now = 4000;
    feed.SetSpeed(GetParam()); // the same frequency: the end stays
    EXPECT_EQ(feed.EndTick(), due);
}

INSTANTIATE_TEST_SUITE_P(Speeds, StreamFeedEnd, testing::Values(1000, 500, 2000));

TEST_F(StreamFeed, PauseKeepsTheCursorAndHoldsTheEnd) {
    OpenAndStart();
    CursorAtMs(4200);
    feed.Pause();
    EXPECT_TRUE(feed.Paused());
    EXPECT_FALSE(output.playing);
    const auto written = feed.ChunksWritten();
    feed.WorkerStep();
    EXPECT_EQ(feed.ChunksWritten(), written);
    feed.Resume();
    EXPECT_TRUE(output.playing);
    EXPECT_FALSE(feed.Paused());
    EXPECT_EQ(output.cursor, 4200u * 2);
    EXPECT_EQ(feed.Position(), 4200);
}

TEST_F(StreamFeed, SeekRefillsFromTheNewTime) {
    OpenAndStart();
    CursorAtMs(700);
    feed.Seek(20000);
    EXPECT_TRUE(output.playing);
    EXPECT_EQ(output.cursor, 0u);
    EXPECT_EQ(feed.ChunksWritten(), 12u);
    EXPECT_EQ(output.TimeAt(0), 20000);
    EXPECT_EQ(feed.Position(), 20000);
    // 10.5 s were left: the buffer's tail already loops to the start.
    EXPECT_EQ(feed.EndTimeMs(), 30500);
    EXPECT_EQ(output.TimeAt(10500), 0);
}

TEST_F(StreamFeed, ASnapshotIsMadeOnlyWhenOneWasTaken) {
    OpenAndStart();
    CursorAtMs(0);
    EXPECT_TRUE(feed.SnapshotFresh(TSnapshotReader::Playlist));
    feed.WorkerStep();
    TWaveSnapshot silent;
    silent.fill(128);
    EXPECT_EQ(feed.TakeSnapshot(TSnapshotReader::Visualiser), silent);
    EXPECT_FALSE(feed.SnapshotFresh(TSnapshotReader::Visualiser));
    EXPECT_TRUE(feed.SnapshotFresh(TSnapshotReader::Playlist));

    feed.WorkerStep();
    EXPECT_TRUE(feed.SnapshotFresh(TSnapshotReader::Visualiser));
    const TWaveSnapshot made = feed.TakeSnapshot(TSnapshotReader::Playlist);
    // One value a column, from the frame after the cursor: the high byte
    // of the stream time, made unsigned.
    EXPECT_EQ(made[4], 128);           // column 0, frame 1
    EXPECT_EQ(made[4 + 4 * 255], 129); // frame 256
    EXPECT_EQ(made[4 + 4 * 639], 130); // frame 640
    EXPECT_EQ(made[0], 130);
    EXPECT_EQ(made[1], 128);
    EXPECT_EQ(made[2], 128); // a mono track leaves channel 1 silent
    EXPECT_EQ(made[3], 128);

    feed.Close();
    EXPECT_TRUE(feed.SnapshotFresh(TSnapshotReader::Playlist));
    EXPECT_EQ(feed.TakeSnapshot(TSnapshotReader::Playlist), silent);
}

TEST_F(StreamFeed, AFileTheDecoderRefusesOpensNothing) {
    EXPECT_FALSE(feed.Open("other"));
    EXPECT_FALSE(feed.IsOpen());
    feed.Start();
    EXPECT_FALSE(output.playing);
}

TEST_F(StreamFeed, StopRewindsTheDecoder) {
    OpenAndStart();
    feed.Stop();
    EXPECT_FALSE(feed.Playing());
    EXPECT_FALSE(feed.Feeding());
    EXPECT_EQ(feed.ChunksWritten(), 0u);
    EXPECT_EQ(feed.DecoderMs(), 0);
}

} // namespace
} // namespace dorvane::test
