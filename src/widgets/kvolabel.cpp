#include "widgets/kvolabel.h"

#include <QEvent>
#include <QPainter>
#include <QPalette>

#include <algorithm>

namespace dorvane {

TKvoLabel::TKvoLabel(QWidget* parent)
    : QWidget(parent), shadowColor_(palette().color(QPalette::Light)) {
    resize(65, 17);
}

void TKvoLabel::SetCaption(const QString& text) {
    if (text == caption_) return;
    caption_ = text;
    Resize();
    update();
}

void TKvoLabel::SetColor(const QColor& color) {
    color_ = color;
    update();
}

void TKvoLabel::SetBackColor(const QColor& color) {
    backColor_ = color;
    update();
}

void TKvoLabel::SetTransparent(bool on) {
    transparent_ = on;
    setAttribute(Qt::WA_TranslucentBackground, on);
    update();
}

void TKvoLabel::SetAutoSize(bool on) {
    autoSize_ = on;
    Resize();
}

void TKvoLabel::SetAdjust(bool on) {
    adjust_ = on;
    Resize();
    update();
}

void TKvoLabel::SetShowAccelChar(bool on) {
    showAccelChar_ = on;
    Resize();
    update();
}

void TKvoLabel::SetAlignment(Qt::Alignment horizontal) {
    alignment_ = horizontal & Qt::AlignHorizontal_Mask;
    update();
}

void TKvoLabel::SetLayout(Qt::Alignment vertical) {
    layout_ = vertical & Qt::AlignVertical_Mask;
    update();
}

void TKvoLabel::SetLeftMargin(int pixels) {
    leftMargin_ = std::max(0, pixels);
    Resize();
    update();
}

void TKvoLabel::SetRightMargin(int pixels) {
    rightMargin_ = std::max(0, pixels);
    Resize();
    update();
}

void TKvoLabel::SetWordWrap(bool on) {
    wordWrap_ = on;
    Resize();
    update();
}

void TKvoLabel::SetShadowColor(const QColor& color) {
    shadowColor_ = color;
    update();
}

void TKvoLabel::SetShadowSize(int pixels) {
    shadowSize_ = std::clamp(pixels, 0, 255);
    Resize();
    update();
}

void TKvoLabel::SetShadowPos(TShadowPosition pos) {
    shadowPos_ = pos;
    update();
}

QPoint TKvoLabel::ShadowOffset() const {
    const int s = shadowSize_;
    switch (shadowPos_) {
    case TShadowPosition::spLeftTop:
        return {-s, -s};
    case TShadowPosition::spLeftBottom:
        return {-s, s};
    case TShadowPosition::spRightBottom:
        return {s, s};
    case TShadowPosition::spRightTop:
        return {s, -s};
    }
    return {};
}

int TKvoLabel::TextFlags() const {
    int flags = int(alignment_) | int(layout_);
    if (wordWrap_) flags |= Qt::TextWordWrap;
    if (showAccelChar_) flags |= Qt::TextShowMnemonic; // otherwise "&" is drawn as it stands
    return flags;
}

QRect TKvoLabel::TextBounds(int width) const {
    const QFontMetrics metrics(font());
    const int flags =
        (wordWrap_ ? Qt::TextWordWrap : 0) | (showAccelChar_ ? Qt::TextShowMnemonic : 0);
    const QString text = caption_.isEmpty() ? QStringLiteral(" ") : caption_;
    return metrics.boundingRect(QRect(0, 0, std::max(1, width), 10000), flags, text);
}

QSize TKvoLabel::sizeHint() const {
    const int extra = adjust_ ? shadowSize_ : 0;
    const int wrapWidth = wordWrap_ ? width() - leftMargin_ - rightMargin_ - extra : 10000;
    const QRect bounds = TextBounds(wrapWidth);
    return {bounds.width() + leftMargin_ + rightMargin_ + extra, bounds.height() + extra};
}

void TKvoLabel::Resize() {
    if (autoSize_) resize(sizeHint());
}

void TKvoLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) Resize();
    QWidget::changeEvent(event);
}

void TKvoLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!transparent_ && backColor_.isValid()) painter.fillRect(rect(), backColor_);

    const QPoint offset = ShadowOffset();
    // The text box leaves room for the shadow on the side it falls to, so an
    // auto-sized label never clips either copy.
    QRect box = rect().adjusted(leftMargin_, 0, -rightMargin_, 0);
    box.adjust(std::max(0, -offset.x()), std::max(0, -offset.y()), -std::max(0, offset.x()),
               -std::max(0, offset.y()));
    const int flags = TextFlags();
    if (shadowSize_ > 0) {
        painter.setPen(shadowColor_);
        painter.drawText(box.translated(offset), flags, caption_);
    }
    painter.setPen(color_);
    painter.drawText(box, flags, caption_);
}

} // namespace dorvane
