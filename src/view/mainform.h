// The game window: the board, the control panel or the status bar in its
// place, and the "Игра" and "Параметры" menus. It lays them out and wires
// the commands; the controller decides the game (through TGameViewAdapter),
// TGameLook keeps the look, TSavedGameCommands the saved games and
// TMusicHost the music engine, which plays from the window's creation to its
// close.
//
// Its options live in the settings records it read at its creation; the
// commands' check marks mirror them, and the exit writes them back.
#pragma once

#include "view/boardwidget.h"
#include "view/commands.h"
#include "view/desktopcommands.h"
#include "view/figurelist.h"
#include "view/filechooser.h"
#include "view/gamelook.h"
#include "view/gamesounds.h"
#include "view/gametray.h"
#include "view/gameviewadapter.h"
#include "view/helpmenu.h"
#include "view/musichost.h"
#include "view/savedgames.h"

#include "core/long_operations.h"
#include "core/shell_settings.h"
#include "game/random.h"
#include "music/music_settings.h"
#include "play/game_controller.h"
#include "play/game_settings.h"
#include "play/recent_files.h"
#include "play/search_runner.h"
#include "widgets/messageboxes.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QTimer;

namespace dorvane {

class TControlPanel;
class TSearchWorker;

class TMainForm final : public QMainWindow, private TBoardHost {
public:
    // The program's window: reads every setting it keeps from the store now
    // and, when the store was writable at the start, writes them back when
    // it is destroyed. Its music plays through the system's services.
    TMainForm(TRandomSource& random, SettingsAccess& store,
              const TMusicParts& music = SystemMusic(), QWidget* parent = nullptr);
    // A window on the given settings that keeps none. searches runs the
    // computer's searches; none: the window's own worker thread. Its music
    // engine is stepped by hand and has no services unless music says so.
    explicit TMainForm(TRandomSource& random, const TGameSettings& settings = DefaultGameSettings(),
                       TSearchRunner* searches = nullptr, const TMusicParts& music = {},
                       QWidget* parent = nullptr);
    ~TMainForm() override;

    // The start-up's files: the music loads its stored sources unless the
    // first argument is the player's (a sound file, a playlist, a folder),
    // and a saved game opens once the window's first search has returned.
    void OpenAtStart(const QStringList& arguments, bool restarted);
    // A file from outside (command line, drop, hand-over): a sound file, a
    // playlist or a folder goes to the music player; a saved game is loaded
    // when the player may act; anything else is left alone.
    void OpenFile(const QString& path);
    // Loads a saved game with the program's messages; true when taken over.
    bool LoadGameFile(const QString& path);
    const TRecentFiles& RecentFiles() const { return recent_; }
    // How "Все по умолчанию" starts the program again; by default a detached
    // copy of this executable, without arguments (the new copy asks this one to end). False when it
    // could not be started.
    void SetProgramStarter(std::function<bool()> starter) { startProgram_ = std::move(starter); }
    // How the saved-game and picture commands ask for a file; by default the
    // toolkit's file dialog.
    void SetFileChooser(TFileChooser chooser);
    // How the music's source commands ask for a folder or a playlist.
    void SetSourceChooser(TSourceChooser chooser) { player_->SetSourceChooser(std::move(chooser)); }
    bool SettingsWritable() const { return settingsWritable_; }

    // Closes the window once the game is idle: after the search in progress
    // and whatever waits for it (a file being opened), and after the music's
    // folder search, which is cancelled.
    void CloseWhenIdle();
    // What a later start handed over: each path opened as OpenFile does,
    // once the player may act (after the search and the computer's move).
    void OpenHandedText(const QString& text);
    // The end of the splash: the window to the front and, when its item is
    // checked, on top of the others from now on. A window already closed for
    // good (a logout during the splash's last ticks) stays closed.
    void ShowWindows();
    // Runs once, when the window is about to close for good: the start-up
    // stops its hand-overs there.
    void SetCloseStep(std::function<void()> step) { closeStep_ = std::move(step); }
    // A long file operation under way refuses the close.
    TLongOperations& LongOperations() { return longOperations_; }

    // The window's caption: "Dorvane", or "Dorvane - " + text. The tray
    // icon's tool tip follows it.
    void SetCaption(const QString& text);
    // The start put the window into the tray or minimised it ("ShowMainMin").
    void SetShowMainMin(bool on) { tray_->SetShowMainMin(on); }
    TGameTray& Tray() { return *tray_; }
    // The launchers, the file types and the recently used games; none for a
    // window that keeps no settings, which touches no desktop files either.
    TDesktopCommands* Desktop() { return desktop_.get(); }

