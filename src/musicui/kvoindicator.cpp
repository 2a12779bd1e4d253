#include "musicui/kvoindicator.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace dorvane {

TKvoIndicator::TKvoIndicator(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(32, 128);
    Redraw();
}

void TKvoIndicator::SetPosition0(int level) {
    position0_ = std::clamp(level, 0, kIndicatorMax);
}

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

void TKvoIndicator::Paint() const {
    const QSize wanted = size().expandedTo({1, 1});
    if (picture_.size() != wanted) picture_ = QImage(wanted, QImage::Format_RGB32);
    PaintIndicator(picture_, look_, position0_, position1_);
}

void TKvoIndicator::Redraw() {
    Paint();
    update();
}

const QImage& TKvoIndicator::Picture() const {
    if (picture_.size() != size().expandedTo({1, 1})) Paint();
    return picture_;
}

void TKvoIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, Picture());
}

void TKvoIndicator::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Redraw();
}

void TKvoIndicator::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit LeftClicked();
    QWidget::mousePressEvent(event);
}

void TKvoIndicator::contextMenuEvent(QContextMenuEvent* event) {
    emit MenuRequested(event->globalPos());
    event->accept();
}

} // namespace dorvane
