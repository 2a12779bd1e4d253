#include "view/boardcursor.h"

#include <QPainter>

#include <algorithm>

namespace dorvane {

namespace {

constexpr int kFrameInset = 1;
constexpr int kFrameWidth = 3;

} // namespace

TBoardKey BoardKeyOf(int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return TBoardKey::None;
    switch (key) {
    case Qt::Key_Left:
        return TBoardKey::Left;
    case Qt::Key_Right:
        return TBoardKey::Right;
    case Qt::Key_Up:
        return TBoardKey::Up;
    case Qt::Key_Down:
        return TBoardKey::Down;
    case Qt::Key_Home:
        return TBoardKey::RowStart;
    case Qt::Key_End:
        return TBoardKey::RowEnd;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        return TBoardKey::Play;
    default:
        return TBoardKey::None;
    }
}

bool TBoardCursor::Press(TBoardKey key, QPoint start) {
    if (key == TBoardKey::None) return false;
    if (!shown_) {
        shown_ = true;
        cell_ = QPoint(std::clamp(start.x(), 1, 8), std::clamp(start.y(), 1, 8));
        if (key != TBoardKey::RowStart && key != TBoardKey::RowEnd) return false;
    }
    switch (key) {
    case TBoardKey::Left:
        cell_.rx() = std::max(1, cell_.x() - 1);
        break;
    case TBoardKey::Right:
        cell_.rx() = std::min(8, cell_.x() + 1);
        break;
    case TBoardKey::Up:
        cell_.ry() = std::max(1, cell_.y() - 1);
        break;
    case TBoardKey::Down:
        cell_.ry() = std::min(8, cell_.y() + 1);
        break;
    case TBoardKey::RowStart:
        cell_.rx() = 1;
        break;
    case TBoardKey::RowEnd:
        cell_.rx() = 8;
        break;
    case TBoardKey::Play:
        return true;
    case TBoardKey::None:
        break;
    }
    return false;
}

void DrawCursorFrame(QPainter& painter, const QRect& cell, const QColor& colour) {
    const QRect outer = cell.adjusted(kFrameInset, kFrameInset, -kFrameInset, -kFrameInset);
    const QRect inner = outer.adjusted(kFrameWidth, kFrameWidth, -kFrameWidth, -kFrameWidth);
    const QRegion frame = QRegion(outer).subtracted(QRegion(inner));
    painter.save();
    painter.setClipRegion(frame, Qt::IntersectClip);
    painter.fillRect(outer, colour);
    painter.restore();
}

} // namespace dorvane
