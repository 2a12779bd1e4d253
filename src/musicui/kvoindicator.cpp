#include "musicui/kvoindicator.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace dorvane {

TKvoIndicator::TKvoIndicator(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(32, 128);
    Redraw();
}

void TKvoIndicator::SetPosition0(int level) { position0_ = std::clamp(level, 0, kIndicatorMax); }

void TKvoIndicator::SetPosition1(int level) {
    position1_ = std::clamp(level, 0, kIndicatorMax);
    Redraw();
}

void TKvoIndicator::SetBeginColor(QRgb colour) {
    colour |= 0xFF000000u;
    if (colour == look_.begin) return;
    look_.begin = colour;
    Redraw();
}

void TKvoIndicator::SetEndColor(QRgb colour) {
    colour |= 0xFF000000u;
    if (colour == look_.end) return;
    look_.end = colour;
    Redraw();
}

void TKvoIndicator::SetModification(int style) {
    style = std::clamp(style, 0, 2);
    if (style == look_.style) return;
    look_.style = style;
    Redraw();
}

void TKvoIndicator::Redraw() {
    picture_ = PaintIndicator(size(), look_, position0_, position1_);
    update();
}

void TKvoIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

void TKvoIndicator::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Redraw();
}

void TKvoIndicator::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit LeftClicked();
    if (event->button() == Qt::RightButton) emit MenuRequested(event->globalPosition().toPoint());
}

} // namespace dorvane
