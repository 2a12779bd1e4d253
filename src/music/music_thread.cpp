#include "music/music_thread.h"

#include "core/file_name.h"
#include "music/opening_tags.h"
#include "music/playlist.h"

#include <QFileInfo>

#include <chrono>
#include <exception>

namespace dorvane {

namespace {

constexpr int kPassMs = 100;
constexpr int kFineMs = 10;
constexpr int kFineWakesPerPass = 10;
constexpr int kPassesPerPositionPoll = 5;

bool IsMidi(const QString& extension) {
    return extension == QLatin1String(".mid") || extension == QLatin1String(".rmi") ||
           extension == QLatin1String(".midi");
}

} // namespace

TMusicThread::TMusicThread(TEngineState& state, TPlaybackBackends& backends, TPlaylist* playlist)
    : state_(state), backends_(backends), playlist_(playlist) {
    if (backends_.decoder && backends_.output)
        feed_ =
            std::make_unique<TStreamFeed>(*backends_.decoder, *backends_.output, backends_.clock);
    // A file being opened or read when the program closes is left at once.
    if (backends_.decoder) backends_.decoder->SetCancel([this] { return state_.Terminated(); });
}

TMusicThread::~TMusicThread() {
    Terminate();
}

void TMusicThread::Resume() {
    if (thread_.joinable() || terminated_) return;
    thread_ = std::thread([this] { Loop(); });
}

void TMusicThread::Terminate() {
    if (terminated_) return;
    terminated_ = true;
    state_.Terminate();
    if (!thread_.joinable()) {
        Close();
        return;
    }
    std::unique_lock lock(doneMutex_);
    if (doneChanged_.wait_for(lock, std::chrono::milliseconds(terminateWaitMs_),
                              [this] { return loopDone_; })) {
        lock.unlock();
        thread_.join();
        return;
    }
    // The close must not hang on it: the process ends without it.
    abandoned_ = true;
    thread_.detach();
}

void TMusicThread::Loop() {
    for (;;) {
        if (FinePolling()) {
            const TEngineState::TWake wake = state_.Sleep(kFineMs);
            if (wake == TEngineState::TWake::Terminated) break;
            if (wake == TEngineState::TWake::Command || ++fineWakes_ >= kFineWakesPerPass)
                Pass();
            else
                FinePass();
        } else {
            if (state_.Sleep(kPassMs) == TEngineState::TWake::Terminated) break;
            Pass();
        }
    }
    Close();
    std::lock_guard lock(doneMutex_);
    loopDone_ = true;
    doneChanged_.notify_all();
}

void TMusicThread::Pass() {
    fineWakes_ = 0;
    ProcessCommand();
}

void TMusicThread::FinePass() {
    if (!feed_ || !streamInUse_) return;
    const bool wasPlaying = feed_->Playing();
    feed_->EndCheck();
    // The last sample is due: report the stop now, not a pass later.
    if (wasPlaying && !feed_->Playing()) Pass();
}

void TMusicThread::ProcessCommand() {
    if (FinePolling()) feed_->EndCheck();
    if (feed_ && streamInUse_ && feed_->Feeding() && !feed_->Paused()) feed_->WorkerStep();
    GiveUpFailedStream();

    const TEngineCommand command = state_.EngineCommand();
    if (command != TEngineCommand::None) {
        // A failing command is abandoned; the next poll tells what state it left.
        try {
            Execute(command);
        } catch (const std::exception&) {
        }
        GiveUpFailedStream();
    }

    if (justOpened_)
        justOpened_ = false;
    else
        NoteMode(PolledMode());

    if (state_.PlayerMode.load() == kModePlaying) {
        if (state_.TrackLength.load() == 0) state_.TrackLength = PolledLength();
        if (passCount_ % kPassesPerPositionPoll == 0) state_.TrackPosition = PolledPosition();
        ++passCount_;
    }
    if (command != TEngineCommand::None) state_.FinishCommand();
}

// A file that stopped giving sound (the decoder gave it up) ends as one that
// cannot be opened: the failure is reported before the stop is seen, so the
// tick switches music off instead of moving on to the next track.
void TMusicThread::GiveUpFailedStream() {
    if (!streamInUse_ || !feed_->Failed()) return;
    state_.OpenFailed = true;
    Close();
}

void TMusicThread::NoteMode(int mode) {
    const int before = state_.PlayerMode.exchange(mode);
    // Playing, then stopped with no command of ours: the track came to its end.
    if (before == kModePlaying && mode == kModeStopped) {
        state_.TrackEnded = true;
        if (endNotice_) endNotice_();
    }
}

void TMusicThread::Execute(TEngineCommand command) {
    switch (command) {
    case TEngineCommand::OpenAndPlay:
        OpenAndPlay();
        break;
    case TEngineCommand::Close:
        Close();
        break;
    case TEngineCommand::Seek:
        Seek(state_.SeekTarget.load());
        break;
    case TEngineCommand::ApplySpeed:
        ApplySpeed();
        break;
    case TEngineCommand::Pause:
        Pause();
        break;
    case TEngineCommand::Resume:
        ResumePlay();
        break;
    case TEngineCommand::None:
        break;
    }
}

void TMusicThread::OpenAndPlay() {
    Close();
    state_.PlayerMode = kModeOpening;
    state_.TrackPosition = 0;
    justOpened_ = true;
    const TPlayingEntry entry = state_.PlayingEntry();
    const QString extension = QLatin1Char('.') + QFileInfo(entry.path).suffix().toLower();
    state_.SetOpenedNames({entry.path, {}, {}});

    if (feed_ && !IsMidi(extension) && OpenOnStream(entry, extension)) return;

    // MIDI, no stream path, or a file the decoder refused.
    if (!backends_.device || !backends_.device->Open(entry.path)) {
        state_.OpenFailed = true;
        return;
    }
    deviceInUse_ = true;
    state_.DeviceInUse = true;
    // The synthesizer plays at its own tempo: no speed for anything on this path.
    state_.SpeedUnsupported = true;
    state_.TrackLength = 0;
    passCount_ = 0;
    state_.SpeedBoxRefresh = true;
    backends_.device->Play();
}

bool TMusicThread::OpenOnStream(const TPlayingEntry& entry, const QString& extension) {
    if (!feed_->Open(NativeFileName(entry.path))) return false;
    streamInUse_ = true;
    state_.StreamInUse = true;
    feed_->SetSpeed(state_.Speed.load());
    feed_->Start();
    if (feed_->Failed()) {
        // Not a sound file after all: the device path has its try.
        Close();
        state_.PlayerMode = kModeOpening;
        return false;
    }
    state_.TrackLength = 0;
    passCount_ = 0;
    state_.SpeedBoxRefresh = true;

    if (const std::optional<TOpeningTags> tags = ReadOpeningTags(entry.path, extension)) {
        state_.TrackLength = tags->durationSeconds * 1000;
        state_.SetOpenedNames({entry.path, tags->tagArtist, tags->tagTitle});
        if (playlist_ && !entry.hasLength && (tags->durationSeconds > 0 || tags->tagFound))
            playlist_->PostEntryTags(entry.index, entry.path, tags->title,
                                     QString::number(tags->durationSeconds));
    }
    return true;
}

void TMusicThread::Close() {
    if (deviceInUse_ && backends_.device) backends_.device->Close();
    deviceInUse_ = false;
    state_.DeviceInUse = false;
    if (streamInUse_ && feed_) feed_->Close();
    streamInUse_ = false;
    state_.StreamInUse = false;
    state_.PlayerMode = kModeStopped;
}

void TMusicThread::Seek(std::int64_t ms) {
    if (deviceInUse_) {
        backends_.device->Stop();
        backends_.device->Seek(ms);
        backends_.device->Play();
    } else if (streamInUse_) {
        feed_->Seek(ms);
    }
}

void TMusicThread::ApplySpeed() {
    const int speed = state_.Speed.load();
    if (streamInUse_ && speed > 0) feed_->SetSpeed(speed);
}

void TMusicThread::Pause() {
    if (deviceInUse_)
        backends_.device->Pause();
    else if (streamInUse_)
        feed_->Pause();
}

void TMusicThread::ResumePlay() {
    if (deviceInUse_)
        backends_.device->Play();
    else if (streamInUse_)
        feed_->Resume();
}

int TMusicThread::PolledMode() const {
    if (streamInUse_) {
        if (feed_->Paused()) return kModePaused;
        if (feed_->Playing()) return kModePlaying;
    }
    if (deviceInUse_) return static_cast<int>(backends_.device->Mode());
    return kModeStopped;
}

std::int64_t TMusicThread::PolledLength() const {
    if (streamInUse_) return feed_->DurationMs();
    if (deviceInUse_) return backends_.device->LengthMs();
    return 0;
}

std::int64_t TMusicThread::PolledPosition() {
    if (streamInUse_) return feed_->Playing() ? feed_->Position() : feed_->DecoderMs();
    if (deviceInUse_) return backends_.device->PositionMs();
    return 0;
}

} // namespace dorvane
