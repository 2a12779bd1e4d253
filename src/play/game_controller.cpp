#include "game_controller.h"

namespace dorvane {

namespace {

const QString kThinking = QStringLiteral("думают");
const QString kYours = QStringLiteral("Ваш");
const QString kMine = QStringLiteral("Мой");
const QString kNone = QStringLiteral("нет");

QString CellText(int column, int row) {
    return QString::fromStdString(CellName(column, row));
}

TSearchType SearchTypeFor(TStrength strength) {
    switch (strength) {
    case TStrength::Low:
        return TSearchType::Simple;
    case TStrength::High:
        return TSearchType::LookAhead;
    case TStrength::Average:
        break;
    }
    return TSearchType::Rules;
}

// The corner and edge cells of the handicap, each given when the rating
// difference exceeds its threshold.
struct THandicapCell {
    int threshold, column, row;
};
constexpr std::array<THandicapCell, 12> kHandicap{{
    {40, 1, 1},
    {45, 1, 2},
    {50, 2, 1},
    {55, 8, 1},
    {60, 7, 1},
    {65, 8, 2},
    {70, 8, 8},
    {75, 8, 7},
    {80, 7, 8},
    {85, 1, 8},
    {90, 2, 8},
    {95, 1, 7},
}};

} // namespace

TGameController::TGameController(TGameView& view, TSearchRunner& searches, TRandomSource& random,
                                 TGameOptions& options, const TPlayerNames& names)
    : view_(view), searches_(searches), random_(random), options_(options),
      SideName1_(names.Player1), SideName2_(names.Player2) {
    if (options_.Regim != 2) options_.Regim = 1;
}

void TGameController::Initialize() {
    scores_.Reset();
    game_.SideToMove = 1;
    NewGame();
    OnShow1_ = OnShow2_ = false;
    ShowPlayers();
    ShowIntellect();
    SetStatus(TSide::First, kThinking);
    SetStatus(TSide::Second, QString());
    ShowOverall();
    ShowRating();
    UpdateHint([this] { RequestRedraw(TRedraw::Rebuild); });
}

TGameController::~TGameController() {
    CancelSearch();
}

bool TGameController::Blocked() const {
    return game_.EngineBusy != 0 || closeRequested_;
}

bool TGameController::CanAct() const {
    return (Regim() == 1 && ToMove() == TSide::First) || (Regim() == 2 && !OnShow1_ && !OnShow2_);
}

// --- Searches ---------------------------------------------------------------

void TGameController::Search(TSearchType type, TAfterSearch then) {
    if (Blocked()) return;
    TSearchJob job;
    job.Generation = ++lastGeneration_;
    job.Type = type;
    job.Draws = TSearchDraws::Take(random_);
    job.State = game_;
    searchGeneration_ = job.Generation;
    searchCancel_ = job.Cancel;
    afterSearch_ = std::move(then);
    game_.EngineBusy = 1;
    view_.ShowBusy(true);
    // A runner that outlives this controller must not reach it.
    searches_.Start(job,
                    [this, alive = std::weak_ptr<int>(lifetime_)](const TSearchResult& result) {
                        if (alive.lock()) SearchDone(result);
                    });
}

void TGameController::SearchDone(const TSearchResult& result) {
    if (result.Generation != searchGeneration_ || searchGeneration_ == 0) return;
    searchGeneration_ = 0;
    searchCancel_.reset();
    // A close cancelled the search: its answer is cut short and goes unused.
    if (!closeRequested_) TakeSearchResult(game_, result.State);
    game_.EngineBusy = 0;
    view_.ShowBusy(false);
    TAfterSearch then = std::move(afterSearch_);
    afterSearch_ = nullptr;
    if (closeRequested_) {
        view_.CloseDeferred();
        idleWork_.clear();
        if (then) then(false);
        return;
    }
    if (handOverAfterSearch_) {
        // A redraw finished while the search ran; its hand-over waits for a
        // redraw after the search so the turn never changes under a search.
        handOverAfterSearch_ = false;
        view_.RequestRedraw(TRedraw::AllAtOnce);
    }
    if (then) then(true);
    RunIdleWork();
}

void TGameController::CancelSearch() {
    if (searchCancel_) *searchCancel_ = true;
    searchCancel_.reset();
}

void TGameController::DropSearch() {
    if (searchGeneration_ == 0) return;
    CancelSearch();
    searchGeneration_ = 0;
    afterSearch_ = nullptr;
    game_.EngineBusy = 0;
    view_.ShowBusy(false);
}

void TGameController::WhenIdle(std::function<void()> work) {
    if (closeRequested_) return;
    idleWork_.push_back(std::move(work));
    RunIdleWork();
}

void TGameController::RunIdleWork() {
    // Each piece may start a search; the rest then waits for that one.
    while (!idleWork_.empty() && !Blocked()) {
        std::function<void()> work = std::move(idleWork_.front());
        idleWork_.erase(idleWork_.begin());
        work();
    }
}

bool TGameController::MayClose() {
    if (game_.EngineBusy == 0) return true;
    closeRequested_ = true;
    // The answer would be dropped anyway; the close need not wait for all of it.
    CancelSearch();
    return false;
}

// --- New game, start, reset -------------------------------------------------

void TGameController::NewGame() {
    view_.PlaySound(TGameSound::Begin);
    DropSearch();
    game_.GameBoard.fill(0);
    March_ = TMarch{};
    ResetClocks();
    CurrentE_ = kUnfinished;
    // A hand-over or computer move still pending from the old game must not
    // act on the new one.
    OnShow1_ = OnShow2_ = false;
    ComputerResumed_ = false;
    StopPause();
    game_.ForecastReady = 0;

    BeginGame_ = true;
    SetStartPosition(game_.GameBoard, random_);
    CurrentR_ = CurrentV_ = 0;
    // Not row 0, which the end test reads as "the last search found no move".
    game_.MoveColumn = 5;
    game_.MoveRow = 3;
    PlayR_ = true;
    ShowNavigation();
    if (options_.Complication) ApplyComplication();
    March_.Fields[0] = game_.GameBoard;
    March_.Who[0] = game_.SideToMove;
    rebuildField_ = true;
    ShowMoveInfo();
}

void TGameController::ApplyComplication() {
    std::uint8_t code = 0;
    int difference = 0;
    if (scores_.S6R < scores_.S5R) {
        code = 2;
        difference = scores_.S5R - scores_.S6R;
    } else if (scores_.S5R < scores_.S6R) {
        code = 1;
        difference = scores_.S6R - scores_.S5R;
    } else {
        return;
    }
    for (const THandicapCell& cell : kHandicap)
        if (difference > cell.threshold) game_.GameBoard[CellIndex(cell.column, cell.row)] = code;
}

void TGameController::StartGame(TSide side) {
    if (Blocked()) return;
    if (BeginGame_ && game_.DiscCount1 + game_.DiscCount2 > 5 &&
        !view_.AskYesNo(QStringLiteral("Начать с начала?")))
        return;
    NewGame();
    // The side that started: a computer move made first has not handed the
    // turn over yet, so this is still side 2 there.
    const auto finish = [this] {
        March_.Who[0] = game_.SideToMove;
        CheckGameEnd(false);
        RequestRedraw(MoveRedraw());
    };
    SetToMove(side);
    if (side == TSide::Second && Regim() == 1) {
        ComputerMove(false, finish);
        return;
    }
    UpdateHint([this, side, finish] {
        if (side == TSide::Second) {
            SetStatusBox(TSide::First, QString());
            SetStatusBox(TSide::Second, kYours);
            SetStatus(TSide::Second, kThinking);
            SetStatus(TSide::First, QString());
        } else {
            SetStatusBox(TSide::First, kYours);
            SetStatusBox(TSide::Second, QString());
            SetStatus(TSide::First, kThinking);
            SetStatus(TSide::Second, QString());
        }
        finish();
    });
}

void TGameController::ResetScore() {
    StopPause();
    StopClock(TSide::Second);
    scores_.Reset();
    game_.SideToMove = 1;
    StartClock(TSide::First);
    NewGame();
    CheckGameEnd(false);
    UpdateHint([this] {
        SetStatusBox(TSide::First, kYours);
        SetStatusBox(TSide::Second, QString());
        SetStatus(TSide::First, kThinking);
        SetStatus(TSide::Second, QString());
        RequestRedraw(TRedraw::Rebuild);
    });
}

void TGameController::ResetCommand() {
    if (Blocked()) return;
    if (game_.DiscCount1 + game_.DiscCount2 <= 5 && scores_.S3R + scores_.S4R <= 5) return;
    if (view_.AskYesNo(QStringLiteral("Сбросить счет?"))) ResetScore();
}

// --- Moves ------------------------------------------------------------------

bool TGameController::HumanMayMove() {
    if (Blocked()) return false;
    if (!PlayR_) {
        view_.ShowMessage(QStringLiteral("Игра остановлена!"), TMessageIcon::Information);
        return false;
    }
    if (!BeginGame_) return false; // a finished game ignores the board
    if (!CanAct()) {
        view_.ShowMessage(QStringLiteral("Сейчас не Ваш ход!"), TMessageIcon::Information);
        return false;
    }
    return true;
}

void TGameController::CellClick(int column, int row) {
    if (!IsPlayingCell(column, row) || !HumanMayMove()) return;
    game_.MoveColumn = column;
    game_.MoveRow = row;
    HumanMove();
}

bool TGameController::MayOpenHintWindow() {
    return HumanMayMove();
}

void TGameController::PlayHintMove() {
    if (Blocked() || !PlayR_ || !BeginGame_ || !CanAct()) return;
    if (game_.MovePriority <= 0 || !IsPlayingCell(game_.MoveColumn, game_.MoveRow)) return;
    HumanMove();
}

bool TGameController::PlayMove() {
    view_.PlaySound(TGameSound::Move);
    const bool flipped =
        ApplyMove(game_.GameBoard, game_.MoveColumn, game_.MoveRow, game_.SideToMove);
    if (flipped) RecordMove();
    return flipped;
}

void TGameController::HumanMove() {
    const int c = game_.MoveColumn;
    const int r = game_.MoveRow;
    if (game_.GameBoard[CellIndex(c, r)] != 0) return;
    if (HistoryFull()) {
        CheckGameEnd(false);
        return;
    }
    if (!PlayMove()) {
        view_.ShowMessage(QStringLiteral("Вы нарушаете правила игры!"), TMessageIcon::Warning);
        return;
    }
    const TSide mover = ToMove();
    const QString name = CellText(c, r);
    RequestRedraw(MoveRedraw());
    SetStatus(Other(mover), kThinking);
    StopClock(mover);
    SetToMove(Other(mover));
    if (mover == TSide::First) {
        OnShow1_ = true;
        CheckGameEnd(false);
        if (BeginGame_) {
            SetStatusBox(TSide::First, name);
            SetStatusBox(TSide::Second, Regim() == 1 ? kMine : kYours);
            SetStatus(TSide::First, name);
        }
    } else {
        OnShow2_ = true;
        CheckGameEnd(false);
        if (BeginGame_) {
            SetStatusBox(TSide::First, kYours);
            SetStatusBox(TSide::Second, name);
            SetStatus(TSide::Second, name);
        }
    }
}

void TGameController::ComputerMove(bool afterPass, std::function<void()> then) {
    if (!BeginGame_) {
        FinishComputerMove();
        if (then) then();
        return;
    }
    Search(SearchTypeFor(Intellect()), [this, afterPass, then = std::move(then)](bool alive) {
        if (!alive) return;
        ComputerMoveFound(afterPass);
        FinishComputerMove();
        if (then) then();
    });
}

void TGameController::ComputerMoveFound(bool afterPass) {
    SetStatusBox(TSide::First, kYours);
    SetStatus(TSide::First, kThinking);
    if (game_.MovePriority <= 0) {
        SetStatusBox(TSide::Second, kNone);
        // The side that acted before the computer: the human, who passed, or
        // whose position play was resumed from (then counted now).
        bool humanStuck = afterPass;
        if (ComputerResumed_) {
            SetToMove(Other(ToMove()));
            humanStuck = CountLegalMoves(game_.GameBoard, game_.SideToMove) == 0;
        }
        CheckGameEnd(humanStuck);
        if (BeginGame_)
            view_.ShowMessage(QStringLiteral("У меня нет хода."), TMessageIcon::Information);
    } else if (HistoryFull()) {
        CheckGameEnd(false);
    } else {
        SetStatusBox(TSide::Second, CellText(game_.MoveColumn, game_.MoveRow));
        PlayMove();
    }
    SetStatus(TSide::Second, statusBox2_);
}

void TGameController::FinishComputerMove() {
    ComputerResumed_ = false;
    StopClock(TSide::Second);
    RequestRedraw(MoveRedraw());
    OnShow2_ = true;
    if (BeginGame_ && game_.MovePriority > 0) CheckGameEnd(false);
}

void TGameController::PassMove() {
    if (Blocked()) return;
    if (blinkRunning_) view_.StopTimer(TGameTimer::PassBlink);
    blinkRunning_ = false;
    blinkLit_ = true;
    view_.ShowPassBlink(true);
    if (!CanAct()) return;
    if (!PlayR_) {
        view_.ShowMessage(QStringLiteral("Игра остановлена!"), TMessageIcon::Information);
        return;
    }
    if (!BeginGame_) return;

    const TSide passer = ToMove();
    const int legal = CountLegalMoves(game_.GameBoard, game_.SideToMove);
    if (legal > 0) {
        const bool best = options_.HintOn && game_.MoveRow != 0;
        view_.ShowMoveMarks(game_.MoveGrid, best ? game_.MoveColumn : 0, best ? game_.MoveRow : 0);
        view_.ShowMessage(QStringLiteral("Сейчас у Вас есть ") + LegalMovesText(legal) +
                              QStringLiteral("."),
                          TMessageIcon::Information);
        return;
    }

    // The passer has no move: with the register empty after the next side's
    // search as well, neither side can move.
    SetStatus(passer, kNone);
    SetStatus(Other(passer), kThinking);
    if (Regim() == 1) {
        SetToMove(TSide::Second);
        OnShow2_ = true;
        SetStatusBox(TSide::First, kNone);
        SetStatusBox(TSide::Second, kMine);
        StopClock(TSide::First);
        StartClock(TSide::Second);
        ComputerMove(true, [this] { CheckGameEnd(true); });
        return;
    }
    SetStatusBox(passer, kNone);
    SetStatusBox(Other(passer), kYours);
    StopClock(passer);
    StartClock(Other(passer));
    SetToMove(Other(passer));
    UpdateHint([this] {
        // Without the hint no search has looked at the new side, so the move
        // register still holds the last click. Say "no move" when the new
        // side has none, so that two sides without a move end the game.
        if (!options_.HintOn && CountLegalMoves(game_.GameBoard, game_.SideToMove) == 0)
            game_.ClearMoveRegister();
        CheckGameEnd(true);
    });
}

// --- The end of a game --------------------------------------------------------

void TGameController::CheckGameEnd(bool lastActWasNoMove) {
    if (!BeginGame_) return;
    ShowOverall();
    const int a = game_.DiscCount1;
    const int b = game_.DiscCount2;
    QString result;
    if (a == 0) {
        result = SideName1_ + QStringLiteral(" полностью разгромлены!");
    } else if (b == 0) {
        result = SideName2_ + QStringLiteral(" полностью разгромлены!");
    } else if ((game_.MoveRow == 0 && lastActWasNoMove) || a + b == 64 || HistoryFull()) {
        if (a < b)
            result = SideName2_ + QStringLiteral(" выиграли!");
        else if (a > b)
            result = SideName1_ + QStringLiteral(" выиграли!");
        else
            result = QStringLiteral("Ничья!");
    }
    if (!result.isEmpty()) FinishGame(result);
    ShowRating();
}

void TGameController::FinishGame(const QString& result) {
    view_.PlaySound(TGameSound::End);
    scores_.AddGame(game_.DiscCount1, game_.DiscCount2);
    view_.ShowOverall(scores_.OverallText1(), scores_.OverallText2());
    BeginGame_ = false;
    SetStatusBox(TSide::First, QString());
    SetStatusBox(TSide::Second, QString());
    SetStatus(TSide::First, QString());
    SetStatus(TSide::Second, QString());
    CurrentE_ = CurrentR_;
    StopClock(TSide::First);
    StopClock(TSide::Second);
    view_.ShowMessage(result, TMessageIcon::Information);
}

// --- The hand-over and the timers -----------------------------------------------

void TGameController::RedrawFinished() {
    if (closeRequested_) return;
    if (game_.EngineBusy != 0) {
        if (OnShow1_ || OnShow2_) handOverAfterSearch_ = true;
        return;
    }
    if (!OnShow1_) {
        HandOverToSide1();
        return;
    }
    OnShow1_ = false;
    if (Regim() == 1)
        StartPause();
    else
        game_.SideToMove = 0;
    UpdateHint([this] { HandOverToSide1(); });
}

void TGameController::HandOverToSide1() {
    if (!OnShow2_) return;
    OnShow2_ = false;
    game_.SideToMove = 1;
    UpdateHint();
}

void TGameController::TimerFired(TGameTimer timer) {
    switch (timer) {
    case TGameTimer::ComputerPause:
        if (closeRequested_ || !pauseRunning_) return;
        if (game_.EngineBusy != 0) {
            // A hint search is still running: try again shortly.
            view_.StartTimer(TGameTimer::ComputerPause, kPauseFastMs);
            return;
        }
        StopPause();
        ComputerMove(false);
        break;
    case TGameTimer::Clock1:
    case TGameTimer::Clock2: {
        const TSide side = timer == TGameTimer::Clock1 ? TSide::First : TSide::Second;
        TClock& clock = clocks_[ClockIndex(side)];
        if (!clock.running) return;
        ++clock.seconds;
        view_.ShowClock(side, ClockText(clock.seconds));
        break;
    }
    case TGameTimer::PassBlink:
        if (!blinkRunning_) return;
        blinkLit_ = !blinkLit_;
        view_.ShowPassBlink(blinkLit_);
        break;
    }
}

void TGameController::UpdateHint(std::function<void()> then) {
    if (BeginGame_ && options_.HintOn) {
        Search(TSearchType::Rules, [this, then = std::move(then)](bool alive) {
            if (!alive) return;
            ShowHintFound();
            StartTurnClock();
            if (then) then();
        });
        return;
    }
    if (BeginGame_) {
        // The board's cursor feedback reads MoveGrid.
        CountFlips(game_.MoveGrid, game_.GameBoard, game_.SideToMove);
        SetHintBox(QString());
        StartTurnClock();
    } else {
        SetHintBox(QString());
    }
    if (then) then();
}

void TGameController::ShowHintFound() {
    if (game_.MovePriority > 0) {
        SetHintBox(CellText(game_.MoveColumn, game_.MoveRow));
        return;
    }
    if ((ToMove() == TSide::First || Regim() == 2) && !blinkRunning_) {
        blinkRunning_ = true;
        blinkLit_ = true; // the caption starts in NoMoveColor
        view_.StartTimer(TGameTimer::PassBlink, kBlinkMs);
    }
    SetHintBox(kNone);
}

void TGameController::StartTurnClock() {
    StopClock(Other(ToMove()));
    StartClock(ToMove());
}

// --- Parameters -------------------------------------------------------------------

void TGameController::SetIntellect(TStrength level) {
    if (Blocked()) {
        ShowIntellect(); // the menu shows the level in force
        return;
    }
    if (level == Intellect()) {
        // Picking the level in force only makes it the stored one.
        options_.Intellect = StoredStrength(level);
    } else if (game_.DiscCount1 + game_.DiscCount2 > 4 || scores_.S3R + scores_.S4R >= 5) {
        if (view_.AskYesNo(QStringLiteral("Вы уверены?"))) {
            options_.Intellect = StoredStrength(level);
            ResetScore();
        }
    } else {
        options_.Intellect = StoredStrength(level);
    }
    ShowIntellect();
}

void TGameController::IntellectItemChosen(int index) {
    const std::optional<TStrength> level = StrengthOf(3 - index);
    if (!CanAct() || Blocked() || !level) {
        ShowIntellect(); // put the radio group back
        return;
    }
    SetIntellect(*level);
}

void TGameController::SetRegim(int regim) {
    if (!Blocked() && (regim == 1 || regim == 2) && regim != Regim() &&
        view_.AskYesNo(QStringLiteral("Вы уверены?"))) {
        options_.Regim = regim;
        ShowPlayers();
        ResetScore();
        return;
    }
    ShowPlayers(); // the radio items show the mode in force
}

void TGameController::SetHintOn(bool on) {
    if (on == options_.HintOn) return;
    options_.HintOn = on;
    // Never a search inside a search: the box follows at the next hand-over.
    if (!Blocked()) UpdateHint();
}

void TGameController::SetGoFast(bool on) {
    options_.GoFast = on;
}

void TGameController::SetComplication(bool on) {
    options_.Complication = on;
}

bool TGameController::RenameSide(TSide side, const QString& name) {
    if (name.isEmpty()) return false;
    (side == TSide::First ? SideName1_ : SideName2_) = name;
    ShowPlayers();
    return true;
}

} // namespace dorvane
