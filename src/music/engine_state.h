// What the music engine's two threads share: the UI thread (the tick, the
// menus and the playlist window) and the playback worker.
//
// Numbers and flags are atomics, each written by one side and read or
// cleared by the other. The commands go through a small locked queue rather
// than one variable: a command the UI posts while the worker is still busy
// with the last one waits its turn instead of overwriting it (a pause posted
// just after an open would otherwise lose the open). The head of the queue
// stays in place while the worker executes it, so `EngineCommand()` reads
// non-zero until the command is done, which is what the tick waits for.
#pragma once

#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

namespace dorvane {

// `EngineCommand`.
enum class TEngineCommand : int {
    None = 0,
    OpenAndPlay = 1, // the playing entry
    Close = 2,
    Seek = 3, // to `SeekTarget`, and play
    ApplySpeed = 4,
    Pause = 5,
    Resume = 6,
};

// `PlayerMode`: the mode numbers of the open track.
inline constexpr int kModeStopped = 525; // also: nothing open
inline constexpr int kModePlaying = 526;
inline constexpr int kModePaused = 529;
inline constexpr int kModeOpening = 530;

// The entry command 1 opens: a copy, so the worker never reads the playlist.
struct TPlayingEntry {
    QString path; // S2
    int index = -1;
    bool hasLength = false; // its S3 was not empty: the tags leave it alone
};

// The artist and title the worker found in the tags of the file it opened
// last (path); empty when it has none.
struct TOpenedNames {
    QString path;
    QString artist;
    QString title;
};

class TEngineState {
public:
    // Written by the worker, read by the UI.
    std::atomic<int> PlayerMode{kModeStopped};
    std::atomic<std::int64_t> TrackLength{0};   // ms; 0 until known
    std::atomic<std::int64_t> TrackPosition{0}; // ms
    std::atomic<bool> OpenFailed{false};        // cleared by the tick
    std::atomic<bool> SpeedBoxRefresh{false};   // cleared by the tick
    std::atomic<bool> SpeedUnsupported{true};
    std::atomic<bool> StreamInUse{false};
    std::atomic<bool> DeviceInUse{false};
    // Set by the worker when a track stopped by itself (its end), so that the
    // UI can choose the next one at once instead of at the next tick.
    std::atomic<bool> TrackEnded{false};

    // Written by the UI, read by the worker.
    std::atomic<std::int64_t> SeekTarget{0}; // ms
    std::atomic<int> Speed{1000};            // thousandths

    // UI: queues a command (a repeat of the last one queued is dropped) and
    // wakes the worker.
    void Post(TEngineCommand command);
    // The command being executed or next in line; None when there is none.
    TEngineCommand EngineCommand() const;
    // Worker: the command it finished leaves the queue.
    void FinishCommand();
    void SetPlayingEntry(TPlayingEntry entry);
    TPlayingEntry PlayingEntry() const;
    // Worker: at each opening. UI: compares the path with the entry it
    // started, since the worker may not have come to it yet.
    void SetOpenedNames(TOpenedNames names);
    TOpenedNames OpenedNames() const;

    // Worker's sleep of up to ms; ends early when a command is posted or at
    // Terminate.
    enum class TWake { TimedOut, Command, Terminated };
    TWake Sleep(int ms);
    void Terminate();
    bool Terminated() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<TEngineCommand> queue_;
    TPlayingEntry entry_;
    TOpenedNames names_;
    bool terminated_ = false;
    bool woken_ = false;
};

} // namespace dorvane
