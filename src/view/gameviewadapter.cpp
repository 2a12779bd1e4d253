#include "view/gameviewadapter.h"

#include "view/boardwidget.h"

#include "play/game_controller.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTimer>

namespace dorvane {

namespace {

TCommand NavigationCommand(TGameCommand command) {
    switch (command) {
    case TGameCommand::ToBegin:
        return TCommand::ToBegin;
    case TGameCommand::StepBack:
        return TCommand::StepBack;
    case TGameCommand::ResumePlay:
        return TCommand::ResumePlay;
    case TGameCommand::StepForward:
        return TCommand::StepForward;
    case TGameCommand::ToEnd:
        break;
    }
    return TCommand::ToEnd;
}

} // namespace

TGameViewAdapter::TGameViewAdapter(const TGameViewParts& parts) : parts_(parts) {
    panel_ = parts_.panel->State();
    for (std::size_t i = 0; i < timers_.size(); ++i) {
        auto* timer = new QTimer(parts_.window);
        const auto which = static_cast<TGameTimer>(i);
        timer->setSingleShot(which == TGameTimer::ComputerPause);
        QObject::connect(timer, &QTimer::timeout, parts_.window, [this, which] {
            if (controller_) controller_->TimerFired(which);
        });
        timers_[i] = timer;
    }
}

TGameViewAdapter::~TGameViewAdapter() {
    if (busyCursor_) QApplication::restoreOverrideCursor();
}

void TGameViewAdapter::Update() {
    parts_.panel->Show(panel_);
    parts_.board->FollowGame();
}

void TGameViewAdapter::StopTimers() {
    for (QTimer* timer : timers_)
        timer->stop();
}

void TGameViewAdapter::ShowDateTime(const QString& text) {
    panel_.dateTime = text;
    Update();
}

void TGameViewAdapter::ShowMessage(const QString& text, TMessageIcon icon) {
    parts_.messages->Show(text, icon);
}

bool TGameViewAdapter::AskYesNo(const QString& text) {
    return parts_.messages->AskYesNo(text);
}

void TGameViewAdapter::ShowStatusBox(TSide side, const QString& text) {
    Side(side).status = text;
    Update();
}

void TGameViewAdapter::ShowStatusPanel(TStatusPanel panel, const QString& text) {
    parts_.statusPanels[std::size_t(static_cast<int>(panel) - 1)]->setText(text);
}

void TGameViewAdapter::ShowMoveCounter(const QString& text) {
    panel_.moveCounter = text;
    Update();
}

void TGameViewAdapter::ShowScores(const QString& caption, const QString& score1,
                                  const QString& score2) {
    panel_.scoreCaption = caption;
    Side(TSide::First).score = score1;
    Side(TSide::Second).score = score2;
    Update();
}

void TGameViewAdapter::ShowOverall(const QString& overall1, const QString& overall2) {
    Side(TSide::First).overall = overall1;
    Side(TSide::Second).overall = overall2;
    Update();
}

void TGameViewAdapter::ShowRating(const QString& rating1, const QString& rating2) {
    Side(TSide::First).rating = rating1;
    Side(TSide::Second).rating = rating2;
    Update();
}

void TGameViewAdapter::ShowClock(TSide side, const QString& text) {
    Side(side).clock = text;
    Update();
}

void TGameViewAdapter::ShowPlayers(const TPlayersView& players) {
    const TCommandRegistry& commands = *parts_.commands;
    Side(TSide::First).name = players.name1;
    Side(TSide::Second).name = players.name2;
    panel_.againstComputer = players.regim == 1;
    panel_.levelsEnabled = players.levelsEnabled;
    Update();
    commands.Action(TCommand::StartSide1)->setText(players.startCaption1);
    commands.Action(TCommand::StartSide2)->setText(players.startCaption2);
    commands.SetChecked(TCommand::RegimComputer, players.regim == 1);
    commands.SetChecked(TCommand::RegimHumans, players.regim == 2);
    if (parts_.levelMenu) parts_.levelMenu->setEnabled(players.levelsEnabled);
    for (TCommand level : {TCommand::LevelHigh, TCommand::LevelAverage, TCommand::LevelLow})
        commands.SetEnabled(level, players.levelsEnabled);
}

void TGameViewAdapter::ShowHint(const QString& text, TSide side) {
    panel_.hint = text;
    panel_.hintSide = side;
    Update();
}

void TGameViewAdapter::ShowIntellect(std::optional<TStrength> strength) {
    const TCommandRegistry& commands = *parts_.commands;
    const std::array<std::pair<TCommand, TStrength>, 3> items{{
        {TCommand::LevelHigh, TStrength::High},
        {TCommand::LevelAverage, TStrength::Average},
        {TCommand::LevelLow, TStrength::Low},
    }};
    QActionGroup* group = commands.Action(TCommand::LevelHigh)->actionGroup();
    // An unknown level checks nothing, which an exclusive group refuses.
    if (!strength) group->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (const auto& [command, level] : items)
        commands.SetChecked(command, strength == level);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    panel_.level = strength;
    Update();
}

void TGameViewAdapter::ShowPassBlink(bool highlighted) {
    panel_.passHighlighted = highlighted;
    Update();
}

void TGameViewAdapter::EnableCommand(TGameCommand command, bool enabled) {
    parts_.commands->SetEnabled(NavigationCommand(command), enabled);
}

void TGameViewAdapter::StartTimer(TGameTimer timer, int intervalMs) {
    timers_[std::size_t(timer)]->start(intervalMs);
}

void TGameViewAdapter::StopTimer(TGameTimer timer) {
    timers_[std::size_t(timer)]->stop();
}

void TGameViewAdapter::RequestRedraw(TRedraw kind) {
    parts_.board->RequestRedraw(kind);
}

void TGameViewAdapter::ShowMoveMarks(const TFlipGrid& grid, int bestColumn, int bestRow) {
    parts_.board->ShowMoveMarks(grid, bestColumn, bestRow);
}

void TGameViewAdapter::PlaySound(TGameSound sound) {
    if (parts_.playSound) parts_.playSound(sound);
}

void TGameViewAdapter::ShowBusy(bool busy) {
    // Every control of the window shows the hourglass while the computer thinks.
    if (busy && !busyCursor_) QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!busy && busyCursor_) QApplication::restoreOverrideCursor();
    busyCursor_ = busy;
    parts_.board->SetBusy(busy);
}

void TGameViewAdapter::CloseDeferred() {
    QMetaObject::invokeMethod(parts_.window, &QWidget::close, Qt::QueuedConnection);
}

} // namespace dorvane
