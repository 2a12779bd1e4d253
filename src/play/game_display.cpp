// The texts, clocks and timers of TGameController: everything it hands to the
// window for showing, computed here so the window holds no game logic.
#include "game_controller.h"

namespace dorvane {

void TGameController::SetStatus(std::uint8_t sideFlag, const QString& text) {
    view_.ShowStatusPanel(sideFlag == 1 ? 1 : 2, SideName(sideFlag) + QStringLiteral(": ") + text);
}

void TGameController::SetStatusBox(std::uint8_t sideFlag, const QString& text) {
    (sideFlag == 1 ? statusBox1_ : statusBox2_) = text;
    view_.ShowStatusBox(sideFlag, text);
}

void TGameController::SetHintBox(const QString& text) {
    view_.ShowHint(text, game_.SideToMove);
    view_.ShowStatusPanel(5, QStringLiteral("Подсказка: ") + text);
}

void TGameController::ShowScores() {
    const bool forecast = game_.ForecastReady != 0;
    view_.ShowScores(ScoreCaption(forecast),
                     ScoreText(game_.DiscCount1, forecast, game_.ForecastCount1),
                     ScoreText(game_.DiscCount2, forecast, game_.ForecastCount2));
    view_.ShowStatusPanel(3, SideName1_ + QStringLiteral(": ") + QString::number(game_.DiscCount1));
    view_.ShowStatusPanel(4, SideName2_ + QStringLiteral(": ") + QString::number(game_.DiscCount2));
}

void TGameController::ShowOverall() {
    game_.RecountDiscs();
    scores_.ClampOverall();
    ShowScores();
    view_.ShowOverall(scores_.OverallText1(), scores_.OverallText2());
}

void TGameController::ShowRating() {
    scores_.UpdateRating();
    view_.ShowRating(QString::number(scores_.S5R), QString::number(scores_.S6R));
}

void TGameController::ShowPlayers() {
    TPlayersView players;
    players.name1 = SideName1_;
    players.name2 = SideName2_;
    players.startCaption1 = SideName1_ + QStringLiteral(" начинают");
    players.startCaption2 = SideName2_ + QStringLiteral(" начинают");
    players.regim = Regim_;
    players.levelsEnabled = Regim_ == 1;
    view_.ShowPlayers(players);
}

void TGameController::StartClock(std::uint8_t sideFlag) {
    TClock& clock = clocks_[ClockIndex(sideFlag)];
    if (clock.running) return;
    clock.running = true;
    view_.StartTimer(sideFlag == 1 ? TGameTimer::Clock1 : TGameTimer::Clock2, kClockMs);
}

void TGameController::StopClock(std::uint8_t sideFlag) {
    TClock& clock = clocks_[ClockIndex(sideFlag)];
    clock.running = false;
    view_.StopTimer(sideFlag == 1 ? TGameTimer::Clock1 : TGameTimer::Clock2);
}

void TGameController::ResetClocks() {
    for (const std::uint8_t side : {std::uint8_t{1}, std::uint8_t{0}}) {
        StopClock(side);
        clocks_[ClockIndex(side)].seconds = 0;
        view_.ShowClock(side, ClockText(0));
    }
}

void TGameController::StartPause() {
    pauseRunning_ = true;
    view_.StartTimer(TGameTimer::ComputerPause, goFast_ ? kPauseFastMs : kPauseMs);
}

void TGameController::StopPause() {
    if (!pauseRunning_) return;
    pauseRunning_ = false;
    view_.StopTimer(TGameTimer::ComputerPause);
}

void TGameController::RequestRedraw(TRedraw kind) {
    if (rebuildField_) {
        rebuildField_ = false;
        kind = TRedraw::Rebuild;
    }
    view_.RequestRedraw(kind);
}

} // namespace dorvane
