#include "play_driver.h"

#include "view/controlpanel.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>

namespace dorvane::test {

namespace {

TGameSettings SettingsFor(const TGameOptions& game, bool styleButton) {
    TGameSettings settings = DefaultGameSettings();
    settings.Game = game;
    // Options left zero mean the stored defaults.
    if (game.Regim == 0) settings.Game.Regim = DefaultGameSettings().Game.Regim;
    if (game.Intellect == 0) settings.Game.Intellect = DefaultGameSettings().Game.Intellect;
    settings.Look.StyleButton = styleButton;
    settings.Look.SoundMove = false;
    return settings;
}

} // namespace

TPlayDriver::TPlayDriver(const TGameOptions& game, bool styleButton, TSearchRunner* searches)
    : TPlayDriver(SettingsFor(game, styleButton), searches) {}

TPlayDriver::TPlayDriver(const TGameSettings& settings, TSearchRunner* searches) {
    form_ = std::make_unique<TMainForm>(random_, settings, searches);
    form_->Messages().SetResponder([this](TMessageKind kind, const QString& text) {
        messages << text;
        if (kind != TMessageKind::Question || answers.empty()) return true;
        const bool answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    });
    form_->show();
}

void AddStyleRows() {
    QTest::addColumn<bool>("buttons");
    QTest::newRow("picture") << false;
    QTest::newRow("buttons") << true;
}

QPoint CellCentre(int column, int row) {
    return {TBoardWidget::kCell * (column - 1) + 24, TBoardWidget::kCell * (row - 1) + 24};
}

void TPlayDriver::Click(int column, int row) {
    TBoardWidget& board = form_->Board();
    if (board.StyleButton())
        QTest::mouseClick(board.CellButton(column, row), Qt::LeftButton);
    else
        QTest::mouseClick(board.FieldWidget(), Qt::LeftButton, {}, CellCentre(column, row));
}

void TPlayDriver::Press(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

bool TPlayDriver::WaitIdle(int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        const bool idle =
            form_->Board().Idle() && !Game().PausePending() && Game().State().EngineBusy == 0;
        if (idle) {
            // One more round lets a redraw requested by a timer get scheduled.
            QTest::qWait(1);
            if (form_->Board().Idle() && !Game().PausePending()) return true;
        }
        QTest::qWait(5);
    }
    return false;
}

QStringList TPlayDriver::TakeMessages() {
    QStringList taken;
    taken.swap(messages);
    return taken;
}

int PickMove(const TField& board, std::uint8_t sideFlag, unsigned& policy) {
    TFlipGrid grid{};
    CountFlips(grid, board, sideFlag);
    std::vector<int> legal;
    for (int row = 1; row <= 8; ++row)
        for (int column = 1; column <= 8; ++column) {
            const auto index = std::size_t(CellIndex(column, row));
            if (board[index] == 0 && grid[index] != 0) legal.push_back(int(index));
        }
    if (legal.empty()) return 0;
    policy = policy * 1103515245u + 12345u;
    return legal[(policy >> 16) % legal.size()];
}

} // namespace dorvane::test
