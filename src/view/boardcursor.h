// The keyboard's cell cursor on the board: where it stands, whether it is
// shown and what each of the board's keys does to it. A plain value; the
// board widget draws it, hides it when the mouse takes over and turns a
// "play" into the click of the cell under it.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>

class QPainter;

namespace dorvane {

enum class TBoardKey { None, Left, Right, Up, Down, RowStart, RowEnd, Play };

// The board's meaning of a key: the arrows, Home, End, Enter (either) and
// Space. A key held with Ctrl, Alt or Meta belongs to the window's commands
// and is None, like every other key.
TBoardKey BoardKeyOf(int key, Qt::KeyboardModifiers modifiers);

class TBoardCursor {
public:
    // The cell a cursor appears on when no move has been played yet: D4.
    static constexpr QPoint kCentre{4, 5};

    bool Shown() const { return shown_; }
    QPoint Cell() const { return cell_; } // column, row, 1..8 each
    // Applies the key; true when the cell under the cursor is to be played.
    // A hidden cursor first appears at start (a cell of the board): an arrow
    // or Enter only shows it there, so nothing is played on a cell the
    // player has not seen, while Home and End also take it to their end of
    // the row. The cursor stops at the edges.
    bool Press(TBoardKey key, QPoint start);
    void Hide() { shown_ = false; }

private:
    bool shown_ = false;
    QPoint cell_ = kCentre;
};

// The cursor's frame inside a cell's square: three pixels wide, one pixel
// in from the square's edge, so it lies over the grid's engraving and the
// button's bevel but clear of the disc.
void DrawCursorFrame(QPainter& painter, const QRect& cell, const QColor& colour);

} // namespace dorvane
