// The music player's engine on the UI thread: the playlist and its loader,
// the switches (play, pause, random choice), the transport operations and
// the 900 ms tick that decides what plays next, turns the switches into
// worker commands and reports what failed. The worker (TMusicThread) does
// the playing.
//
// What the engine needs of the windows goes through TMusicEngineHost; the
// game window is the host, and passes on what concerns the playlist window.
#pragma once

#include "game/random.h"
#include "music/engine_state.h"
#include "music/music_loader.h"
#include "music/music_thread.h"
#include "music/playback_backends.h"
#include "music/playlist.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QTimer;

namespace dorvane {

class TMusicEngineHost {
public:
    virtual ~TMusicEngineHost() = default;
    // Tick step 1: the game clock and the date-and-time box.
    virtual void EngineClockTick() = 0;
    // The visualiser drew frames lately: keep the screen from blanking.
    virtual void KeepDisplayAwake() = 0;
    // "N. title" of the track, "Звуковые файлы не найдены", or empty: the
    // game window's caption shows it after the program's name.
    virtual void ShowMusicCaption(const QString& text) = 0;
    // A message with the information icon that waits for nobody.
    virtual void ShowMusicMessage(const QString& text) = 0;
    // PlayOn, PauseOn or RandomOn changed: check marks and buttons.
    virtual void MusicSwitchesChanged() = 0;
    // The playlist window (when open) selects the row now playing.
    virtual void SelectPlayingRow(int index) = 0;
    // The playlist window's speed box.
    virtual void SetSpeedBoxEnabled(bool enabled) = 0;
    // Creates the playlist window when needed and shows it; the focus
    // stays with (or goes back to) the game window when keepFocus.
    virtual void ShowPlaylistWindow(bool keepFocus) = 0;
    // The playlist's entries or the history of sources changed.
    virtual void PlaylistChanged() = 0;
    virtual void RecentSourcesChanged() = 0;
};

// What the engine starts with (the settings the game window read).
struct TMusicStart {
    bool playOn = true;          // "PlayMusic"
    bool randomOn = true;        // "SelectionAccidental"
    bool withSubfolders = false; // "MusicAddSub"
    QString musicSource;         // "DirOfMusic"
    QStringList recentSources;   // the "Music" list
    int requestedSpeed = 1000;   // "SpeedSound" × 10
    bool showList = false;       // "ShowListMusic"
    QString soundFolder;         // the installed "Sound" folder
};

// How the engine runs: on its own thread and timer, or stepped by a test.
enum class TEngineRun { Threaded, Manual };

class TMusicEngine final : public QObject, private TMusicLoaderHost {
    Q_OBJECT

public:
    TMusicEngine(TMusicEngineHost& host, TPlaybackBackends backends, const TMusicStart& start,
                 QObject* parent = nullptr);
    // Shutdown when it has not run yet.
    ~TMusicEngine() override;

    // The end of the game window's creation: the worker runs and the tick
    // starts (Manual: neither; the test calls Worker().Pass() and Tick()).
    void Start(TEngineRun run = TEngineRun::Threaded);
    // Once: the tick stops, the open track is closed and the worker ended
    // and waited for, a bounded time: when Worker().Abandoned() after it,
    // the owner must leave the engine undestroyed (the worker still uses it).
    void Shutdown();

    // The switches.
    bool PlayOn() const { return playOn_; }
    // The last start failed: music is off and Next or Previous goes on.
    bool AfterFailure() const { return afterFailure_; }
    bool PauseOn() const { return pauseOn_; }
    bool RandomOn() const { return randomOn_; }

    // The transport operations of the menus, buttons and keys.
    void TogglePlay();
    void TogglePause();
    void Next();
    void Previous();
    void Restart();
    void ToggleRandom();
    // A click at x on a progress bar width pixels wide, while playing.
    void SeekByClick(int x, int width);
    // To ms into the open track (clamped to its length when known), while
    // it plays or is paused; it plays on from there. False when no track is
    // open. "В начало" is a seek to 0.
    bool SeekTo(std::int64_t ms);
    // Enter, a click or a double click on a row of the playlist window.
    void PlayChosen(int index);
    // The playlist window's speed box (thousandths).
    int RequestedSpeed() const { return requestedSpeed_; }
    void SetRequestedSpeed(int thousandths);

