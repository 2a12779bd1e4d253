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

TGameController::TGameController(TGameView& view, TRandomSource& random,
                                 const TGameOptions& options)
    : view_(view), random_(random), Regim_(options.Regim == 2 ? 2 : 1),
      Intellect_(options.Intellect >= 1 && options.Intellect <= 3 ? options.Intellect : 2),
      hintOn_(options.HintOn), goFast_(options.GoFast), complication_(options.Complication),
      SideName1_(options.SideName1), SideName2_(options.SideName2) {}

void TGameController::Initialize() {
    scores_.Reset();
    game_.SideToMove = 1;
    NewGame();
    OnShow1_ = OnShow2_ = false;
    ShowPlayers();
    view_.ShowIntellect(Intellect_);
    SetStatus(1, kThinking);
    SetStatus(0, QString());
    ShowOverall();
    ShowRating();
    UpdateHint();
    RequestRedraw(TRedraw::Rebuild);
}

bool TGameController::Blocked() const {
    return game_.EngineBusy != 0 || closeRequested_;
}

bool TGameController::CanAct() const {
    return (Regim_ == 1 && game_.SideToMove == 1) || (Regim_ == 2 && !OnShow1_ && !OnShow2_);
}

// --- Searches ---------------------------------------------------------------

void TGameController::SearchStarted() {
    view_.ShowBusy(true);
}

void TGameController::ProcessEvents() {
    view_.ProcessEvents();
}

void TGameController::SearchFinished() {
    view_.ShowBusy(false);
}

bool TGameController::Search(int type) {
    if (Blocked()) return false;
    FindMove(game_, random_, type, *this);
    if (closeRequested_) {
        view_.CloseDeferred();
        return false;
    }
    if (handOverAfterSearch_) {
        // A redraw finished while the search ran; its hand-over waits for a
        // redraw after the search so the turn never changes under a search.
        handOverAfterSearch_ = false;
        view_.RequestRedraw(TRedraw::AllAtOnce);
    }
    return true;
}

bool TGameController::MayClose() {
    if (game_.EngineBusy == 0) return true;
    closeRequested_ = true;
    return false;
}

// --- New game, start, reset -------------------------------------------------

