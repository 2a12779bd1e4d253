// The game window's side of the music engine: it makes the engine, answers
// what the engine asks of the window (the clock, the caption, the messages,
// the check marks of the "Музыка" submenu), takes the submenu's source
// commands and the files from outside that are the player's, and counts the
// loader's folder searches among the window's long operations, with the
// wait window when one runs long.
#pragma once

#include "view/commands.h"

#include "core/long_operations.h"
#include "music/music_engine.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace dorvane {

class SettingsAccess;
class TMprisService;
class TMusicForm;
class TScopeForm;

// How the game window's engine is made.
struct TMusicParts {
    // The playback services; empty: none at all (nothing is heard, and a
    // track that is to play fails to open).
    std::function<TPlaybackBackends()> backends;
    // Manual: no worker thread and no tick; a test steps the engine itself.
    TEngineRun run = TEngineRun::Manual;
    int requestedSpeed = 1000; // "SpeedSound" × 10, as the start-up read it
    // On the session bus as the desktop's media player (MPRIS) from the
    // start to the close.
    bool mediaControls = false;
};
// The program's: the system's services, the engine on its own thread and tick.
TMusicParts SystemMusic(int requestedSpeed = 1000);

// A path the player takes rather than the game: an existing folder, or a
// file named as a sound file or a playlist.
bool IsMusicTarget(const QString& path);

struct TMusicHostParts {
    QWidget* window = nullptr;
    const TCommandRegistry* commands = nullptr;
    TLongOperations* longOperations = nullptr;
    std::function<void()> clockTick;                 // the date-and-time box
    std::function<void(const QString&)> showCaption; // after the program's name
    SettingsAccess* store = nullptr;   // the playlist window's settings; none: not kept
    std::function<void()> raiseWindow; // the media controls' "raise": the game window back
};

class TMusicHost final : public TMusicEngineHost {
public:
    TMusicHost(TMusicHostParts parts, const TMusicParts& music, const TMusicStart& start);
    ~TMusicHost() override;
    TMusicHost(const TMusicHost&) = delete;
    TMusicHost& operator=(const TMusicHost&) = delete;

    TMusicEngine& Engine() { return *engine_; }
    // The desktop's media controls; null unless asked for, before the start
    // and after the shutdown.
    TMprisService* MediaControls() const { return mpris_.get(); }
    // Whether the engine's tick keeps the date-and-time box; when it does
    // not (a stepped engine) the window keeps its own clock.
    bool TicksClock() const { return run_ == TEngineRun::Threaded; }
    // The end of the window's creation: the worker and the tick start.
    void Start();
    // Once, when the window closes; later calls do nothing. The playlist
    // window goes first, writing its settings.
    void Shutdown();

    // The start-up's load: every source of "DirOfMusic", nothing selected.
    void LoadAllSources();
    // A sound file (its folder loads and it plays), a playlist or a folder
    // from outside; false when the path names nothing.
    bool OpenTarget(const QString& path);
    // Several sound files at once become the playlist (TMusicLoader::
    // OpenMusicFiles); false while a load runs.
    bool OpenFiles(const QStringList& paths);
    bool Loading() const;
    // "Открыть директорию" (1), "Добавить директорию" (2), "Открыть список"
    // (3), "Добавить список" (4).
    void ChooseSource(int tag);
    // A close that must not be refused (a signal, a quit request): a folder
    // search under way is cancelled, keeping what it found, and then runs
    // once no load runs any more (at once when none does).
    void EndSearches(std::function<void()> then);
    // How the source commands ask; by default the folder and file dialogs.
    void SetSourceChooser(TSourceChooser chooser) { chooser_ = std::move(chooser); }
    // The play, pause and random marks from the engine's switches.
    void MirrorChecks() const;

    // The playlist window: "Список" closes it when it is open and opens it
    // otherwise; the control panel's button shows it (restored, brought to
    // the front or opened). The focus goes back to the game window.
    void TogglePlaylistWindow();
    void RevealPlaylistWindow();
    // After the settings were erased: the open window must not write its own
    // back.
    void ForgetPlaylistSettings();
    // Null while it is closed.
    TMusicForm* PlaylistWindow() const;

    // The visualiser: made and shown (unless a screen saver runs) or
    // brought to the front. Null while it is closed.
    void OpenVisualiser();
    TScopeForm* Visualiser() const;
    // The screen saver, with the visualiser above it or without.
    void OpenScreenSaver(bool withVisualiser);

private:
    void MakePlaylistWindow();
    TScopeForm* MakeVisualiser();
    void FocusGameWindow() const;

    // TMusicEngineHost
    void EngineClockTick() override;
    void KeepDisplayAwake() override;
    void ShowMusicCaption(const QString& text) override;
    void ShowMusicMessage(const QString& text) override;
    void MusicSwitchesChanged() override;
    void SelectPlayingRow(int index) override;
    void SetSpeedBoxEnabled(bool enabled) override;
    void ShowPlaylistWindow(bool keepFocus) override;
    void PlaylistChanged() override;
    void RecentSourcesChanged() override;

    TMusicHostParts parts_;
    TEngineRun run_;
    bool mediaControls_;
    TSourceChooser chooser_;
    std::optional<TLongOperations::TScope> search_; // while the loader searches
    std::function<void()> afterSearches_;
    std::unique_ptr<TMusicEngine> engine_;
    QPointer<TMusicForm> form_;
    QPointer<TScopeForm> scope_;
    // Before the engine goes: its calls read the engine.
    std::unique_ptr<TMprisService> mpris_;
};

} // namespace dorvane
