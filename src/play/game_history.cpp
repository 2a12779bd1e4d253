// The move history of TGameController: recording, showing an earlier
// position, the five navigation commands and resuming play from the position
// shown.
#include "game_controller.h"

namespace dorvane {

namespace {
const QString kBegin = QStringLiteral("начинают");
} // namespace

void TGameController::RecordMove() {
    // A move always follows the position shown: should the board ever show an
    // earlier position during play, the moves after it are dropped rather than
    // recorded past it. The record holds at most 60 moves.
    if (CurrentR_ != CurrentV_) CurrentR_ = CurrentV_;
    if (CurrentR_ >= TMarch::kEntries - 1) return;
    ++CurrentR_;
    CurrentV_ = CurrentR_;
    March_.Fields[CurrentR_] = game_.GameBoard;
    March_.Moves[CurrentR_] = {static_cast<std::uint8_t>(game_.MoveColumn),
                               static_cast<std::uint8_t>(game_.MoveRow)};
    March_.Who[CurrentR_] = game_.SideToMove; // the hand-over is still ahead: the mover
    ShowMoveInfo();
    ShowNavigation();
}

void TGameController::ShowPosition() {
    game_.GameBoard = March_.Fields[CurrentV_];
    ShowMoveInfo();
    rebuildField_ = true; // cells may have become empty
    RequestRedraw(TRedraw::Rebuild);
}

void TGameController::StopPlay() {
    StopClock(TSide::First);
    StopClock(TSide::Second);
    game_.ForecastReady = 0;
    PlayR_ = false;
    SetHintBox(QString());
}

void TGameController::ShowMoveInfo() {
    view_.ShowMoveCounter(MoveCounterText(CurrentV_, CurrentR_));
    if (PlayR_) return;

    const int v = CurrentV_;
    const TSide w = SideOfFlag(March_.Who[v]);
    const TDiscCounts counts = CountDiscs(March_.Fields[v]);
    game_.DiscCount1 = counts.side1;
    game_.DiscCount2 = counts.side2;
    ShowScores();
    SetStatus(Other(w), QString());
    if (v > 0) {
        const QString move =
            QString::fromStdString(CellName(March_.Moves[v][0], March_.Moves[v][1]));
        if (w == TSide::First) {
            SetStatusBox(TSide::First, move);
            SetStatusBox(TSide::Second, QString());
            SetStatus(Other(w), QString());
        } else {
            SetStatusBox(TSide::First, QString());
            SetStatusBox(TSide::Second, move);
        }
        SetStatus(w, move);
    } else {
        if (w == TSide::First) {
            SetStatusBox(TSide::First, kBegin);
            SetStatusBox(TSide::Second, QString());
        } else {
            SetStatusBox(TSide::First, QString());
            SetStatusBox(TSide::Second, Regim() == 1 ? QStringLiteral("Мой") : kBegin);
        }
        SetStatus(w, kBegin);
    }
}

TNavigation NavigationFor(int currentV, int currentR, bool playing) {
    TNavigation n;
    n.ToBegin = n.StepBack = currentV > 0;
    if (!playing) {
        n.ResumePlay = true;
        n.StepForward = n.ToEnd = currentV < currentR;
    }
    return n;
}

void TGameController::ShowNavigation() {
    const TNavigation n = Navigation();
    view_.EnableCommand(TGameCommand::ToBegin, n.ToBegin);
    view_.EnableCommand(TGameCommand::StepBack, n.StepBack);
    view_.EnableCommand(TGameCommand::ResumePlay, n.ResumePlay);
    view_.EnableCommand(TGameCommand::StepForward, n.StepForward);
    view_.EnableCommand(TGameCommand::ToEnd, n.ToEnd);
}

void TGameController::ToBegin() {
    if (Blocked() || !CanAct()) return;
    if (PlayR_) StopPlay();
    CurrentV_ = 0;
    ShowPosition();
    ShowNavigation();
    ShowOverall();
}

void TGameController::StepBack() {
    if (Blocked() || !CanAct()) return;
    if (PlayR_) StopPlay();
    if (CurrentV_ > 0) --CurrentV_;
    ShowNavigation();
    ShowPosition();
    ShowOverall();
}

void TGameController::StepForward() {
    if (Blocked()) return;
    if (CurrentV_ < CurrentR_) {
        if (PlayR_) StopPlay();
        ++CurrentV_;
        ShowPosition();
        ShowOverall();
    }
    ShowNavigation();
}

void TGameController::ToEnd() {
    if (Blocked()) return;
    if (CurrentV_ < CurrentR_) {
        if (PlayR_) StopPlay();
        CurrentV_ = CurrentR_;
        ShowPosition();
        ShowOverall();
    }
    ShowNavigation();
}

void TGameController::ResumePlay() {
    // Only from the history view; during play the command is disabled, and a
    // resume there would hand the turn to the wrong side.
    if (Blocked() || PlayR_) return;
    PlayR_ = true;
    ShowNavigation();

    if (CurrentV_ >= CurrentE_) {
        // The end of a finished game: it stays finished.
        SetStatusBox(TSide::First, QString());
        SetStatusBox(TSide::Second, QString());
        SetStatus(TSide::First, QString());
        SetStatus(TSide::Second, QString());
        return;
    }
    if (!BeginGame_ && CurrentV_ < CurrentR_) {
        // A finished game taken up again from an earlier position is unfinished
        // again, so a later look at its old end cannot pass for the end.
        BeginGame_ = true;
        CurrentE_ = kUnfinished;
    }
    CurrentR_ = CurrentV_;
    ShowPosition();
    SetToMove(Other(SideOfFlag(March_.Who[CurrentR_])));
    UpdateHint([this] {
        SetStatus(ToMove(), QStringLiteral("думают"));
        if (ToMove() == TSide::First) {
            StartClock(TSide::First);
            SetStatusBox(TSide::First, QStringLiteral("Ваш"));
        } else {
            StartClock(TSide::Second);
            if (Regim() == 1) {
                SetStatusBox(TSide::Second, QStringLiteral("Мой"));
                ComputerResumed_ = true;
                ComputerMove(false);
            } else {
                SetStatusBox(TSide::Second, QStringLiteral("Ваш"));
            }
        }
    });
}

} // namespace dorvane

