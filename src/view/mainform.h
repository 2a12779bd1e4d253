// The game window: the board, the control panel or the status bar in its
// place, and the "Игра" and "Параметры" menus. It holds no game logic: it
// shows what the controller tells it through TGameView, hands clicks and
// commands to the controller, runs the controller's timers and draws the
// board from its event loop.
#pragma once

#include "view/boardwidget.h"
#include "view/colorscheme.h"
#include "view/figurelist.h"
#include "view/gamesounds.h"
#include "view/messageservice.h"

#include "game/random.h"
#include "play/game_controller.h"
#include "play/game_settings.h"
#include "play/game_view.h"

#include <QColor>
#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QTimer;

namespace dorvane {

class TControlPanel;

// The look of the window as the player left it; the settings store fills it.
struct TLookOptions {
    bool StyleButton = false;
    bool ShowGrid = true;
    bool ShowCoordinates = true;
    bool ControlPanel = true;
    int ColorScheme = 2;  // 1 "По умолчанию", 2 "Темная"
    int FieldTexture = 3; // TEXTURE1..5
    int FonTexture = 1;
    bool SoundBegin = false;
    bool SoundMove = true;
    bool SoundEnd = false;
};

class TMainForm final : public QMainWindow, private TGameView, private TBoardHost {
public:
    // The program's window: reads every game setting from the store now and,
    // when the store was writable at the start, writes them back when it is
    // destroyed.
    TMainForm(TRandomSource& random, SettingsAccess& store, QWidget* parent = nullptr);
    // A window on the given options that keeps no settings.
    TMainForm(TRandomSource& random, const TGameOptions& game = {}, const TLookOptions& look = {},
              QWidget* parent = nullptr);
    ~TMainForm() override;

    // The start-up's files: after a restart with default settings the
    // temporary game resumes (and a game named on the command line is not
    // opened over it); otherwise the first argument is opened like a file
    // handed over from outside.
    void OpenAtStart(const QStringList& arguments, bool restarted);
    // A file from outside (command line, drop): a saved game is loaded when
    // the player may act; anything else is left alone.
    void OpenFile(const QString& path);
    // Loads a saved game with the program's messages; true when taken over.
    bool LoadGameFile(const QString& path);
    const TRecentFiles& RecentFiles() const { return settings_.RecentFiles; }
    // How "Все по умолчанию" starts the program again; by default a detached
    // copy of this executable with this run's arguments. False when it could
    // not be started.
    void SetProgramStarter(std::function<bool()> starter) { startProgram_ = std::move(starter); }
    bool SettingsWritable() const { return settingsWritable_; }

    // The window's caption: "Dorvane", or "Dorvane - " + text.
    void SetCaption(const QString& text);