    // The tick: public so that tests drive it with their own clock.
    void TimerTimeTimer();
    // The visualiser counts its frames here (for the display-in-use notice).
    void NoteVisualiserFrame() { ++visualiserFrames_; }

    int PlayerMode() const { return state_.PlayerMode.load(); }
    std::int64_t TrackLength() const { return state_.TrackLength.load(); }
    std::int64_t TrackPosition() const { return state_.TrackPosition.load(); }
    int Speed() const { return state_.Speed.load(); }
    bool StreamInUse() const { return state_.StreamInUse.load(); }
    bool SpeedBoxEnabled() const;
    // The entry the last start chose.
    const TPlayingEntry& Playing() const { return playing_; }
    // The caption text of the track playing ("N. title"), empty when none.
    const QString& TrackCaption() const { return caption_; }

    TPlaylist& Playlist() { return playlist_; }
    TMusicLoader& Loader() { return loader_; }
    // The mixer; null when there is none.
    TMixerPort* Mixer() { return backends_.mixer.get(); }
    // Frames of the level meter and the visualiser; silence without a stream.
    TWaveSnapshot TakeSnapshot(TSnapshotReader reader);
    bool SnapshotFresh(TSnapshotReader reader) const;
    // Whether a stream makes snapshots at all: a device track (MIDI) or no
    // track has no wave.
    bool HasWave() const;
    TEngineState& State() { return state_; }
    TMusicThread& Worker() { return *worker_; }

private:
    // Leaves the failed state for a search from the failed entry on.
    bool MoveOnFromFailure();
    // TMusicLoaderHost
    void CloseCurrentFile() override;
    void RecentSourcesChanged() override { host_.RecentSourcesChanged(); }
    void PlaylistChanged() override { host_.PlaylistChanged(); }
    void HoldNextAdvance() override { holdCurrent_ = true; }
    void SwitchPlaybackOn() override;
    void ShowPlaylistWindow() override { host_.ShowPlaylistWindow(false); }
    void ShowLoadMessage(const QString& text) override { host_.ShowMusicMessage(text); }

    // Steps 3-9 of the tick: what to play. Also run at once when the worker
    // reports that a track came to its end, so that the next one follows
    // without waiting for the tick.
    void Decide();
    void StartCurrent();
    void ServeLoadRequest();
    bool TrackOpen() const;
    void Post(TEngineCommand command) { state_.Post(command); }

    TMusicEngineHost& host_;
    TPlaybackBackends backends_;
    TEngineState state_;
    TRandom random_;
    TPlaylist playlist_;
    TMusicLoader loader_;
    std::unique_ptr<TMusicThread> worker_;
    QTimer* tick_ = nullptr;

    bool playOn_ = true;
    bool pauseOn_ = false;
    bool randomOn_ = true;
    bool holdCurrent_ = false;
    // After an entry could not be opened: Play, Next and Previous move on
    // from it, past the next ones that fail too, until every entry of the
    // list has failed in a row.
    bool afterFailure_ = false;
    bool searching_ = false;
    int failedInARow_ = 0;
    bool nextRequested_ = false;
    bool previousRequested_ = false;
    int requestedSpeed_ = 1000;
    bool showList_ = false;
    bool started_ = false;
    bool shutDown_ = false;
    int ticks_ = 0;
    int visualiserFrames_ = 0;
    TPlayingEntry playing_;
    QString caption_;
    static TWaveSnapshot Silence();
};

// "Не удалось открыть файл " + the file + "!" and "Музыка отключена." below.
QString OpenFailedMessage(const QString& path);

} // namespace dorvane