    TGameController& Controller() { return *controller_; }
    TBoardWidget& Board() { return *board_; }
    TControlPanel& Panel() { return *panel_; }
    TMessageService& Messages() { return messages_; }
    const TCommandRegistry& Commands() const { return commands_; }
    const TGameSettings& Settings() const { return settings_; }
    const TFigureList& Figures() const { return figureList_; }
    THelpMenu& Help() { return *help_; }
    TMusicEngine& Music() { return player_->Engine(); }
    // The music player on the session bus; null for a window made without
    // it and after the close.
    TMprisService* MediaControls() const { return player_->MediaControls(); }
    // The playlist window; null while it is closed.
    TMusicForm* PlaylistWindow() const { return player_->PlaylistWindow(); }
    QWidget* StatusBar() const { return statusBar_; }
    QLabel* StatusPanel(int panel) const { return statusPanels_[std::size_t(panel - 1)]; }
    // The menu item with the given text, searched through every menu.
    QAction* FindAction(const QString& text) const;
    void SetTime(); // the date-and-time box
    // Show the picture in the file; one that is missing or not of the kind
    // accepted leaves the built-in texture in its place, the check marks and
    // the remembered path as they were, and gives false. The field takes
    // bitmaps only.
    bool UseFieldPicture(const QString& path) { return look_->UseFieldPicture(path); }
    bool UseBackgroundPicture(const QString& path) { return look_->UseBackgroundPicture(path); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct TStored {
        TGameSettings game;
        TShellSettings shell;
        TMusicSettings music;
        QStringList musicSources; // the history, "Music"
        TRecentFiles recent;
        QStringList restoreTypes; // file types registered again at the start
    };
    static TStored ReadStored(const SettingsAccess& store);
    static TStored Unstored(const TGameSettings& settings);
    TMainForm(TRandomSource& random, SettingsAccess* store, TStored stored, TSearchRunner* searches,
              const TMusicParts& music, QWidget* parent);

    // TBoardHost
    const TGameState& BoardGame() const override;
    bool BoardPlayR() const override;
    bool BoardBeginGame() const override;
    bool BoardCanAct() const override;
    void BoardCellClick(int column, int row) override;
    void BoardRedrawFinished() override;
    QPoint BoardLastMove() const override;

    void BuildLayout();
    void BuildMenus();
    void ConnectCommands();
    void ConnectMusicCommands();
    // Runs the command unless a search runs or the window is closing; a
    // refused check item gets its mark back.
    void OnCommand(TCommand command, std::function<void()> run, bool gated);
    // Every option's check mark from the settings.
    void MirrorOptions();
    void ShowControlPanel(bool on);
    void StayOnTop(bool on);
    void MinimizeToTrayClicked();
    void KeepWindowsClicked();
    void ConnectDesktopCommands();
    void PlaySound(TGameSound sound);
    void OpenHintWindow();
    void OpenHandedPaths();
    void WriteSettingsAtExit();
    void ResetAllSettings(); // "Все по умолчанию"
    void RestartProgram();
    TGameSounds& Sounds();

    TMessageBoxes messages_;
    SettingsAccess* store_ = nullptr; // none: the window keeps no settings
    // The settings as read, kept in step with the window: the model the
    // commands' check marks mirror and the exit writes back.
    TGameSettings settings_;
    TShellSettings shell_;
    TMusicSettings music_;
    TRecentFiles recent_;
    // "Не скрывать окна при минимизации" as the next start will read it; the
    // mode of this run is shell_.StartStandard.
    bool keepWindows_ = false;
    bool settingsWritable_ = false;
    std::function<bool()> startProgram_;
    std::function<void()> closeStep_;
    bool closed_ = false;     // the close was accepted: the music is shut down
    QStringList handedPaths_; // handed over, waiting for the player's turn
    TLongOperations longOperations_;
    TFileChooser chooser_;

    TCommandRegistry commands_;
    std::unique_ptr<TSearchWorker> ownSearches_;
    TSearchRunner* searches_ = nullptr;
    TFigureList figureList_;
    std::unique_ptr<TGameSounds> sounds_;

    QWidget* client_ = nullptr;
    TBoardWidget* board_ = nullptr;
    TControlPanel* panel_ = nullptr;
    QWidget* statusBar_ = nullptr;
    std::array<QLabel*, 5> statusPanels_{};
    QTimer* clockTimer_ = nullptr;
    QMenu* gameMenu_ = nullptr;
    QMenu* levelMenu_ = nullptr;
    QAction* afterSaveItem_ = nullptr; // "Загрузить снова" goes before it

    std::unique_ptr<TGameViewAdapter> view_;
    std::unique_ptr<TGameController> controller_;
    std::unique_ptr<TGameLook> look_;
    std::unique_ptr<TSavedGameCommands> savedGames_;
    std::unique_ptr<THelpMenu> help_;
    std::unique_ptr<TGameTray> tray_;
    std::unique_ptr<TDesktopCommands> desktop_;
    // Last: its tick reaches the view and the clock, and its searches the
    // long operations, until it is gone.
    std::unique_ptr<TMusicHost> player_;
};

} // namespace dorvane
