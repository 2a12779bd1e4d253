// The stream path's feed: keeps a looping output buffer of one-second chunks
// filled ahead of its play cursor from a decoder, maps the cursor back to the
// stream time, works out when the last audible sample is due and makes the
// wave snapshot for the level meter and the visualiser.
//
// One thread (the playback worker) owns the feed and calls everything except
// TakeSnapshot/SnapshotFresh, which the windows may call from theirs.
#pragma once

#include "music/stream_ports.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace dorvane {

// 4 header bytes, then 640 columns of (max, min) for channel 0 and channel 1;
// 8-bit unsigned values with 128 as silence.
inline constexpr int kSnapshotColumns = 640;
using TWaveSnapshot = std::array<std::uint8_t, 4 + 4 * kSnapshotColumns>;

// Who takes the snapshot: each has a fresh flag of its own.
enum class TSnapshotReader { Playlist = 0, Visualiser = 1 };

struct TPositionMark {
    std::size_t Offset = 0; // bytes into the buffer
    std::int64_t TimeMs = 0;
};

class TStreamFeed {
public:
    using TClock = std::function<std::int64_t()>; // ms, monotonic
    static constexpr int kMarkCount = 100;

    // The decoder and output outlive the feed; clock defaults to the steady
    // clock.
    TStreamFeed(IStreamDecoder& decoder, ILoopOutput& output, TClock clock = {});

    // Clamped to 4000..15000 ms, used in whole seconds; 12000 by default.
    void SetBufferLength(int ms);
    int ChunkCount() const { return chunkCount_; }

    // Closes what was open, opens path and makes the buffer for its format.
    // False (nothing open) when the decoder refuses it, its duration is
    // under 1 ms or there is no output.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return open_; }

    void Start();
    void Feed();
    void Stop();
    void Pause();
    void Resume() { Start(); }
    void Seek(std::int64_t ms);
    // Thousandths of the normal speed; the output frequency follows.
    void SetSpeed(int thousandths);
    // Stops the buffer when its last audible sample is due (within 20 ms).
    void EndCheck();

    // The stream time of the sample under the play cursor (ms).
    std::int64_t Position();
    std::int64_t DurationMs() const { return durationMs_; }
    // The decoder's time when the buffer is not playing.
    std::int64_t DecoderMs() const { return decoder_.CurrentMs(); }

    bool Playing() const { return playing_; }
    bool Paused() const { return paused_; }
    bool FinePolling() const { return finePolling_; }
    bool Feeding() const { return feeding_; }
    // The decoder gave the file up (IStreamDecoder::Failed): the buffer was
    // stopped and the track is to be closed like one that cannot be opened.
    bool Failed() const { return failed_; }
    std::int64_t EndTimeMs() const { return endTimeMs_; }
    std::int64_t EndTick() const { return endTick_; }
    std::uint64_t ChunksWritten() const { return chunksWritten_; }
    std::size_t ChunkBytes() const { return chunkBytes_; }
    const TPcmFormat& Format() const { return format_; }
    int Frequency() const;

    // The feed's step of the worker: feed, snapshot when wanted, and stop
    // feeding once the buffer no longer plays.
    void WorkerStep();

    // True when a reader has taken the last snapshot (a new one is wanted).
    bool SnapshotWanted() const;
    void MakeSnapshot();
    bool SnapshotFresh(TSnapshotReader reader) const;
    // A copy of the snapshot; clears the reader's fresh flag.
    TWaveSnapshot TakeSnapshot(TSnapshotReader reader);

private:
    void AddMark(std::size_t offset, std::int64_t timeMs);
    void ScheduleEnd();
    void ResetSnapshot();
    int TargetFrequency() const;
    std::int64_t Now() const { return clock_(); }

    IStreamDecoder& decoder_;
    ILoopOutput& output_;
    TClock clock_;

    int chunkCount_ = 12;
    int speed_ = 1000;
    double volume_ = 1.0;
    bool open_ = false;
    TPcmFormat format_;
    std::int64_t durationMs_ = 0;
    std::size_t chunkBytes_ = 0;
    std::vector<std::uint8_t> ring_;
    std::uint64_t chunksWritten_ = 0;
    std::array<TPositionMark, kMarkCount> marks_{};
    int markCount_ = 0; // how many of marks_ hold a mark
    int nextMark_ = 0;
    std::int64_t endTimeMs_ = 0;
    std::int64_t endTick_ = 0;
    bool playing_ = false;
    bool paused_ = false;
    bool finePolling_ = false;
    bool feeding_ = false;
    bool failed_ = false;

    mutable std::mutex snapshotMutex_;
    TWaveSnapshot snapshot_{};
    std::array<bool, 2> fresh_{};
};

} // namespace dorvane
