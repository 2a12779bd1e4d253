#include "boardwidget.h"

#include "widgets/kvolabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace dorvane {

// The picture-style field: shows the off-screen field picture and turns the
// mouse into cells.
class TFieldImage final : public QWidget {
public:
    TFieldImage(TBoardWidget& board, QWidget* parent) : QWidget(parent), board_(board) {
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, board_.fieldBMR_);
        // Over the picture, never into it: the field picture stays what the
        // redraw put there.
        const QPoint cell = board_.CursorCell();
        if (!cell.isNull()) {
            const int k = TBoardWidget::kCell;
            DrawCursorFrame(painter, QRect(k * (cell.x() - 1), k * (cell.y() - 1), k, k),
                            board_.cursorColour_);
        }
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        board_.MouseMoved(event->globalPosition().toPoint());
        board_.FieldMouseMove(event->position().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        const QPoint cell = TBoardWidget::CellAt(event->position().toPoint());
        board_.host_.BoardCellClick(cell.x(), cell.y());
    }

private:
    TBoardWidget& board_;
};

// A cell of the button style: a push button that carries the cursor's frame
// over its face while the cursor is on its cell.
class TCellButton final : public QPushButton {
public:
    TCellButton(TBoardWidget& board, QPoint cell, QWidget* parent)
        : QPushButton(parent), board_(board), cell_(cell) {}

protected:
    void paintEvent(QPaintEvent* event) override {
        QPushButton::paintEvent(event);
        if (board_.CursorCell() != cell_) return;
        QPainter painter(this);
        DrawCursorFrame(painter, rect(), board_.cursorColour_);
    }

private:
    TBoardWidget& board_;
    QPoint cell_;
};

namespace {

constexpr int kFieldAt = 29;
constexpr int kFieldPanel = 389;
constexpr std::array<int, 8> kLabelSteps{48, 96, 144, 192, 240, 288, 336, 384};
constexpr int kLabelNear = 8;  // letters above the field, digits at x = 10
constexpr int kLabelFar = 426; // letters below, digits to the right

// Visiting order of a redraw: row by row from the top, left to right.
constexpr int VisitColumn(int step) {
    return step % 8 + 1;
}
constexpr int VisitRow(int step) {
    return step / 8 + 1;
}

} // namespace

TBoardWidget::TBoardWidget(TBoardHost& host, QWidget* parent)
    : QFrame(parent), host_(host), fieldBMR_(kFieldPicture, kFieldPicture, QImage::Format_RGB32) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setFixedSize(447, 447);
    fieldBMR_.fill(Qt::black);
    // The board takes the keys of the game window: the window's other
    // controls take no focus, and a click anywhere on the board gives it back.
    setFocusPolicy(Qt::StrongFocus);
    // Moves over the buttons, the labels and the background reach the board,
    // so any of them hides the cursor. A widget that does not track the
    // mouse swallows the moves over it, so the panels and the buttons track
    // it too (the buttons pass on moves without a button held).
    setMouseTracking(true);

    picturePanel_ = new QFrame(this);
    picturePanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picturePanel_->setLineWidth(1);
    picturePanel_->setGeometry(kFieldAt, kFieldAt, kFieldPanel, kFieldPanel);
    picturePanel_->setMouseTracking(true);
    fieldImage_ = new TFieldImage(*this, picturePanel_);
    fieldImage_->setGeometry(1, 1, kFieldPicture, kFieldPicture);

    buttonPanel_ = new QFrame(this);
    buttonPanel_->setGeometry(kFieldAt, kFieldAt, kFieldPanel, kFieldPanel);
    buttonPanel_->setMouseTracking(true);
    // The classic button face: a light system palette would leave the 64
    // buttons looking like a blank sheet.
    QPalette face = buttonPanel_->palette();
    face.setColor(QPalette::Button, QColor(212, 208, 200));
    face.setColor(QPalette::Window, QColor(212, 208, 200));
    buttonPanel_->setPalette(face);
    buttonPanel_->setAutoFillBackground(true);
    for (int n = 1; n <= 64; ++n) {
        const int column = (n - 1) % 8 + 1;
        const int row = (n - 1) / 8 + 1;
        auto* button = new TCellButton(*this, QPoint(column, row), buttonPanel_);
        button->setGeometry(3 + kCell * (column - 1), 3 + kCell * (row - 1), kCell, kCell);
        button->setIconSize(QSize(40, 40));
        button->setFocusPolicy(Qt::NoFocus);
        button->setMouseTracking(true);
        connect(button, &QPushButton::clicked, this,
                [this, column, row] { host_.BoardCellClick(column, row); });
        buttons_[std::size_t(n - 1)] = button;
    }
    buttonPanel_->hide();

    QFont font = this->font();
    font.setBold(true);
    font.setPointSize(8);
    for (int k = 0; k < 8; ++k) {
        const QString letter(QChar(u'A' + k));
        const QString digit(QChar(u'8' - k));
        const std::array<std::pair<QString, QPoint>, 4> places{{
            {letter, {kLabelSteps[std::size_t(k)], kLabelNear}},
            {letter, {kLabelSteps[std::size_t(k)], kLabelFar}},
            {digit, {10, kLabelSteps[std::size_t(k)]}},
            {digit, {kLabelFar, kLabelSteps[std::size_t(k)]}},
        }};
        for (int p = 0; p < 4; ++p) {
            auto* label = new TKvoLabel(this);
            label->SetTransparent(true);
            label->setFont(font);
            label->SetColor(Qt::white);
            label->SetShadowColor(Qt::black);
            label->SetShadowPos(TShadowPosition::spRightBottom);
            label->SetAdjust(true);
            label->SetCaption(places[std::size_t(p)].first);
            label->move(places[std::size_t(p)].second);
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
            labels_[std::size_t(k * 4 + p)] = label;
        }
    }

    stepTimer_ = new QTimer(this);
    stepTimer_->setSingleShot(true);
    stepTimer_->setTimerType(Qt::PreciseTimer);
    connect(stepTimer_, &QTimer::timeout, this, [this] { DrawStep(); });
}

