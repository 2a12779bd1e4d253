// The board area of the game window: the background picture, the coordinate
// labels and the field in one of two styles - one off-screen picture with
// engraved grid and disc pictures, or 64 push buttons carrying the disc
// pictures. The widget owns the timing of a redraw: it is served from the
// event loop, puts the changed discs down one by one 150 ms apart when asked
// to animate, and only then reports the end of the redraw to its host, which
// hands the turn over. The board can be played from the keyboard: a cell
// cursor, moved by the arrows, Home and End, plays its cell with Enter or
// Space through the same entry as a click.
#pragma once

#include "view/boardcursor.h"

#include "game/gamestate.h"
#include "play/game_view.h"

#include <QFrame>
#include <QImage>
#include <QPixmap>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QKeyEvent;
class QPushButton;
class QTimer;

namespace dorvane {

class TKvoLabel;
class TFieldImage;
class TCellButton;

// What the board reads from the game while it draws, and where it reports.
class TBoardHost {
public:
    virtual ~TBoardHost() = default;
    virtual const TGameState& BoardGame() const = 0;
    virtual bool BoardPlayR() const = 0;
    virtual bool BoardBeginGame() const = 0;
    virtual bool BoardCanAct() const = 0;
    virtual void BoardCellClick(int column, int row) = 0;
    virtual void BoardRedrawFinished() = 0;
    // The cell (column, row) of the move that led to the position shown; a
    // null point at the start of a game.
    virtual QPoint BoardLastMove() const = 0;
};

// The disc and marker pictures of the current colour scheme.
struct TBoardFigures {
    QPixmap side1, side2, anyMove, bestMove;
};

// Runs the next step of an animated redraw after delayMs. The board's own is
// a precise single-shot timer, so the event loop runs between the discs;
// tests put in their own to see every step and run it when they choose.
using TStepScheduler = std::function<void(int delayMs, std::function<void()> step)>;

class TBoardWidget : public QFrame {
public:
    static constexpr int kCell = 48;
    static constexpr int kFieldPicture = 387;
    static constexpr int kDiscWait = 150; // ms after each disc of an animated redraw

    explicit TBoardWidget(TBoardHost& host, QWidget* parent = nullptr);
    ~TBoardWidget() override;

    void SetBackground(const QPixmap& picture);
    void SetFieldTexture(const QImage& texture); // TempBMR
    const QImage& FieldTexture() const { return tempBMR_; }
    void SetFigures(const TBoardFigures& figures);
    void SetGrid(bool on);
    bool Grid() const { return grid_; }
    void SetCoordinatesVisible(bool on);
    bool CoordinatesVisible() const { return coordinates_; }
    void SetGoFast(bool on) { goFast_ = on; }
    // Empty: the board's own timer.
    void SetStepScheduler(TStepScheduler scheduler) { scheduler_ = std::move(scheduler); }
    // Switches the style; the first redraw afterwards is not animated.
    void SetStyleButton(bool on);
    bool StyleButton() const { return styleButton_; }

    // Rebuild the field picture from the texture and the grid (picture style).
    void RepaintField();
    void RequestRedraw(TRedraw kind);
    void ShowMoveMarks(const TFlipGrid& grid, int bestColumn, int bestRow);
    // Cursors of the idle board after a search or a change of turn.
    void UpdateCursors();
    void SetBusy(bool busy);

    bool Drawing() const { return drawNow_; }
    bool RedrawPending() const { return pending_; }
    // No redraw running, scheduled or waiting.
    bool Idle() const { return !drawNow_ && !scheduled_ && !pending_; }
    // The field as it is on screen; tests compare pixels of it.
    const QImage& FieldPicture() const { return fieldBMR_; }
    const QPixmap& Background() const { return background_; }
    QWidget* FieldWidget() const;
    QPushButton* CellButton(int column, int row) const;
    TKvoLabel* CoordinateLabel(int index) const { return labels_[std::size_t(index)]; }
    static QPoint CellAt(QPoint fieldPixel);

    // The keyboard's cell cursor. The board's keys show it (at the last
    // move, else at D4) and move it; the next mouse move over the board
    // hides it, and so does a board that takes no clicks: a finished game.
    const TBoardCursor& KeyCursor() const { return cursor_; }
    // The cursor's frame is drawn in this colour, in both styles.
    void SetCursorColour(const QColor& colour);
    const QColor& CursorColour() const { return cursorColour_; }
    // A key of the board's (arrows, Home, End, Enter, Space) is applied and
    // gives true; any other gives false. The window hands on the keys that
    // reach it while none of its controls holds the focus.
    bool BoardKeyPressed(const QKeyEvent& event);
    // The game changed without a redraw (it ended after a pass or a search):
    // a cursor that can no longer act goes.
    void FollowGame();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    friend class TFieldImage;
    friend class TCellButton;
    void BeginDraw();
    void DrawStep();
    void FinishDraw();
    void DrawDisc(int column, int row, const QPixmap& picture);
    const QPixmap& FigureFor(std::uint8_t value) const;
    void FieldMouseMove(QPoint pixel);
    void SetButtonCursors(Qt::CursorShape shape);
    // A click on the board does something now: a move, or a message saying
    // why not. Only a finished game ignores the board.
    bool TakesClicks() const;
    void MouseMoved(QPoint globalPixel);
    void HideCursor();
    void RepaintCursorCell(QPoint cell);
    // The cursor's cell when it is shown, else a null point.
    QPoint CursorCell() const;

    TBoardHost& host_;
    QPixmap background_;
    QImage tempBMR_;
    QImage fieldBMR_;
    TBoardFigures figures_;
    bool grid_ = true;
    bool coordinates_ = true;
    bool goFast_ = false;
    bool styleButton_ = false;

    TField oldFieldI_{};
    TField oldFieldB_{};
    bool fieldRePaint_ = false;
    bool pauseKey_ = false;
    bool drawNow_ = false;
    bool busy_ = false;

    // A redraw runs as a sequence of timer steps; a request made meanwhile is
    // remembered and served when the running one has finished.
    bool scheduled_ = false;
    bool pending_ = false;
    bool stillNext_ = false; // the pending redraw puts its discs down at once
    bool animate_ = false;
    int nextCell_ = 0; // visiting position 0..63 of the running redraw
    QTimer* stepTimer_ = nullptr;
    TStepScheduler scheduler_;

    QFrame* picturePanel_ = nullptr;
    TFieldImage* fieldImage_ = nullptr;
    QFrame* buttonPanel_ = nullptr;
    std::array<TCellButton*, 64> buttons_{};
    std::array<TKvoLabel*, 32> labels_{};

    TBoardCursor cursor_;
    QColor cursorColour_{255, 0, 255};
    // Where the pointer last moved over the board: a move event that reports
    // the same place again (a window raised under a still pointer) is no
    // move of the player's and leaves the cursor alone.
    std::optional<QPoint> lastPointer_;
};

} // namespace dorvane
