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
// A search of the computer player runs off the UI thread (TSearchRunner) on a
// copy of the game, with its two random draws taken before it starts. While it
// runs EngineBusy is set and every entry the window calls returns at once, so
// the live game cannot change under it; the result comes back through the
// event loop and the turn goes on from there (a continuation). A close asked
// for meanwhile is refused by MayClose, which cancels the search, and carried
// out by TGameView::CloseDeferred when the (cut short) result arrives; the
// result is then dropped. Everything here runs on the UI thread.
#pragma once

#include "game/engine.h"
#include "game/gamestate.h"
#include "game/random.h"
#include "play/game_options.h"
#include "play/game_view.h"
#include "play/march.h"
#include "play/saved_game.h"
#include "play/score_board.h"
#include "play/search_runner.h"

#include <QString>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace dorvane {

// The enabled state of the five navigation commands.
struct TNavigation {
    bool ToBegin = false, StepBack = false, ResumePlay = false, StepForward = false, ToEnd = false;
    bool operator==(const TNavigation&) const = default;
};

// What the history indices allow: during play only looking back; in the
// history view going back while not at the start, forward while not at the
// last recorded move, and resuming.
TNavigation NavigationFor(int currentV, int currentR, bool playing);

class TGameController final {
public:
    static constexpr int kPauseMs = 1000;
    static constexpr int kPauseFastMs = 100;
    static constexpr int kClockMs = 1000;
    static constexpr int kBlinkMs = 200;
    static constexpr std::uint8_t kUnfinished = 64; // CurrentE while a game goes on

    // options is the window's copy of the stored options: the controller
    // corrects the mode to 1..2 and changes the options in place.
    TGameController(TGameView& view, TSearchRunner& searches, TRandomSource& random,
                    TGameOptions& options, const TPlayerNames& names);
    // Cancels a search still running: its answer is never delivered here.
    ~TGameController();
    TGameController(const TGameController&) = delete;
    TGameController& operator=(const TGameController&) = delete;

    // The window's creation: a new game with side 1 to move, shown at once.
    void Initialize();

    // --- Commands of the window -------------------------------------------
    void CellClick(int column, int row);
    void StartGame(TSide side);          // F1 (side 1), F2 (side 2)
    void PassMove();                     // "Нет хода"
    void ResetCommand();                 // "Сбросить счет" with its question
    void SetIntellect(TStrength level);  // the level menu items
    void IntellectItemChosen(int index); // the radio group: item index = 3 - Intellect
    void SetRegim(int regim);            // "Игроки" items, with "Вы уверены?"
    void SetHintOn(bool on);             // menu item and check box alike
    void SetGoFast(bool on);
    void SetComplication(bool on);
    // A name box left its editing; false (and nothing changed) for an empty text.
    bool RenameSide(TSide side, const QString& name);

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
    // indices are out of range is refused anyway (false, nothing changed), and
    // so is any load while a search runs.
    bool ShowLoadedGame(const TSavedGame& saved);
    // What a saved game holds of the current game.
    TSavedGame SavedGame() const;

    // --- Call-backs of the window -----------------------------------------
    void RedrawFinished();
    void TimerFired(TGameTimer timer);
    // The window wants to close. False while a search runs: the close is then
    // carried out through TGameView::CloseDeferred when the search returns.
    bool MayClose();

    // Starts a search of the computer player (the hint window's as well) on
    // a copy of the game. then(true) runs on the UI thread once the result is
    // in State(); then(false) when the window closed meanwhile, and the caller
    // must leave the game alone. Nothing is started (then is dropped) while
    // another search runs or the window is closing.
    using TAfterSearch = std::function<void(bool alive)>;
    void Search(TSearchType type, TAfterSearch then);
    // Runs work now when no search runs and the window is not closing, else
    // once the running search and everything it led to are done (in order).
    // For what arrives from outside - a file handed over, a start-up file - and
    // must wait its turn rather than be refused.
    void WhenIdle(std::function<void()> work);

