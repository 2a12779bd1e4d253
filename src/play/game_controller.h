// The course of one game in the game window: turns, passes, the computer's
// moves, the end of a game, the scores, the clocks, the hint and the move
// history with its navigation. Every decision is made here from the state
// below; the window (TGameView) only shows texts, enables commands, runs
// timers and draws the board.
//
// The turn changes hands at the end of a redraw: a move asks the view for a
// redraw and sets OnShow1/OnShow2; the view draws from its event loop and then
// calls RedrawFinished, which completes the hand-over. Until then CanAct is
// false, so nothing the user does in between can start another move.
//
// A search of the computer player runs on the UI thread and lets window
// events through (TGameView::ProcessEvents). Every entry the window calls
// returns at once while EngineBusy is set. A close asked for during a search
// is refused by MayClose and carried out by TGameView::CloseDeferred as soon
// as the search has returned; the search's result is then dropped.
#pragma once

#include "game/engine.h"
#include "game/gamestate.h"
#include "game/random.h"
#include "play/game_view.h"
#include "play/march.h"
#include "play/saved_game.h"
#include "play/score_board.h"

#include <QString>

#include <array>
#include <cstdint>

namespace dorvane {

// The settings the controller starts with (read by the window at creation).
struct TGameOptions {
    std::uint8_t Regim = 1;     // 1 human against computer, 2 human against human
    std::uint8_t Intellect = 2; // 1 "Низкий", 2 "Средний", 3 "Высокий"
    bool HintOn = false;        // "Подсказка"
    bool GoFast = false;        // "Ходить быстро"
    bool Complication = false;  // "Усложнение"
    QString SideName1 = QStringLiteral("Зеленые");
    QString SideName2 = QStringLiteral("Синие");
};

class TGameController final : private TEngineHost {
public:
    static constexpr int kPauseMs = 1000;
    static constexpr int kPauseFastMs = 100;
    static constexpr int kClockMs = 1000;
    static constexpr int kBlinkMs = 200;
    static constexpr std::uint8_t kUnfinished = 64; // CurrentE while a game goes on

    TGameController(TGameView& view, TRandomSource& random, const TGameOptions& options = {});
    TGameController(const TGameController&) = delete;
    TGameController& operator=(const TGameController&) = delete;

    // The window's creation: a new game with side 1 to move, shown at once.
    void Initialize();

    // --- Commands of the window -------------------------------------------
    void CellClick(int column, int row);
    void StartGame(std::uint8_t sideFlag); // F1 (1), F2 (0)
    void PassMove();                       // "Нет хода"
    void ResetCommand();                   // "Сбросить счет" with its question
    void SetIntellect(int intellect);      // the level menu items
    void IntellectItemChosen(int index);   // the radio group: item index = 3 - Intellect
    void SetRegim(int regim);              // "Игроки" items, with "Вы уверены?"
    void SetHintOn(bool on);               // menu item and check box alike
    void SetGoFast(bool on);
    void SetComplication(bool on);
    // A name box left its editing; false (and nothing changed) for an empty text.
    bool RenameSide(std::uint8_t sideFlag, const QString& name);

    // "Найти ход": whether the hint window may open now; tells the player why
    // not, as a click on the board would.
    bool MayOpenHintWindow();
    // The hint window closed with "Применить": its search left the move in the
    // register, which is played as the human's move.
    void PlayHintMove();

    void ToBegin();     // "В начало"
    void StepBack();    // "Назад"
    void ResumePlay();  // "Играть"
    void StepForward(); // "Вперед"
    void ToEnd();       // "В конец"

    // A game read from a file: shown in history view at its CurrentV, play
    // resumes with ResumePlay. The codec has checked it; a history whose
    // indices are out of range is refused anyway (false, nothing changed).
    bool ShowLoadedGame(const TSavedGame& saved);
    // What a saved game holds of the current game.
    TSavedGame SavedGame() const;

    // --- Call-backs of the window -----------------------------------------
    void RedrawFinished();
    void TimerFired(TGameTimer timer);
    // The window wants to close. False while a search runs: the close is then
    // carried out through TGameView::CloseDeferred when the search returns.
    bool MayClose();

    // Runs a search of the computer player (for the hint window as well) with
    // the busy display and the close rule. False when the window closed
    // meanwhile: the caller must then leave the game alone.
    bool Search(int type);

