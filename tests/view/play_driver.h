// Drives the real game window the way a player does: clicks at cell centres,
// presses panel buttons, answers message boxes, and waits (with a timeout)
// for the board to finish drawing and the computer to finish thinking.
#pragma once

#include "view/mainform.h"

#include <QStringList>

#include <memory>

#include <vector>

class QAbstractButton;

namespace dorvane::test {

struct TPlayDriver {
    // searches: the window's search runner; none, its own worker thread.
    explicit TPlayDriver(const TGameOptions& game, bool styleButton = false,
                         TSearchRunner* searches = nullptr);
    // A window on the whole of the given settings (its look as well).
    explicit TPlayDriver(const TGameSettings& settings, TSearchRunner* searches = nullptr);

    TRandomSource& Random() { return random_; }
    TMainForm& Form() { return *form_; }
    TGameController& Game() { return form_->Controller(); }

    void Click(int column, int row);
    void ClickCell(int index) { Click(ColumnOf(index), RowOf(index)); }
    void Press(QAbstractButton* button);
    // Waits until nothing is drawing, no computer move is due and no search
    // runs; false on timeout.
    [[nodiscard]] bool WaitIdle(int timeoutMs = 20000);
    // Messages shown since the last call, then forgotten.
    QStringList TakeMessages();

    QStringList messages;
    std::vector<bool> answers; // answers to the next questions (default Yes)

private:
    TScriptedRandom random_;
    std::unique_ptr<TMainForm> form_;
};

// The human's choice among the legal cells: the same little generator in the
// tests and in the simulations that pick a game worth playing.
int PickMove(const TField& board, std::uint8_t sideFlag, unsigned& policy);

// The rows "picture" and "buttons" of a Qt Test data table over the two
// board styles, in a column "buttons".
void AddStyleRows();

// The cells of the field image or the buttons where cell (c, r) is drawn.
QPoint CellCentre(int column, int row);

} // namespace dorvane::test
