#include "musicui/playlist_box.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>

namespace dorvane {

TPlaylistBox::TPlaylistBox(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::PointingHandCursor);
    viewport()->setMouseTracking(true);
    SetListFont(font(), 0);
}

void TPlaylistBox::SetLines(const QStringList& lines) {
    lines_ = lines;
    if (current_ >= Count()) current_ = Count() - 1;
    UpdateScrollBars();
    viewport()->update();
}

void TPlaylistBox::SetLine(int row, const QString& line) {
    if (row < 0 || row >= Count()) return;
    lines_[row] = line;
    viewport()->update(RowRect(row));
}

void TPlaylistBox::SetCurrentRow(int row) {
    current_ = row >= 0 && row < Count() ? row : -1;
    if (current_ >= 0) {
        const int perColumn = RowsPerColumn();
        if (Columns() == 0) {
            QScrollBar* bar = verticalScrollBar();
            if (current_ < bar->value()) bar->setValue(current_);
            if (current_ >= bar->value() + perColumn) bar->setValue(current_ - perColumn + 1);
        } else {
            QScrollBar* bar = horizontalScrollBar();
            const int column = current_ / perColumn;
            if (column < bar->value()) bar->setValue(column);
            if (column >= bar->value() + Columns()) bar->setValue(column - Columns() + 1);
        }
    }
    viewport()->update();
}

void TPlaylistBox::SetColours(QColor background, QColor titles, QColor numbers) {
    background_ = background;
    titles_ = titles;
    numbers_ = numbers;
    viewport()->update();
}

void TPlaylistBox::SetListFont(const QFont& font, int spacing) {
    setFont(font);
    // The text height of a line of the font, as "H" measures on the system.
    const QFontMetrics fm(font);
    metrics_ = RowMetrics(fm.height(), spacing);
    for (int digit = 0; digit < 10; ++digit)
        numberAdvance_[std::size_t(digit)] = fm.horizontalAdvance(QChar(u'0' + digit));
    numberAdvance_[10] = fm.horizontalAdvance(QLatin1Char('.'));
    numberAdvance_[11] = fm.horizontalAdvance(QLatin1Char(' '));
    UpdateScrollBars();
    viewport()->update();
}

void TPlaylistBox::SetColumnChoice(int choice) {
    choice_ = std::clamp(choice, kAutoColumns, kMaxColumns);
    UpdateScrollBars();
    viewport()->update();
}

int TPlaylistBox::Columns() const {
    return ListColumns(choice_, Count(), viewport()->height(), metrics_.height);
}

int TPlaylistBox::RowsPerColumn() const {
    return dorvane::RowsPerColumn(viewport()->height(), metrics_.height);
}

int TPlaylistBox::FirstVisibleRow() const {
    if (Columns() == 0) return verticalScrollBar()->value();
    return horizontalScrollBar()->value() * RowsPerColumn();
}

QRect TPlaylistBox::RowRect(int row) const {
    const int at = row - FirstVisibleRow();
    if (Columns() == 0) return {0, at * metrics_.height, viewport()->width(), metrics_.height};
    const int perColumn = RowsPerColumn();
    const int width = std::max(viewport()->width() / Columns(), 1);
    const int column = at >= 0 ? at / perColumn : (at - perColumn + 1) / perColumn;
    return {column * width, (at - column * perColumn) * metrics_.height, width, metrics_.height};
}

int TPlaylistBox::RowAt(QPoint pos) const {
    if (!viewport()->rect().contains(pos)) return -1;
    const int rowInColumn = pos.y() / metrics_.height;
    int row = 0;
    if (Columns() == 0) {
        row = FirstVisibleRow() + rowInColumn;
    } else {
        const int perColumn = RowsPerColumn();
        if (rowInColumn >= perColumn) return -1;
        const int width = std::max(viewport()->width() / Columns(), 1);
        row = FirstVisibleRow() + pos.x() / width * perColumn + rowInColumn;
    }
    return row < Count() ? row : -1;
}

void TPlaylistBox::UpdateScrollBars() {
    const int perColumn = RowsPerColumn();
    const int columns = Columns();
    if (columns == 0) {
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        horizontalScrollBar()->setRange(0, 0);
        verticalScrollBar()->setRange(0, std::max(Count() - perColumn, 0));
        verticalScrollBar()->setPageStep(perColumn);
    } else {
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        verticalScrollBar()->setRange(0, 0);
        const int used = (Count() + perColumn - 1) / perColumn;
        horizontalScrollBar()->setRange(0, std::max(used - columns, 0));
        horizontalScrollBar()->setPageStep(columns);
    }
}

