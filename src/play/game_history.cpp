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
    view_.EnableCommand(TGameCommand::ToBegin, true);
    view_.EnableCommand(TGameCommand::StepBack, true);
}

void TGameController::ShowPosition() {
    game_.GameBoard = March_.Fields[CurrentV_];
    ShowMoveInfo();
    rebuildField_ = true; // cells may have become empty
    RequestRedraw(TRedraw::Rebuild);
}

void TGameController::StopPlay() {
    StopClock(1);
    StopClock(0);
    game_.ForecastReady = 0;
    PlayR_ = false;
    SetHintBox(QString());
}

void TGameController::ShowMoveInfo() {
    view_.ShowMoveCounter(MoveCounterText(CurrentV_, CurrentR_));
    if (PlayR_) return;

    const int v = CurrentV_;
    const std::uint8_t w = March_.Who[v] == 1 ? 1 : 0;
    const TDiscCounts counts = CountDiscs(March_.Fields[v]);
    game_.DiscCount1 = counts.side1;
    game_.DiscCount2 = counts.side2;
    ShowScores();
    SetStatus(OtherSide(w), QString());
    if (v > 0) {
        const QString move =
            QString::fromStdString(CellName(March_.Moves[v][0], March_.Moves[v][1]));
        if (w == 1) {
            SetStatusBox(1, move);
            SetStatusBox(0, QString());
            SetStatus(OtherSide(w), QString());
        } else {
            SetStatusBox(1, QString());
            SetStatusBox(0, move);
        }
        SetStatus(w, move);
    } else {
        if (w == 1) {
            SetStatusBox(1, kBegin);
            SetStatusBox(0, QString());
        } else {
            SetStatusBox(1, QString());
            SetStatusBox(0, Regim_ == 1 ? QStringLiteral("Мой") : kBegin);
        }
        SetStatus(w, kBegin);
    }
}

void TGameController::EnableNavigation(bool toBegin, bool back, bool resume, bool forward,
                                       bool toEnd) {
    view_.EnableCommand(TGameCommand::ToBegin, toBegin);
    view_.EnableCommand(TGameCommand::StepBack, back);
    view_.EnableCommand(TGameCommand::ResumePlay, resume);
    view_.EnableCommand(TGameCommand::StepForward, forward);
    view_.EnableCommand(TGameCommand::ToEnd, toEnd);
}

void TGameController::ToBegin() {
    if (Blocked() || !CanAct()) return;
    if (PlayR_) StopPlay();
    CurrentV_ = 0;
    ShowPosition();
    view_.EnableCommand(TGameCommand::ToBegin, false);
    view_.EnableCommand(TGameCommand::StepBack, false);
    view_.EnableCommand(TGameCommand::ResumePlay, true);
    if (CurrentV_ < CurrentR_) {
        view_.EnableCommand(TGameCommand::StepForward, true);
        view_.EnableCommand(TGameCommand::ToEnd, true);
    }
    ShowOverall();
}

void TGameController::StepBack() {
    if (Blocked() || !CanAct()) return;
    if (PlayR_) StopPlay();
    if (CurrentV_ > 0) {
        --CurrentV_;
        view_.EnableCommand(TGameCommand::ResumePlay, true);
        view_.EnableCommand(TGameCommand::StepForward, true);
        view_.EnableCommand(TGameCommand::ToEnd, true);
    }
    if (CurrentV_ == 0) {
        view_.EnableCommand(TGameCommand::ToBegin, false);
        view_.EnableCommand(TGameCommand::StepBack, false);
    }
    ShowPosition();
    ShowOverall();
}

void TGameController::StepForward() {
    if (Blocked()) return;
    if (CurrentV_ < CurrentR_) {
        if (PlayR_) StopPlay();
        ++CurrentV_;
        ShowPosition();
        view_.EnableCommand(TGameCommand::ToBegin, true);
        view_.EnableCommand(TGameCommand::StepBack, true);
        ShowOverall();
    }
    if (CurrentV_ == CurrentR_) {
        view_.EnableCommand(TGameCommand::StepForward, false);
        view_.EnableCommand(TGameCommand::ToEnd, false);
    }
}

void TGameController::ToEnd() {
    if (Blocked()) return;
    if (CurrentV_ < CurrentR_) {
        if (PlayR_) StopPlay();
        CurrentV_ = CurrentR_;
        ShowPosition();
        view_.EnableCommand(TGameCommand::ToBegin, true);
        view_.EnableCommand(TGameCommand::StepBack, true);
        ShowOverall();
    }
    view_.EnableCommand(TGameCommand::StepForward, false);
    view_.EnableCommand(TGameCommand::ToEnd, false);
}

void TGameController::ResumePlay() {
    // Only from the history view; during play the command is disabled, and a
    // resume there would hand the turn to the wrong side.
    if (Blocked() || PlayR_) return;
    PlayR_ = true;
    view_.EnableCommand(TGameCommand::ResumePlay, false);
    view_.EnableCommand(TGameCommand::StepForward, false);
    view_.EnableCommand(TGameCommand::ToEnd, false);

    if (CurrentV_ >= CurrentE_) {
        // The end of a finished game: it stays finished.
        SetStatusBox(1, QString());
        SetStatusBox(0, QString());
        SetStatus(1, QString());
        SetStatus(0, QString());
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
    game_.SideToMove = OtherSide(March_.Who[CurrentR_] == 1 ? 1 : 0);
    UpdateHint();
    if (closeRequested_) return;
    SetStatus(game_.SideToMove, QStringLiteral("думают"));
    if (game_.SideToMove == 1) {
        StartClock(1);
        SetStatusBox(1, QStringLiteral("Ваш"));
    } else {
        StartClock(0);
        if (Regim_ == 1) {
            SetStatusBox(0, QStringLiteral("Мой"));
            ComputerResumed_ = true;
            ComputerMove();
            if (closeRequested_) return;
        } else {
            SetStatusBox(0, QStringLiteral("Ваш"));
        }
    }
    if (CurrentV_ > 0) {
        view_.EnableCommand(TGameCommand::ToBegin, true);
        view_.EnableCommand(TGameCommand::StepBack, true);
    }
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
    saved.Intellect = Intellect_;
    saved.Regim = Regim_;
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
    Intellect_ = saved.Intellect;
    Regim_ = saved.Regim;
    // Nothing pending from the game on screen may act on the loaded one, and
    // the history view needs side 1's turn for its backward commands in mode 1;
    // the real side to move follows from the history when play resumes.
    OnShow1_ = OnShow2_ = false;
    ComputerResumed_ = false;
    StopPause();
    game_.SideToMove = 1;

    StopPlay();
    view_.EnableCommand(TGameCommand::ResumePlay, true);
    view_.EnableCommand(TGameCommand::ToBegin, CurrentV_ > 0);
    view_.EnableCommand(TGameCommand::StepBack, CurrentV_ > 0);
    view_.EnableCommand(TGameCommand::StepForward, CurrentV_ < CurrentR_);
    view_.EnableCommand(TGameCommand::ToEnd, CurrentV_ < CurrentR_);
    ShowPosition();
    ShowOverall();
    ShowRating();
    ShowPlayers();
    view_.ShowIntellect(Intellect_);
    return true;
}

} // namespace dorvane