TBoardWidget::~TBoardWidget() = default;

QWidget* TBoardWidget::FieldWidget() const {
    return fieldImage_;
}

QPushButton* TBoardWidget::CellButton(int column, int row) const {
    return buttons_[std::size_t((row - 1) * 8 + column - 1)];
}

QPoint TBoardWidget::CellAt(QPoint fieldPixel) {
    return {std::clamp(fieldPixel.x() / kCell + 1, 1, 8),
            std::clamp(fieldPixel.y() / kCell + 1, 1, 8)};
}

void TBoardWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (!background_.isNull()) painter.drawPixmap(QRect(1, 1, 445, 445), background_);
    painter.end();
    QFrame::paintEvent(event);
}

void TBoardWidget::keyPressEvent(QKeyEvent* event) {
    if (!BoardKeyPressed(*event)) QFrame::keyPressEvent(event);
}

void TBoardWidget::mouseMoveEvent(QMouseEvent* event) {
    MouseMoved(event->globalPosition().toPoint());
    QFrame::mouseMoveEvent(event);
}

bool TBoardWidget::TakesClicks() const {
    // In the history view a click is answered with "Игра остановлена!", so
    // the keys answer too; a finished game ignores the board.
    return !host_.BoardPlayR() || host_.BoardBeginGame();
}

QPoint TBoardWidget::CursorCell() const {
    return cursor_.Shown() ? cursor_.Cell() : QPoint();
}

bool TBoardWidget::BoardKeyPressed(const QKeyEvent& event) {
    const TBoardKey key = BoardKeyOf(event.key(), event.modifiers());
    if (key == TBoardKey::None) return false;
    if (!TakesClicks()) {
        HideCursor();
        return true;
    }
    // A held Enter plays once: its repeats would only hit the cell just
    // taken, or repeat the refusal's message.
    if (key == TBoardKey::Play && event.isAutoRepeat() && cursor_.Shown()) return true;
    const QPoint before = CursorCell();
    const QPoint last = host_.BoardLastMove();
    const bool play = cursor_.Press(key, last.isNull() ? TBoardCursor::kCentre : last);
    if (!before.isNull()) RepaintCursorCell(before);
    RepaintCursorCell(cursor_.Cell());
    // The very entry of a click, so the checks, the messages, the sound and
    // the hand-over are a click's.
    if (play) host_.BoardCellClick(cursor_.Cell().x(), cursor_.Cell().y());
    return true;
}

void TBoardWidget::FollowGame() {
    if (cursor_.Shown() && !TakesClicks()) HideCursor();
}

