#include "stream_feed.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace dorvane {

namespace {

// The range a sound output can play a buffer at.
constexpr int kMinFrequency = 100;
constexpr int kMaxFrequency = 200000;

std::int64_t SteadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

TStreamFeed::TStreamFeed(IStreamDecoder& decoder, ILoopOutput& output, TClock clock)
    : decoder_(decoder), output_(output), clock_(clock ? std::move(clock) : TClock(&SteadyMs)) {
    ResetSnapshot();
}

void TStreamFeed::SetBufferLength(int ms) {
    chunkCount_ = std::clamp(ms, 4000, 15000) / 1000;
}

bool TStreamFeed::Open(const std::string& path) {
    Close();
    if (!decoder_.Open(path)) return false;
    format_ = decoder_.Format();
    durationMs_ = decoder_.DurationMs();
    chunkBytes_ = std::size_t(format_.SampleRate) * std::size_t(format_.BlockAlign);
    if (durationMs_ < 1 || chunkBytes_ == 0 ||
        !output_.Create(format_, chunkBytes_ * std::size_t(chunkCount_))) {
        decoder_.Close();
        return false;
    }
    ring_.assign(chunkBytes_ * std::size_t(chunkCount_), 0);
    markCount_ = nextMark_ = 0;
    chunksWritten_ = 0;
    endTimeMs_ = endTick_ = 0;
    failed_ = false;
    open_ = true;
    return true;
}

void TStreamFeed::Close() {
    if (!open_) return;
    Stop();
    decoder_.Close();
    output_.Release();
    ring_.clear();
    ring_.shrink_to_fit();
    open_ = false;
    failed_ = false;
    ResetSnapshot();
}

int TStreamFeed::TargetFrequency() const {
    const double hz = std::round(format_.SampleRate / 1000.0 * speed_);
    return std::clamp(static_cast<int>(hz), kMinFrequency, kMaxFrequency);
}

int TStreamFeed::Frequency() const {
    return output_.Frequency();
}

void TStreamFeed::Start() {
    if (!open_ || failed_) return;
    if (!playing_) {
        output_.SetPlayCursor(0);
        Feed();
        if (failed_) return;
        output_.SetVolume(volume_);
    }
    playing_ = true;
    paused_ = false;
    const int hz = TargetFrequency();
    if (hz != output_.Frequency()) output_.SetFrequency(hz);
    output_.Play();
    ScheduleEnd();
    feeding_ = true;
}

void TStreamFeed::AddMark(std::size_t offset, std::int64_t timeMs) {
    marks_[std::size_t(nextMark_)] = {offset, timeMs};
    nextMark_ = (nextMark_ + 1) % kMarkCount;
    markCount_ = std::min(markCount_ + 1, kMarkCount);
}

void TStreamFeed::Feed() {
    if (!open_) return;
    const auto chunks = std::uint64_t(chunkCount_);
    const bool wasPlaying = playing_;
    // At most one pass round the buffer, whatever the cursor says.
    for (int written = 0; written < chunkCount_; ++written) {
        const std::size_t cursor = output_.PlayCursor();
        if (chunksWritten_ > 0 && cursor / chunkBytes_ == chunksWritten_ % chunks) break;
        const std::size_t slot = std::size_t(chunksWritten_ % chunks);
        const std::size_t base = slot * chunkBytes_;
        std::uint8_t* chunk = ring_.data() + base;
        const TDecodedPiece piece = decoder_.Read(chunk, chunkBytes_);
        if (decoder_.Failed()) {
            // Nothing more will come of this file, nor of its start again.
            failed_ = true;
            Stop();
            return;
        }
        if (slot == 0) AddMark(0, piece.StartMs);
        AddMark(base + piece.Bytes, piece.EndMs);
        std::size_t filled = piece.Bytes;
        if (filled < chunkBytes_) {
            if (endTimeMs_ == 0) {
                endTimeMs_ = piece.EndMs;
                ScheduleEnd();
                if (wasPlaying && !playing_) return; // the end is due now
            }
            // The rest of the chunk starts the track again, so that the
            // buffer never plays stale data if the stop comes late.
            if (decoder_.Seek(0)) {
                while (filled < chunkBytes_) {
                    const TDecodedPiece more = decoder_.Read(chunk + filled, chunkBytes_ - filled);
                    if (more.Bytes == 0) break;
                    AddMark(base + filled, more.StartMs);
                    filled += more.Bytes;
                    AddMark(base + filled, more.EndMs);
                }
            }
            std::fill(chunk + filled, chunk + chunkBytes_, std::uint8_t(0));
        }
        output_.Write(base, chunk, chunkBytes_);
        ++chunksWritten_;
    }
}

std::int64_t TStreamFeed::Position() {
    const std::size_t cursor = output_.PlayCursor();
    int upper = (nextMark_ + kMarkCount - 1) % kMarkCount;
    for (int step = 1; step < markCount_; ++step) {
        const int lower = (upper + kMarkCount - 1) % kMarkCount;
        const TPositionMark& hi = marks_[std::size_t(upper)];
        const TPositionMark& lo = marks_[std::size_t(lower)];
        if (lo.Offset <= cursor && cursor < hi.Offset) {
            return lo.TimeMs + (hi.TimeMs - lo.TimeMs) * std::int64_t(cursor - lo.Offset) /
                                   std::int64_t(hi.Offset - lo.Offset);
        }
        upper = lower;
    }
    // The cursor is on data no mark describes.
    const std::int64_t end = endTimeMs_;
    Stop();
    return end;
}

void TStreamFeed::ScheduleEnd() {
    if (endTimeMs_ == 0 || !playing_) return;
    const int hz = std::max(1, output_.Frequency());
    const std::int64_t left = std::max<std::int64_t>(0, endTimeMs_ - Position());
    if (!playing_) return; // the position found the cursor past the data
    endTick_ = Now() + left * format_.SampleRate / hz;
    EndCheck();
}

void TStreamFeed::EndCheck() {
    finePolling_ = false;
    if (playing_ && endTick_ != 0 && !paused_) {
        if (Now() + 20 >= endTick_)
            Stop();
        else
            finePolling_ = true;
    }
}

void TStreamFeed::Stop() {
    feeding_ = false;
    output_.Stop();
    playing_ = paused_ = false;
    finePolling_ = false;
    endTimeMs_ = endTick_ = 0;
    chunksWritten_ = 0;
    if (open_) decoder_.Seek(0);
}

void TStreamFeed::Pause() {
    if (!playing_ || paused_) return;
    paused_ = true;
    output_.Stop();
}

void TStreamFeed::Seek(std::int64_t ms) {
    if (!open_) return;
    Pause();
    feeding_ = false;
    if (ms != decoder_.CurrentMs()) {
        Stop();
        decoder_.Seek(std::max<std::int64_t>(0, ms));
    }
    Start();
}

void TStreamFeed::SetSpeed(int thousandths) {
    if (thousandths <= 0) return;
    speed_ = thousandths;
    if (!open_ || !playing_) return;
    const int hz = TargetFrequency();
    if (hz == output_.Frequency()) return;
    output_.SetFrequency(hz);
    ScheduleEnd();
}

void TStreamFeed::WorkerStep() {
    if (!feeding_ || paused_) return;
    Feed();
    if (SnapshotWanted()) MakeSnapshot();
    if (!playing_) feeding_ = false;
}

bool TStreamFeed::SnapshotWanted() const {
    std::lock_guard lock(snapshotMutex_);
    return !fresh_[0] || !fresh_[1];
}

bool TStreamFeed::SnapshotFresh(TSnapshotReader reader) const {
    std::lock_guard lock(snapshotMutex_);
    return fresh_[std::size_t(reader)];
}

TWaveSnapshot TStreamFeed::TakeSnapshot(TSnapshotReader reader) {
    std::lock_guard lock(snapshotMutex_);
    fresh_[std::size_t(reader)] = false;
    return snapshot_;
}

void TStreamFeed::ResetSnapshot() {
    std::lock_guard lock(snapshotMutex_);
    snapshot_.fill(128);
    fresh_ = {true, true};
}

void TStreamFeed::MakeSnapshot() {
    if (!open_ || ring_.empty()) return;
    TWaveSnapshot made;
    made.fill(128);
    const std::size_t ringBytes = ring_.size();
    const std::size_t cursor = output_.PlayCursor();
    const std::size_t block = std::size_t(format_.BlockAlign);
    const int perColumn = std::max(1, format_.SampleRate * 100 / 639000);
    const int channels = format_.Channels > 1 ? 2 : 1;
    for (int c = 0; c < channels; ++c) {
        // The high byte of each 16-bit sample, made unsigned.
        std::size_t offset =
            (cursor + block - std::size_t(c * format_.BitsPerSample / 8) + 1) % ringBytes;
        std::uint8_t overallMax = 0, overallMin = 255;
        for (int j = 0; j < kSnapshotColumns; ++j) {
            std::uint8_t columnMax = 0, columnMin = 255;
            for (int k = 0; k < perColumn; ++k) {
                std::uint8_t value = ring_[offset];
                if (format_.BitsPerSample != 8) value = std::uint8_t(value + 128);
                columnMax = std::max(columnMax, value);
                columnMin = std::min(columnMin, value);
                offset = (offset + block) % ringBytes;
            }
            made[std::size_t(4 + 4 * j + 2 * c)] = columnMax;
            made[std::size_t(5 + 4 * j + 2 * c)] = columnMin;
            overallMax = std::max(overallMax, columnMax);
            overallMin = std::min(overallMin, columnMin);
        }
        made[std::size_t(2 * c)] = overallMax;
        made[std::size_t(2 * c + 1)] = overallMin;
    }
    std::lock_guard lock(snapshotMutex_);
    snapshot_ = made;
    fresh_ = {true, true};
}

} // namespace dorvane