void TPlaylistBox::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), background_);
    painter.setFont(font());
    const QFontMetrics fm(font());
    const int baseline = metrics_.offsetTop + fm.ascent();
    const int perColumn = RowsPerColumn();
    const int columns = Columns();
    const int first = FirstVisibleRow();
    const int shown = columns == 0 ? perColumn + 1 : perColumn * columns;
    for (int row = first; row < Count() && row < first + shown; ++row) {
        const QRect rect = RowRect(row);
        const bool selected = row == current_;
        // Side by side, a row must not run into the next column; the clip
        // comes first so the highlight is not cut by the previous row's.
        if (columns > 0) painter.setClipRect(rect);
        if (selected) painter.fillRect(rect, numbers_);
        const QString number = RowNumberText(row);
        const auto [numberWidth, numberShown] = NumberWidth(number, rect.width());
        painter.setPen(selected ? background_ : numbers_);
        painter.drawText(rect.left(), rect.top() + baseline, number.left(numberShown));
        // Only what can show is laid out: no character is narrower than a
        // pixel, so the narrow columns of a long list in the auto choice
        // stay cheap.
        const int left = rect.left() + numberWidth;
        if (left <= rect.right()) {
            painter.setPen(selected ? background_ : titles_);
            painter.drawText(left, rect.top() + baseline,
                             lines_[row].left(rect.right() - left + 2));
        }
    }
}

std::pair<int, qsizetype> TPlaylistBox::NumberWidth(const QString& number, int room) const {
    int width = 0;
    qsizetype shown = 0;
    for (const QChar c : number) {
        const int at = c.isDigit() ? c.digitValue() : c == QLatin1Char('.') ? 10 : 11;
        if (width < room) ++shown;
        width += numberAdvance_[std::size_t(at)];
    }
    return {width, shown};
}

void TPlaylistBox::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void TPlaylistBox::scrollContentsBy(int, int) {
    viewport()->update();
}

void TPlaylistBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int row = RowAt(event->position().toPoint());
    if (row < 0) return;
    SetCurrentRow(row);
    dragFrom_ = row;
    pressAt_ = event->position().toPoint();
    dragging_ = false;
}

void TPlaylistBox::mouseMoveEvent(QMouseEvent* event) {
    if (dragFrom_ < 0 || !(event->buttons() & Qt::LeftButton)) return;
    if (!dragging_ && (event->position().toPoint() - pressAt_).manhattanLength() >=
                          QApplication::startDragDistance()) {
        dragging_ = true;
        viewport()->setCursor(Qt::DragMoveCursor);
    }
}

void TPlaylistBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int from = dragFrom_;
    const bool dragged = dragging_;
    dragFrom_ = -1;
    dragging_ = false;
    viewport()->setCursor(Qt::PointingHandCursor);
    if (from < 0) return;
    const int to = RowAt(event->position().toPoint());
    if (!dragged) {
        emit RowClicked(from);
        return;
    }
    if (to >= 0 && to != from) emit RowDropped(from, to);
}

void TPlaylistBox::mouseDoubleClickEvent(QMouseEvent* event) {
    const int row = RowAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && row >= 0) emit RowActivated(row, event->modifiers());
}

void TPlaylistBox::keyPressEvent(QKeyEvent* event) {
    const int perPage = Columns() == 0 ? RowsPerColumn() : RowsPerColumn() * Columns();
    int row = current_;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (current_ >= 0) emit RowActivated(current_, event->modifiers());
        return;
    case Qt::Key_Delete:
        if (current_ >= 0) emit DeletePressed(current_);
        return;
    case Qt::Key_Up:
        row = std::max(row - 1, 0);
        break;
    case Qt::Key_Down:
        row = row + 1;
        break;
    case Qt::Key_Left:
        row = std::max(row - RowsPerColumn(), 0);
        break;
    case Qt::Key_Right:
        row = row + RowsPerColumn();
        break;
    case Qt::Key_PageUp:
        row = std::max(row - perPage, 0);
        break;
    case Qt::Key_PageDown:
        row = row + perPage;
        break;
    case Qt::Key_Home:
        row = 0;
        break;
    case Qt::Key_End:
        row = Count() - 1;
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    if (Count() > 0) SetCurrentRow(std::min(row, Count() - 1));
}

bool TPlaylistBox::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int row = RowAt(help->pos());
        const QString text = row >= 0 && hint_ ? hint_(row) : QString();
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, viewport(), RowRect(row));
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

} // namespace dorvane
