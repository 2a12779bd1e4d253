// What the game controller asks of its window. The controller decides
// everything - which text, which command is enabled, when a timer runs - and
// the window only shows it, so whole games run in unit tests against a fake
// view without a display. The window calls back into the controller
// (TGameController) for clicks, commands, timer ticks and the end of a redraw.
//
// TSide::First is side 1 (the left column of the panel), TSide::Second side 2
// (the right column).
#pragma once

#include "core/messages.h"
#include "game/board.h"
#include "play/game_options.h"

#include <QString>

#include <optional>

namespace dorvane {

// The controller's timers. The window runs them (QTimer) and reports every
// expiry through TGameController::TimerFired.
enum class TGameTimer {
    ComputerPause, // one-shot: the computer moves when it fires
    Clock1,        // 1000 ms, side 1's thinking clock
    Clock2,        // 1000 ms, side 2's thinking clock
    PassBlink,     // 200 ms, the "Нет хода" caption blink
};

enum class TRedraw {
    // Changed cells appear one after another (150 ms apart) in visiting order.
    Animated,
    // Changed cells appear at once ("Ходить быстро", or the first draw).
    AllAtOnce,
    // Cells may have become empty (new game, earlier position shown): rebuild
    // the field picture first, then put every disc down at once.
    Rebuild,
};

// Commands whose enabled state the controller owns. Each one covers the menu
// item and the panel button together.
enum class TGameCommand {
    ToBegin,     // "В начало"
    StepBack,    // "Назад"
    ResumePlay,  // "Играть"
    StepForward, // "Вперед"
    ToEnd,       // "В конец"
};

enum class TGameSound { Begin, Move, End };

// The status bar's five panels, left to right.
enum class TStatusPanel { Side1 = 1, Side2 = 2, Count1 = 3, Count2 = 4, Hint = 5 };

// The players' display: names, the start commands' captions and the mode.
struct TPlayersView {
    QString name1, name2;
    QString startCaption1, startCaption2; // name + " начинают"
    int regim = 1;             // 1 human/computer ("COMPUTER" icon), 2 human/human ("USER")
    bool levelsEnabled = true; // level menu items and the level radio group
};

class TGameView {
public:
    virtual ~TGameView() = default;

    // Messages. Caption kMessageCaption; AskYesNo shows the question icon with
    // Yes/No buttons and returns true only for Yes.
    virtual void ShowMessage(const QString& text, TMessageIcon icon) = 0;
    virtual bool AskYesNo(const QString& text) = 0;

    // Texts of the control panel and the status bar.
    virtual void ShowStatusBox(TSide side, const QString& text) = 0; // row "Ход 00 из 00"
    virtual void ShowStatusPanel(TStatusPanel panel, const QString& text) = 0;
    virtual void ShowMoveCounter(const QString& text) = 0; // "Ход 07 из 12"
    virtual void ShowScores(const QString& caption, const QString& score1,
                            const QString& score2) = 0;
    virtual void ShowOverall(const QString& overall1, const QString& overall2) = 0;
    virtual void ShowRating(const QString& rating1, const QString& rating2) = 0;
    virtual void ShowClock(TSide side, const QString& text) = 0; // "0:00:00"
    virtual void ShowPlayers(const TPlayersView& players) = 0;
    // The hint box in the colours of the given side (empty text: nothing suggested).
    virtual void ShowHint(const QString& text, TSide side) = 0;
    // The check marks of "Низкий"/"Средний"/"Высокий" and the radio group; none
    // for a stored strength the program does not know.
    virtual void ShowIntellect(std::optional<TStrength> strength) = 0;
    // The "Нет хода" caption: highlighted = NoMoveColor, else the button-face colour.
    virtual void ShowPassBlink(bool highlighted) = 0;

    virtual void EnableCommand(TGameCommand command, bool enabled) = 0;

    // Timers: starting a running timer restarts it; stopping a stopped one is harmless.
    virtual void StartTimer(TGameTimer timer, int intervalMs) = 0;
    virtual void StopTimer(TGameTimer timer) = 0;

    // Bring the board on screen up to GameBoard from the event loop - never
    // inside the call that asks for it - and then call
    // TGameController::RedrawFinished, which hands the turn over. A request
    // made while a redraw runs must lead to one more redraw after it, so that
    // RedrawFinished always follows the drawing of the latest position.
    // Requests made before the redraw starts merge into one of the strongest
    // kind asked for (Rebuild > AllAtOnce > Animated).
    virtual void RequestRedraw(TRedraw kind) = 0;
    // Markers of a refused pass on every cell whose grid entry is non-zero;
    // (bestColumn, bestRow) gets the suggested-move marker (0, 0 = none).
    // The next redraw removes them.
    virtual void ShowMoveMarks(const TFlipGrid& grid, int bestColumn, int bestRow) = 0;

    // The window plays the sound only when its "Звуки" switch is on, without waiting.
    virtual void PlaySound(TGameSound sound) = 0;

    // A search is running: hourglass cursors on (true) or off (false).
    virtual void ShowBusy(bool busy) = 0;
    // A close asked for during a search was deferred (TGameController::MayClose
    // returned false); the search has now returned, so close the window for
    // real. Called from inside the controller: close from the event loop
    // (a queued call), not re-entrantly.
    virtual void CloseDeferred() = 0;
};

} // namespace dorvane