void TGameController::NewGame() {
    view_.PlaySound(TGameSound::Begin);
    game_.GameBoard.fill(0);
    March_ = TMarch{};
    ResetClocks();
    CurrentE_ = kUnfinished;
    EnableNavigation(false, false, false, false, false);
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
    if (complication_) ApplyComplication();
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

void TGameController::StartGame(std::uint8_t sideFlag) {
    if (Blocked()) return;
    if (BeginGame_ && game_.DiscCount1 + game_.DiscCount2 > 5 &&
        !view_.AskYesNo(QStringLiteral("Начать с начала?")))
        return;
    NewGame();
    if (sideFlag != 1) {
        game_.SideToMove = 0;
        if (Regim_ == 1) {
            ComputerMove();
            if (closeRequested_) return;
        } else {
            UpdateHint();
            SetStatusBox(1, QString());
            SetStatusBox(0, kYours);
            SetStatus(0, kThinking);
            SetStatus(1, QString());
        }
    } else {
        game_.SideToMove = 1;
        UpdateHint();
        SetStatusBox(1, kYours);
        SetStatusBox(0, QString());
        SetStatus(1, kThinking);
        SetStatus(0, QString());
    }
    // The side that started: a computer move made above has not handed the
    // turn over yet, so this is still side 2 there.
    March_.Who[0] = game_.SideToMove;
    CheckGameEnd();
    RequestRedraw(MoveRedraw());
}

void TGameController::ResetScore() {
    StopPause();
    StopClock(0);
    scores_.Reset();
    game_.SideToMove = 1;
    StartClock(1);
    NewGame();
    CheckGameEnd();
    UpdateHint();
    SetStatusBox(1, kYours);
    SetStatusBox(0, QString());
    SetStatus(1, kThinking);
    SetStatus(0, QString());
    RequestRedraw(TRedraw::Rebuild);
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
    FR = ApplyMove(game_.GameBoard, game_.MoveColumn, game_.MoveRow, game_.SideToMove) ? 1 : 0;
    if (FR != 0) RecordMove();
    return FR != 0;
}

void TGameController::HumanMove() {
    const int c = game_.MoveColumn;
    const int r = game_.MoveRow;
    if (game_.GameBoard[CellIndex(c, r)] != 0) return;
    if (HistoryFull()) {
        CheckGameEnd();
        return;
    }
    if (!PlayMove()) {
        view_.ShowMessage(QStringLiteral("Вы нарушаете правила игры!"), TMessageIcon::Warning);
        return;
    }
    const std::uint8_t mover = game_.SideToMove;
    const QString name = CellText(c, r);
    RequestRedraw(MoveRedraw());
    SetStatus(OtherSide(mover), kThinking);
    StopClock(mover);
    if (mover == 1) {
        game_.SideToMove = 0;
        OnShow1_ = true;
        CheckGameEnd();
        if (BeginGame_) {
            SetStatusBox(1, name);
            SetStatusBox(0, Regim_ == 1 ? kMine : kYours);
            SetStatus(1, name);
        }
    } else {
        game_.SideToMove = 1;
        OnShow2_ = true;
        CheckGameEnd();
        if (BeginGame_) {
            SetStatusBox(1, kYours);
            SetStatusBox(0, name);
            SetStatus(0, name);
        }
    }
}

void TGameController::ComputerMove() {
    if (BeginGame_) {
        if (!Search(Intellect_)) return;
        SetStatusBox(1, kYours);
        SetStatus(1, kThinking);
        if (game_.MovePriority <= 0) {
            SetStatusBox(0, kNone);
            if (ComputerResumed_) {
                game_.SideToMove = OtherSide(game_.SideToMove);
                FR = CountLegalMoves(game_.GameBoard, game_.SideToMove);
            }
            CheckGameEnd();
            if (BeginGame_)
                view_.ShowMessage(QStringLiteral("У меня нет хода."), TMessageIcon::Information);
        } else if (HistoryFull()) {
            CheckGameEnd();
        } else {
            SetStatusBox(0, CellText(game_.MoveColumn, game_.MoveRow));
            PlayMove();
        }
        SetStatus(0, statusBox2_);
    }
    ComputerResumed_ = false;
    StopClock(0);
    RequestRedraw(MoveRedraw());
    OnShow2_ = true;
    if (BeginGame_ && game_.MovePriority > 0) CheckGameEnd();
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

    const std::uint8_t passer = game_.SideToMove;
    FR = CountLegalMoves(game_.GameBoard, passer);
    if (FR > 0) {
        const bool best = hintOn_ && game_.MoveRow != 0;
        view_.ShowMoveMarks(game_.MoveGrid, best ? game_.MoveColumn : 0, best ? game_.MoveRow : 0);
        view_.ShowMessage(QStringLiteral("Сейчас у Вас есть ") + LegalMovesText(FR) +
                              QStringLiteral("."),
                          TMessageIcon::Information);
        return;
    }

    SetStatus(passer, kNone);
    SetStatus(OtherSide(passer), kThinking);
    if (Regim_ == 1) {
        game_.SideToMove = 0;
        OnShow2_ = true;
        SetStatusBox(1, kNone);
        SetStatusBox(0, kMine);
        StopClock(1);
        StartClock(0);
        ComputerMove();
        if (closeRequested_) return;
    } else {
        SetStatusBox(passer, kNone);
        SetStatusBox(OtherSide(passer), kYours);
        StopClock(passer);
        StartClock(OtherSide(passer));
        game_.SideToMove = OtherSide(passer);
        UpdateHint();
        if (closeRequested_) return;
        // Without the hint no search has looked at the new side, so the move
        // register still holds the last click. Say "no move" when the new
        // side has none, so that two sides without a move end the game.
        if (!hintOn_ && CountLegalMoves(game_.GameBoard, game_.SideToMove) == 0)
            game_.ClearMoveRegister();
    }
    CheckGameEnd();
}

// --- The end of a game --------------------------------------------------------

void TGameController::CheckGameEnd() {
    if (!BeginGame_) return;
    ShowOverall();
    const int a = game_.DiscCount1;
    const int b = game_.DiscCount2;
    QString result;
    if (a == 0) {
        result = SideName1_ + QStringLiteral(" полностью разгромлены!");
    } else if (b == 0) {
        result = SideName2_ + QStringLiteral(" полностью разгромлены!");
    } else if ((game_.MoveRow == 0 && FR == 0) || a + b == 64 || HistoryFull()) {
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
    SetStatusBox(1, QString());
    SetStatusBox(0, QString());
    SetStatus(1, QString());
    SetStatus(0, QString());
    CurrentE_ = CurrentR_;
    StopClock(1);
    StopClock(0);
    view_.ShowMessage(result, TMessageIcon::Information);
}

// --- The hand-over and the timers -----------------------------------------------

void TGameController::RedrawFinished() {
    if (closeRequested_) return;
    if (game_.EngineBusy != 0) {
        if (OnShow1_ || OnShow2_) handOverAfterSearch_ = true;
        return;
    }
    if (OnShow1_) {
        OnShow1_ = false;
        if (Regim_ == 1)
            StartPause();
        else
            game_.SideToMove = 0;
        UpdateHint();
        if (closeRequested_) return;
    }
    if (OnShow2_) {
        OnShow2_ = false;
        game_.SideToMove = 1;
        UpdateHint();
    }
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
        ComputerMove();
        break;
    case TGameTimer::Clock1:
    case TGameTimer::Clock2: {
        const std::uint8_t side = timer == TGameTimer::Clock1 ? 1 : 0;
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

void TGameController::UpdateHint() {
    if (BeginGame_) {
        if (hintOn_) {
            if (!Search(0)) return;
            if (game_.MovePriority <= 0) {
                if ((game_.SideToMove == 1 || Regim_ == 2) && !blinkRunning_) {
                    blinkRunning_ = true;
                    blinkLit_ = true; // the caption starts in NoMoveColor
                    view_.StartTimer(TGameTimer::PassBlink, kBlinkMs);
                }
                SetHintBox(kNone);
            } else {
                SetHintBox(CellText(game_.MoveColumn, game_.MoveRow));
            }
        } else {
            // The board's cursor feedback reads MoveGrid.
            CountFlips(game_.MoveGrid, game_.GameBoard, game_.SideToMove);
            SetHintBox(QString());
        }
        if (game_.SideToMove == 1) {
            StopClock(0);
            StartClock(1);
        } else {
            StopClock(1);
            StartClock(0);
        }
    } else {
        SetHintBox(QString());
    }
}

// --- Parameters -------------------------------------------------------------------

void TGameController::SetIntellect(int intellect) {
    if (Blocked()) {
        view_.ShowIntellect(Intellect_); // the menu shows the level in force
        return;
    }
    if (intellect >= 1 && intellect <= 3 && intellect != Intellect_) {
        if (game_.DiscCount1 + game_.DiscCount2 > 4 || scores_.S3R + scores_.S4R >= 5) {
            if (view_.AskYesNo(QStringLiteral("Вы уверены?"))) {
                Intellect_ = static_cast<std::uint8_t>(intellect);
                ResetScore();
            }
        } else {
            Intellect_ = static_cast<std::uint8_t>(intellect);
        }
    }
    view_.ShowIntellect(Intellect_);
}

void TGameController::IntellectItemChosen(int index) {
    if (!CanAct() || Blocked()) {
        view_.ShowIntellect(Intellect_); // put the radio group back
        return;
    }
    SetIntellect(3 - index);
}

void TGameController::SetRegim(int regim) {
    if (!Blocked() && (regim == 1 || regim == 2) && regim != Regim_ &&
        view_.AskYesNo(QStringLiteral("Вы уверены?"))) {
        Regim_ = static_cast<std::uint8_t>(regim);
        ShowPlayers();
        ResetScore();
        return;
    }
    ShowPlayers(); // the radio items show the mode in force
}

void TGameController::SetHintOn(bool on) {
    if (on == hintOn_) return;
    hintOn_ = on;
    // Never a search inside a search: the box follows at the next hand-over.
    if (!Blocked()) UpdateHint();
}

void TGameController::SetGoFast(bool on) {
    goFast_ = on;
}

void TGameController::SetComplication(bool on) {
    complication_ = on;
}

bool TGameController::RenameSide(std::uint8_t sideFlag, const QString& name) {
    if (name.isEmpty()) return false;
    (sideFlag == 1 ? SideName1_ : SideName2_) = name;
    ShowPlayers();
    return true;
}

} // namespace dorvane