void TBoardWidget::MouseMoved(QPoint globalPixel) {
    if (lastPointer_ == globalPixel) return;
    lastPointer_ = globalPixel;
    HideCursor();
}

void TBoardWidget::HideCursor() {
    if (!cursor_.Shown()) return;
    cursor_.Hide();
    RepaintCursorCell(cursor_.Cell());
}

void TBoardWidget::RepaintCursorCell(QPoint cell) {
    CellButton(cell.x(), cell.y())->update();
    fieldImage_->update(QRect(kCell * (cell.x() - 1), kCell * (cell.y() - 1), kCell, kCell));
}

void TBoardWidget::SetCursorColour(const QColor& colour) {
    cursorColour_ = colour;
    if (cursor_.Shown()) RepaintCursorCell(cursor_.Cell());
}

void TBoardWidget::SetBackground(const QPixmap& picture) {
    background_ = picture;
    update();
}

void TBoardWidget::SetFieldTexture(const QImage& texture) {
    tempBMR_ = texture;
}

void TBoardWidget::SetFigures(const TBoardFigures& figures) {
    figures_ = figures;
    // The buttons keep their glyph until the cell changes; make them all
    // change so the next redraw puts the new pictures on.
    oldFieldB_.fill(0xFF);
}

void TBoardWidget::SetGrid(bool on) {
    grid_ = on;
}

void TBoardWidget::SetCoordinatesVisible(bool on) {
    coordinates_ = on;
    for (TKvoLabel* label : labels_)
        label->setVisible(on);
}

void TBoardWidget::SetStyleButton(bool on) {
    if (on == styleButton_) return;
    styleButton_ = on;
    buttonPanel_->setVisible(on);
    picturePanel_->setVisible(!on);
    pauseKey_ = false;
    if (!on) RepaintField();
}

void TBoardWidget::RepaintField() {
    // A rebuild asked for while discs are being put down would tear the
    // picture under the running redraw; it is done when the next redraw starts.
    if (drawNow_) {
        fieldRePaint_ = true;
        return;
    }
    fieldRePaint_ = false;
    QPainter painter(&fieldBMR_);
    if (tempBMR_.isNull())
        painter.fillRect(fieldBMR_.rect(), Qt::darkGray);
    else
        painter.drawImage(QRect(0, 0, kFieldPicture, kFieldPicture), tempBMR_);
    if (grid_) {
        // A silver outline with a black one a pixel lower and to the right
        // gives every cell an engraved frame.
        painter.setBrush(Qt::NoBrush);
        for (int i = 1; i <= 8; ++i) {
            for (int j = 1; j <= 8; ++j) {
                painter.setPen(QPen(QColor(192, 192, 192), 1));
                painter.drawRoundedRect(QRect(kCell * i - 46, kCell * j - 46, 45, 45), 5, 5);
                painter.setPen(QPen(Qt::black, 1));
                painter.drawRoundedRect(QRect(kCell * i - 45, kCell * j - 45, 45, 45), 5, 5);
            }
        }
    }
    oldFieldI_.fill(0);
    pauseKey_ = false;
}

void TBoardWidget::RequestRedraw(TRedraw kind) {
    if (kind == TRedraw::Rebuild) {
        if (!styleButton_) RepaintField();
        pauseKey_ = false;
    } else if (kind == TRedraw::AllAtOnce) {
        pauseKey_ = false;
    }
    if (drawNow_) {
        pending_ = true;
        stillNext_ = stillNext_ || kind != TRedraw::Animated;
        return;
    }
    if (scheduled_) return;
    scheduled_ = true;
    QTimer::singleShot(0, this, [this] { BeginDraw(); });
}

void TBoardWidget::BeginDraw() {
    scheduled_ = false;
    if (drawNow_) {
        pending_ = true;
        return;
    }
    const TGameState& game = host_.BoardGame();
    drawNow_ = true;
    pending_ = false;
    nextCell_ = 0;
    if (styleButton_) {
        if (!game.EngineBusy)
            SetButtonCursors(host_.BoardPlayR() ? Qt::WaitCursor : Qt::ForbiddenCursor);
    } else {
        fieldImage_->setCursor(Qt::WaitCursor);
        if (fieldRePaint_) {
            drawNow_ = false;
            RepaintField();
            drawNow_ = true;
        }
    }
    animate_ = pauseKey_ && !goFast_;
    DrawStep();
}

