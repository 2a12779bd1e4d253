// The game window as the controller sees it (TGameView): texts go to the
// control panel's state and the status bar, enabled states and check marks
// to the window's commands, redraws to the board, timers to the window's
// timers, messages to its message boxes. It decides nothing.
#pragma once

#include "view/commands.h"
#include "view/controlpanel.h"

#include "core/messages.h"
#include "play/game_view.h"

#include <array>
#include <functional>

class QLabel;
class QMenu;
class QTimer;
class QWidget;

namespace dorvane {

class TBoardWidget;
class TGameController;

struct TGameViewParts {
    QWidget* window = nullptr;
    TBoardWidget* board = nullptr;
    TControlPanel* panel = nullptr;
    std::array<QLabel*, 5> statusPanels{};
    const TCommandRegistry* commands = nullptr;
    QMenu* levelMenu = nullptr;
    TMessageService* messages = nullptr;
    std::function<void(TGameSound)> playSound;
};

class TGameViewAdapter final : public TGameView {
public:
    explicit TGameViewAdapter(const TGameViewParts& parts);
    ~TGameViewAdapter() override;
    TGameViewAdapter(const TGameViewAdapter&) = delete;
    TGameViewAdapter& operator=(const TGameViewAdapter&) = delete;

    // The timers report to the controller; set once it exists.
    void SetController(TGameController* controller) { controller_ = controller; }
    // Stops the game's timers: the window is going.
    void StopTimers();
    // The panel's date-and-time box, which is the window's, not the game's.
    void ShowDateTime(const QString& text);

    // TGameView
    void ShowMessage(const QString& text, TMessageIcon icon) override;
    bool AskYesNo(const QString& text) override;
    void ShowStatusBox(TSide side, const QString& text) override;
    void ShowStatusPanel(TStatusPanel panel, const QString& text) override;
    void ShowMoveCounter(const QString& text) override;
    void ShowScores(const QString& caption, const QString& score1, const QString& score2) override;
    void ShowOverall(const QString& overall1, const QString& overall2) override;
    void ShowRating(const QString& rating1, const QString& rating2) override;
    void ShowClock(TSide side, const QString& text) override;
    void ShowPlayers(const TPlayersView& players) override;
    void ShowHint(const QString& text, TSide side) override;
    void ShowIntellect(std::optional<TStrength> strength) override;
    void ShowPassBlink(bool highlighted) override;
    void EnableCommand(TGameCommand command, bool enabled) override;
    void StartTimer(TGameTimer timer, int intervalMs) override;
    void StopTimer(TGameTimer timer) override;
    void RequestRedraw(TRedraw kind) override;
    void ShowMoveMarks(const TFlipGrid& grid, int bestColumn, int bestRow) override;
    void PlaySound(TGameSound sound) override;
    void ShowBusy(bool busy) override;
    void CloseDeferred() override;

private:
    TPanelSide& Side(TSide side) { return panel_.sides[side == TSide::First ? 0 : 1]; }
    // Every change of the game's texts passes here, also the end of a game
    // that no redraw follows (after a pass or the computer's search), so the
    // board's cursor follows the game from here too.
    void Update();

    TGameViewParts parts_;
    TGameController* controller_ = nullptr;
    TPanelState panel_;
    std::array<QTimer*, 4> timers_{};
    bool busyCursor_ = false;
};

} // namespace dorvane