    // --- State, read by the window and the saved-game code ----------------
    // A search runs or the window is closing: every command that changes the
    // game or opens a dialog must refuse now.
    bool Blocked() const;
    bool CanAct() const;
    const TGameState& State() const { return game_; }
    const TMarch& March() const { return March_; }
    const TScoreBoard& Scores() const { return scores_; }
    std::uint8_t Regim() const { return static_cast<std::uint8_t>(options_.Regim); }
    // The strength the computer plays at: the average one for a stored level
    // the program does not know.
    TStrength Intellect() const {
        return StrengthOf(options_.Intellect).value_or(TStrength::Average);
    }
    const TGameOptions& Options() const { return options_; }
    bool BeginGame() const { return BeginGame_; }
    bool PlayR() const { return PlayR_; }
    bool OnShow1() const { return OnShow1_; }
    bool OnShow2() const { return OnShow2_; }
    std::uint8_t CurrentR() const { return CurrentR_; }
    std::uint8_t CurrentV() const { return CurrentV_; }
    std::uint8_t CurrentE() const { return CurrentE_; }
    bool HintOn() const { return options_.HintOn; }
    bool GoFast() const { return options_.GoFast; }
    bool Complication() const { return options_.Complication; }
    const QString& SideName(TSide side) const {
        return side == TSide::First ? SideName1_ : SideName2_;
    }
    std::int32_t ClockSeconds(TSide side) const { return clocks_[ClockIndex(side)].seconds; }
    bool ClockRunning(TSide side) const { return clocks_[ClockIndex(side)].running; }
    bool PausePending() const { return pauseRunning_; }
    TNavigation Navigation() const { return NavigationFor(CurrentV_, CurrentR_, PlayR_); }

private:
    struct TClock {
        std::int32_t seconds = 0;
        bool running = false;
    };
    static int ClockIndex(TSide side) { return side == TSide::First ? 0 : 1; }
    TSide ToMove() const { return SideOfFlag(game_.SideToMove); }
    void SetToMove(TSide side) { game_.SideToMove = FlagOf(side); }

    // The result of the search stamped `generation`; a stale one is dropped.
    void SearchDone(const TSearchResult& result);
    // Forgets the running search, if any, and cancels it: its result will be
    // dropped.
    void DropSearch();
    void CancelSearch();
    void RunIdleWork();

    // The gate of a human move (a click, the hint window): false, with the
    // message the player is due, when the board cannot be played now.
    bool HumanMayMove();
    void NewGame();
    void ApplyComplication();
    void HumanMove();
    bool PlayMove(); // sound, ApplyMove, RecordMove; true when discs flipped
    // The computer's turn. afterPass says that the human's last act was a
    // pass rather than a move: a computer without a move then ends the game.
    // then runs when the turn is done.
    void ComputerMove(bool afterPass, std::function<void()> then = {});
    void ComputerMoveFound(bool afterPass);
    void FinishComputerMove();
    // The end test after an act of the side that just acted. noLegalMoves
    // says that the act left that side's opponent... see CheckGameEnd's body:
    // with the move register empty it is the second side in a row without a
    // move, which ends the game.
    void CheckGameEnd(bool lastActWasNoMove);
    void FinishGame(const QString& result);
    void ResetScore();
    // Updates the hint box (a search when the hint is on) and starts the clock
    // of the side to move; then runs afterwards.
    void UpdateHint(std::function<void()> then = {});
    void ShowHintFound();
    void StartTurnClock();
    void HandOverToSide1();

    // A game recorded up to entry 60 is over whatever the board says: a
    // played game fills the board by then, and only a strange loaded history
    // could offer more moves, which the record could not take.
    bool HistoryFull() const { return CurrentV_ >= kMaxRecordedMoves; }
    void RecordMove();
    void ShowPosition();
    void StopPlay();
    void ShowMoveInfo();
    void ShowNavigation();

    void SetStatus(TSide side, const QString& text);
    void SetStatusBox(TSide side, const QString& text);
    void SetHintBox(const QString& text);
    void ShowScores();
    void ShowOverall();
    void ShowRating();
    void ShowPlayers();
    void ShowIntellect();

    void StartClock(TSide side);
    void StopClock(TSide side);
    void ResetClocks();
    void StartPause();
    void StopPause();
    void RequestRedraw(TRedraw kind);
    TRedraw MoveRedraw() const { return options_.GoFast ? TRedraw::AllAtOnce : TRedraw::Animated; }

    TGameView& view_;
    TSearchRunner& searches_;
    TRandomSource& random_;
    TGameOptions& options_;
    TGameState game_;
    TScoreBoard scores_;

    QString SideName1_;
    QString SideName2_;

    bool BeginGame_ = false;
    bool PlayR_ = true;
    bool OnShow1_ = false;
    bool OnShow2_ = false;
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

    std::uint64_t lastGeneration_ = 0;
    std::uint64_t searchGeneration_ = 0;              // the search whose result is awaited; 0 none
    std::shared_ptr<std::atomic<bool>> searchCancel_; // that search's cancel flag
    TAfterSearch afterSearch_;
    std::vector<std::function<void()>> idleWork_;
    std::shared_ptr<int> lifetime_ = std::make_shared<int>(0); // watched by the runner's answer
};

} // namespace dorvane
