#include "widgets/kvocursorto.h"

#include <QCursor>

namespace dorvane {

TCursorAccess TCursorAccess::Screen() {
    return {[] { return QCursor::pos(); }, [](const QPoint& at) { QCursor::setPos(at); }};
}

TKvoCursorTo::TKvoCursorTo(QObject* parent) : QObject(parent) {
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
}

void TKvoCursorTo::SetEnabled(bool on) {
    if (on == enabled_ || !toControl_) return;
    enabled_ = on;
    if (on) {
        stepsLeft_ = count_;
        timer_.start();
    } else {
        timer_.stop();
    }
}

void TKvoCursorTo::Tick() {
    if (stepsLeft_ <= 0 || !toControl_) {
        enabled_ = false;
        timer_.stop();
        return;
    }
    const QWidget& control = *toControl_;
    const QPoint target = control.mapToGlobal(QPoint(control.width() / 2, control.height() / 2));
    if (stepsLeft_ == 1) {
        cursor_.setPos(target);
        --stepsLeft_;
        if (OnMouseEnter) OnMouseEnter();
        return;
    }
    const QPoint now = cursor_.pos();
    const QPoint delta = target - now;
    cursor_.setPos(now + QPoint(delta.x() / stepsLeft_, delta.y() / stepsLeft_));
    --stepsLeft_;
}

} // namespace dorvane