namespace dorvane {

TSavedGame TGameController::SavedGame() const {
    TSavedGame saved;
    saved.March = March_;
    saved.CurrentR = CurrentR_;
    saved.CurrentV = CurrentV_;
    saved.CurrentE = CurrentE_;
    saved.BeginGame = BeginGame_ ? 1 : 0;
    saved.S3R = scores_.S3R;
    saved.S4R = scores_.S4R;
    saved.Intellect = static_cast<std::uint8_t>(StoredStrength(Intellect()));
    saved.Regim = Regim();
    return saved;
}

bool TGameController::ShowLoadedGame(const TSavedGame& saved) {
    if (Blocked()) return false;
    if (saved.CurrentR > kMaxRecordedMoves || saved.CurrentV > saved.CurrentR ||
        saved.Intellect < 1 || saved.Intellect > 3 || saved.Regim < 1 || saved.Regim > 2)
        return false;
    March_ = saved.March;
    CurrentR_ = saved.CurrentR;
    CurrentV_ = saved.CurrentV;
    CurrentE_ = saved.CurrentE;
    BeginGame_ = saved.BeginGame != 0;
    scores_.S3R = saved.S3R;
    scores_.S4R = saved.S4R;
    options_.Intellect = saved.Intellect;
    options_.Regim = saved.Regim;
    // Nothing pending from the game on screen may act on the loaded one, and
    // the history view needs side 1's turn for its backward commands in mode 1;
    // the real side to move follows from the history when play resumes.
    OnShow1_ = OnShow2_ = false;
    ComputerResumed_ = false;
    StopPause();
    game_.SideToMove = 1;

    StopPlay();
    ShowNavigation();
    ShowPosition();
    ShowOverall();
    ShowRating();
    ShowPlayers();
    ShowIntellect();
    return true;
}

} // namespace dorvane
