#include "widgets/kvoalabel.h"

#include <QMouseEvent>

namespace dorvane {

TKvoALabel::TKvoALabel(QWidget* parent) : TKvoALabel(QString(), parent) {}

TKvoALabel::TKvoALabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    Paint(noActiveColor_, false);
}

void TKvoALabel::SetNoActiveColor(const QColor& color) {
    noActiveColor_ = color;
    if (!underMouse()) Paint(noActiveColor_, false);
}

QColor TKvoALabel::TextColor() const {
    return palette().color(QPalette::WindowText);
}

void TKvoALabel::Paint(const QColor& color, bool underline) {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, color);
    setPalette(colours);
    QFont f = font();
    f.setUnderline(underline);
    setFont(f);
}

void TKvoALabel::enterEvent(QEnterEvent* event) {
    if (defaultSetting_) Paint(activeColor_, true);
    QLabel::enterEvent(event);
    if (OnMouseEnter) OnMouseEnter();
}

void TKvoALabel::leaveEvent(QEvent* event) {
    if (defaultSetting_) Paint(noActiveColor_, false);
    QLabel::leaveEvent(event);
    if (OnMouseLeave) OnMouseLeave();
}

void TKvoALabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        OnClick)
        OnClick();
}

} // namespace dorvane