    // --- State, read by the window and the saved-game code ----------------
    bool CanAct() const;
    const TGameState& State() const { return game_; }
    const TMarch& March() const { return March_; }
    const TScoreBoard& Scores() const { return scores_; }
    std::uint8_t Regim() const { return Regim_; }
    std::uint8_t Intellect() const { return Intellect_; }
    bool BeginGame() const { return BeginGame_; }
    bool PlayR() const { return PlayR_; }
    bool OnShow1() const { return OnShow1_; }
    bool OnShow2() const { return OnShow2_; }
    std::uint8_t CurrentR() const { return CurrentR_; }
    std::uint8_t CurrentV() const { return CurrentV_; }
    std::uint8_t CurrentE() const { return CurrentE_; }
    bool HintOn() const { return hintOn_; }
    bool GoFast() const { return goFast_; }
    bool Complication() const { return complication_; }
    const QString& SideName(std::uint8_t sideFlag) const {
        return sideFlag == 1 ? SideName1_ : SideName2_;
    }
    std::int32_t ClockSeconds(std::uint8_t sideFlag) const {
        return clocks_[ClockIndex(sideFlag)].seconds;
    }
    bool ClockRunning(std::uint8_t sideFlag) const { return clocks_[ClockIndex(sideFlag)].running; }
    bool PausePending() const { return pauseRunning_; }

private:
    struct TClock {
        std::int32_t seconds = 0;
        bool running = false;
    };
    static int ClockIndex(std::uint8_t sideFlag) { return sideFlag == 1 ? 0 : 1; }

    // TEngineHost
    void SearchStarted() override;
    void ProcessEvents() override;
    void SearchFinished() override;

    // True when an entry of the window must do nothing: a search runs or the
    // window is closing.
    bool Blocked() const;

    // The gate of a human move (a click, the hint window): false, with the
    // message the player is due, when the board cannot be played now.
    bool HumanMayMove();
    void NewGame();
    void ApplyComplication();
    void HumanMove();
    bool PlayMove(); // sound, ApplyMove, RecordMove; true when discs flipped
    void ComputerMove();
    void CheckGameEnd();
    void FinishGame(const QString& result);
    void ResetScore();
    void UpdateHint();

    // A game recorded up to entry 60 is over whatever the board says: a
    // played game fills the board by then, and only a strange loaded history
    // could offer more moves, which the record could not take.
    bool HistoryFull() const { return CurrentV_ >= kMaxRecordedMoves; }
    void RecordMove();
    void ShowPosition();
    void StopPlay();
    void ShowMoveInfo();
    void EnableNavigation(bool toBegin, bool back, bool resume, bool forward, bool toEnd);

    void SetStatus(std::uint8_t sideFlag, const QString& text);
    void SetStatusBox(std::uint8_t sideFlag, const QString& text);
    void SetHintBox(const QString& text);
    void ShowScores();
    void ShowOverall();
    void ShowRating();
    void ShowPlayers();

    void StartClock(std::uint8_t sideFlag);
    void StopClock(std::uint8_t sideFlag);
    void ResetClocks();
    void StartPause();
    void StopPause();
    void RequestRedraw(TRedraw kind);
    TRedraw MoveRedraw() const { return goFast_ ? TRedraw::AllAtOnce : TRedraw::Animated; }

    TGameView& view_;
    TRandomSource& random_;
    TGameState game_;
    TScoreBoard scores_;

    std::uint8_t Regim_;
    std::uint8_t Intellect_;
    bool hintOn_;
    bool goFast_;
    bool complication_;
    QString SideName1_;
    QString SideName2_;

    bool BeginGame_ = false;
    bool PlayR_ = true;
    bool OnShow1_ = false;
    bool OnShow2_ = false;
    std::int32_t FR = 0;
    bool ComputerResumed_ = false;

    TMarch March_{};
    std::uint8_t CurrentR_ = 0;
    std::uint8_t CurrentV_ = 0;
    std::uint8_t CurrentE_ = kUnfinished;

    std::array<TClock, 2> clocks_{};
    bool pauseRunning_ = false;
    bool blinkRunning_ = false;
    bool blinkLit_ = false;
    bool rebuildField_ = false; // the next redraw must rebuild the field picture
    bool handOverAfterSearch_ = false;
    bool closeRequested_ = false;
    QString statusBox1_, statusBox2_; // what the status boxes show
};

} // namespace dorvane