    TGameController& Controller() { return *controller_; }
    TBoardWidget& Board() { return *board_; }
    TControlPanel& Panel() { return *panel_; }
    TMessageService& Messages() { return messages_; }
    QWidget* StatusBar() const { return statusBar_; }
    QLabel* StatusPanel(int panel) const { return statusPanels_[std::size_t(panel - 1)]; }
    // The menu item with the given text, searched through every menu.
    QAction* FindAction(const QString& text) const;
    void SetTime(); // the date-and-time box
    // Show the picture in the file; one that is missing or not of the kind
    // accepted leaves the built-in texture in its place, the check marks and
    // the remembered path as they were, and gives false. The field takes
    // bitmaps only.
    bool UseFieldPicture(const QString& path);
    bool UseBackgroundPicture(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    TMainForm(TRandomSource& random, SettingsAccess* store, const TGameSettings& settings,
              QWidget* parent);

    // TGameView
    void ShowMessage(const QString& text, TMessageIcon icon) override;
    bool AskYesNo(const QString& text) override;
    void ShowStatusBox(std::uint8_t sideFlag, const QString& text) override;
    void ShowStatusPanel(int panel, const QString& text) override;
    void ShowMoveCounter(const QString& text) override;
    void ShowScores(const QString& caption, const QString& score1, const QString& score2) override;
    void ShowOverall(const QString& overall1, const QString& overall2) override;
    void ShowRating(const QString& rating1, const QString& rating2) override;
    void ShowClock(std::uint8_t sideFlag, const QString& text) override;
    void ShowPlayers(const TPlayersView& players) override;
    void ShowHint(const QString& text, std::uint8_t sideFlag) override;
    void ShowIntellect(int intellect) override;
    void ShowPassBlink(bool highlighted) override;
    void EnableCommand(TGameCommand command, bool enabled) override;
    void StartTimer(TGameTimer timer, int intervalMs) override;
    void StopTimer(TGameTimer timer) override;
    void RequestRedraw(TRedraw kind) override;
    void ShowMoveMarks(const TFlipGrid& grid, int bestColumn, int bestRow) override;
    void PlaySound(TGameSound sound) override;
    void ShowBusy(bool busy) override;
    void ProcessEvents() override;
    void CloseDeferred() override;

    // TBoardHost
    const TGameState& BoardGame() const override;
    bool BoardPlayR() const override;
    bool BoardBeginGame() const override;
    bool BoardCanAct() const override;
    void BoardCellClick(int column, int row) override;
    void BoardRedrawFinished() override;

    void BuildMenus();
    void BuildGameMenu();
    void BuildParameterMenu();
    void BuildViewMenu(QMenu* menu);
    void BuildFileItems(QMenu* menu);
    void RebuildRecentMenu();
    void LoadGameCommand();
    void SaveGameCommand();
    // The saved-game dialog; empty when cancelled.
    QString AskGameFile(bool save);
    void ApplyStoredLook();
    void WriteSettingsAtExit();
    void ResetAllSettings(); // "Все по умолчанию"
    void RestartProgram();
    void StayOnTop(bool on);
    bool ShowFieldPicture(const QString& path);
    bool ShowBackgroundPicture(const QString& path);
    void ConnectPanel();
    void ApplyScheme(int scheme);
    void ShowControlPanel(bool on);
    void SetStyle(bool buttons);
    void LoadFieldPicture();
    void ChooseFieldTexture();
    void LoadBackgroundPicture();
    void ChooseBackgroundTexture();
    void ChangeGrid(bool on);
    void ColourHint();
    void NameEdited(std::uint8_t sideFlag, const QString& name);
    TGameSounds& Sounds();
    // Rebuilds the field picture in the picture style and redraws at once.
    void RefreshField();

    TMessageService messages_;
    SettingsAccess* store_ = nullptr; // none: the window keeps no settings
    TGameSettings settings_;          // as read, kept in step for the exit's writes
    bool settingsWritable_ = false;
    // A stored level outside 1..3 is written back unchanged unless the
    // player picked a level (or loaded a game) during the run.
    bool levelChosen_ = false;
    std::function<bool()> startProgram_;
    QString gameFolder_; // where the saved-game dialogs open
    std::unique_ptr<TGameController> controller_;
    TLookOptions look_;
    TColorScheme scheme_;
    TCustomScheme custom_;
    TFigureList figureList_;
    TPlayerNames playerNames_; // "Player1", "Player2"
    std::unique_ptr<TGameSounds> sounds_;
    QString pictureFolder_; // "DirOfPicture"
    QString fieldPath_;
    QString backgroundPath_;
    bool loadField_ = false;
    bool loadBackground_ = false;
    std::uint8_t hintSide_ = 1;
    bool busyCursor_ = false;

    QWidget* client_ = nullptr;
    TBoardWidget* board_ = nullptr;
    TControlPanel* panel_ = nullptr;
    QWidget* statusBar_ = nullptr;
    std::array<QLabel*, 5> statusPanels_{};
    std::array<QTimer*, 4> timers_{};
    QTimer* clockTimer_ = nullptr;

    // Menu items the window keeps in step with the game.
    std::array<QAction*, 2> startItems_{};
    QAction* passItem_ = nullptr;
    QAction* resetItem_ = nullptr;
    QMenu* gameMenu_ = nullptr;
    QAction* afterSaveItem_ = nullptr; // "Загрузить снова" goes before it
    QMenu* recentMenu_ = nullptr;
    std::array<QAction*, 5> navigationItems_{};
    QAction* hintItem_ = nullptr;
    QAction* goFastItem_ = nullptr;
    QAction* complicationItem_ = nullptr;
    std::array<QAction*, 2> regimItems_{};
    std::array<QAction*, 3> levelItems_{}; // "Высокий", "Средний", "Низкий"
    QMenu* levelMenu_ = nullptr;
    QAction* loadFieldItem_ = nullptr;
    QAction* fieldTextureItem_ = nullptr;
    QAction* loadBackgroundItem_ = nullptr;
    QAction* backgroundTextureItem_ = nullptr;
    QAction* gridItem_ = nullptr;
    QAction* coordinatesItem_ = nullptr;
    QAction* panelItem_ = nullptr;
    std::array<QAction*, 2> styleItems_{}; // "Кнопки", "Рисунок"
    std::array<QAction*, 2> schemeItems_{};
    std::array<QAction*, 3> soundItems_{};
    QAction* stayOnTopItem_ = nullptr;
    QAction* defaultsItem_ = nullptr;
};

} // namespace dorvane
