// The texts, clocks and timers of TGameController: everything it hands to the
// window for showing, computed here so the window holds no game logic.
#include "game_controller.h"

namespace dorvane {

void TGameController::SetStatus(TSide side, const QString& text) {
    view_.ShowStatusPanel(side == TSide::First ? TStatusPanel::Side1 : TStatusPanel::Side2,
                          SideName(side) + QStringLiteral(": ") + text);
}

void TGameController::SetStatusBox(TSide side, const QString& text) {
    (side == TSide::First ? statusBox1_ : statusBox2_) = text;
    view_.ShowStatusBox(side, text);
}

void TGameController::SetHintBox(const QString& text) {
    view_.ShowHint(text, ToMove());
    view_.ShowStatusPanel(TStatusPanel::Hint, QStringLiteral("Подсказка: ") + text);
}

void TGameController::ShowScores() {
    const bool forecast = game_.ForecastReady != 0;
    view_.ShowScores(ScoreCaption(forecast),
                     ScoreText(game_.DiscCount1, forecast, game_.ForecastCount1),
                     ScoreText(game_.DiscCount2, forecast, game_.ForecastCount2));
    view_.ShowStatusPanel(TStatusPanel::Count1,
                          SideName1_ + QStringLiteral(": ") + QString::number(game_.DiscCount1));
    view_.ShowStatusPanel(TStatusPanel::Count2,
                          SideName2_ + QStringLiteral(": ") + QString::number(game_.DiscCount2));
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
    players.regim = Regim();
    players.levelsEnabled = Regim() == 1;
    view_.ShowPlayers(players);
}

void TGameController::ShowIntellect() {
    view_.ShowIntellect(StrengthOf(options_.Intellect));
}

void TGameController::StartClock(TSide side) {
    TClock& clock = clocks_[ClockIndex(side)];
    if (clock.running) return;
    clock.running = true;
    view_.StartTimer(side == TSide::First ? TGameTimer::Clock1 : TGameTimer::Clock2, kClockMs);
}

void TGameController::StopClock(TSide side) {
    TClock& clock = clocks_[ClockIndex(side)];
    clock.running = false;
    view_.StopTimer(side == TSide::First ? TGameTimer::Clock1 : TGameTimer::Clock2);
}

void TGameController::ResetClocks() {
    for (const TSide side : {TSide::First, TSide::Second}) {
        StopClock(side);
        clocks_[ClockIndex(side)].seconds = 0;
        view_.ShowClock(side, ClockText(0));
    }
}

void TGameController::StartPause() {
    pauseRunning_ = true;
    view_.StartTimer(TGameTimer::ComputerPause, options_.GoFast ? kPauseFastMs : kPauseMs);
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