const QPixmap& TBoardWidget::FigureFor(std::uint8_t value) const {
    return value == 1 ? figures_.side1 : figures_.side2;
}

void TBoardWidget::DrawDisc(int column, int row, const QPixmap& picture) {
    QPainter painter(&fieldBMR_);
    painter.drawPixmap(QRect(kCell * column - 42, kCell * row - 42, 40, 40), picture);
}

void TBoardWidget::DrawStep() {
    const TField& board = host_.BoardGame().GameBoard;
    while (nextCell_ < 64) {
        const int column = VisitColumn(nextCell_);
        const int row = VisitRow(nextCell_);
        ++nextCell_;
        const int index = CellIndex(column, row);
        const std::uint8_t value = board[std::size_t(index)];
        bool placed = false;
        if (styleButton_) {
            if (oldFieldB_[std::size_t(index)] != value) {
                QPushButton* button = CellButton(column, row);
                placed = value == 1 || value == 2;
                button->setIcon(placed ? QIcon(FigureFor(value)) : QIcon());
                oldFieldB_[std::size_t(index)] = value;
            }
        } else if (oldFieldI_[std::size_t(index)] != value) {
            // A cell becomes empty only after the field was rebuilt, which
            // cleared it already.
            placed = value == 1 || value == 2;
            if (placed) {
                DrawDisc(column, row, FigureFor(value));
                fieldImage_->update();
            }
            oldFieldI_[std::size_t(index)] = value;
        }
        if (placed && animate_) {
            if (scheduler_)
                scheduler_(kDiscWait, [this] { DrawStep(); });
            else
                stepTimer_->start(kDiscWait);
            return;
        }
    }
    FinishDraw();
}

void TBoardWidget::FinishDraw() {
    fieldImage_->update();
    host_.BoardRedrawFinished();
    UpdateCursors();
    FollowGame();
    pauseKey_ = !stillNext_;
    stillNext_ = false;
    drawNow_ = false;
    if (pending_) {
        pending_ = false;
        RequestRedraw(TRedraw::Animated);
    }
}

void TBoardWidget::SetButtonCursors(Qt::CursorShape shape) {
    for (QPushButton* button : buttons_)
        button->setCursor(shape);
}

void TBoardWidget::UpdateCursors() {
    const TGameState& game = host_.BoardGame();
    if (game.EngineBusy) return;
    const bool play = host_.BoardPlayR();
    if (styleButton_) {
        for (int index = 0; index < 64; ++index) {
            const int column = VisitColumn(index);
            const int row = VisitRow(index);
            const bool legal = play && game.MoveGrid[std::size_t(CellIndex(column, row))] != 0;
            CellButton(column, row)
                ->setCursor(legal ? Qt::PointingHandCursor : Qt::ForbiddenCursor);
        }
    } else {
        fieldImage_->setCursor(play ? Qt::PointingHandCursor : Qt::ForbiddenCursor);
    }
}

void TBoardWidget::SetBusy(bool busy) {
    busy_ = busy;
    if (!busy) UpdateCursors();
}

void TBoardWidget::FieldMouseMove(QPoint pixel) {
    const TGameState& game = host_.BoardGame();
    if (game.EngineBusy || !host_.BoardPlayR() || !host_.BoardCanAct()) return;
    const QPoint cell = CellAt(pixel);
    const bool legal =
        host_.BoardBeginGame() && game.MoveGrid[std::size_t(CellIndex(cell.x(), cell.y()))] != 0;
    fieldImage_->setCursor(legal ? Qt::PointingHandCursor : Qt::ForbiddenCursor);
}

void TBoardWidget::ShowMoveMarks(const TFlipGrid& grid, int bestColumn, int bestRow) {
    for (int step = 0; step < 64; ++step) {
        const int column = VisitColumn(step);
        const int row = VisitRow(step);
        const int index = CellIndex(column, row);
        if (grid[std::size_t(index)] == 0) continue;
        const bool best = column == bestColumn && row == bestRow;
        const QPixmap& mark = best ? figures_.bestMove : figures_.anyMove;
        if (styleButton_) {
            CellButton(column, row)->setIcon(QIcon(mark));
            oldFieldB_[std::size_t(index)] = 3;
        } else {
            DrawDisc(column, row, mark);
            fieldRePaint_ = true;
        }
    }
    fieldImage_->update();
}

} // namespace dorvane
