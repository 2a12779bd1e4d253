// The playback worker: executes the engine's commands one at a time, keeps
// the stream path's buffer fed and polls the open track. Every call into the
// decoder, the sound output and the device player is made here.
//
// It sleeps 100 ms between passes, 10 ms while the end of a stream track is
// near (then only every tenth wake runs a whole pass), and wakes at once when
// a command is posted. Tests leave the thread unstarted and call Pass() and
// FinePass() themselves.
#pragma once

#include "music/engine_state.h"
#include "music/playback_backends.h"
#include "music/stream_feed.h"

#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace dorvane {

class TPlaylist;

class TMusicThread {
public:
    // Created suspended; playlist receives the tags read at opening (through
    // its queued PostEntryTags) and may be null.
    TMusicThread(TEngineState& state, TPlaybackBackends& backends, TPlaylist* playlist);
    ~TMusicThread();
    TMusicThread(const TMusicThread&) = delete;
    TMusicThread& operator=(const TMusicThread&) = delete;

    // Whether the stream path can play at all (a decoder and an output).
    bool StreamEngineAvailable() const { return feed_ != nullptr; }
    // Called on the worker's thread when a track came to its end by itself;
    // set before Resume.
    void SetEndNotice(std::function<void()> notice) { endNotice_ = std::move(notice); }
    // Starts the thread (once).
    void Resume();
    bool Running() const { return thread_.joinable(); }
    // Ends the loop, waits for it and closes the open track; a worker that
    // never ran closes on the caller's thread. The wait is bounded: a worker
    // caught in a call that does not return (a library blocked in the
    // kernel) is let go, and then this object and everything it uses (the
    // engine's state, services and playlist) must never be destroyed.
    void Terminate();
    // The last Terminate let the worker go instead of waiting for it.
    bool Abandoned() const { return abandoned_; }
    // How long Terminate waits; tests shorten it.
    void SetTerminateWaitMs(int ms) { terminateWaitMs_ = ms; }

    // Whole pass: ProcessCommand.
    void Pass();
    // A 10 ms wake in fine polling: the end check only.
    void FinePass();
    bool FinePolling() const { return feed_ && streamInUse_ && feed_->FinePolling(); }

    // The stream path's feed (for the wave snapshot); null without one.
    TStreamFeed* Feed() { return feed_.get(); }

private:
    void Loop();
    void ProcessCommand();
    void Execute(TEngineCommand command);
    void OpenAndPlay();
    bool OpenOnStream(const TPlayingEntry& entry, const QString& extension);
    void Close();
    void Seek(std::int64_t ms);
    void ApplySpeed();
    void Pause();
    void ResumePlay();
    int PolledMode() const;
    std::int64_t PolledLength() const;
    std::int64_t PolledPosition();
    void NoteMode(int mode);
    void GiveUpFailedStream();

    TEngineState& state_;
    TPlaybackBackends& backends_;
    TPlaylist* playlist_;
    std::unique_ptr<TStreamFeed> feed_;
    std::function<void()> endNotice_;
    std::thread thread_;
    bool terminated_ = false;
    bool abandoned_ = false;
    int terminateWaitMs_ = 2000;
    // Set by the worker as its loop has ended; Terminate waits for it.
    std::mutex doneMutex_;
    std::condition_variable doneChanged_;
    bool loopDone_ = false;

    bool streamInUse_ = false;
    bool deviceInUse_ = false;
    bool justOpened_ = false;
    int passCount_ = 0; // position polled every fifth pass
    int fineWakes_ = 0; // whole pass every tenth fine wake
};

} // namespace dorvane
