// Glides the mouse pointer onto a control in Count steps, one every 50 ms:
// each step covers the remaining distance divided by the steps left, the last
// one puts the pointer on the control's centre and fires OnMouseEnter. The
// steps run off a timer; nothing waits.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace dorvane {

// Where the pointer is and how it is moved; the screen's by default, a
// test's own in tests.
struct TCursorAccess {
    std::function<QPoint()> pos;
    std::function<void(const QPoint&)> setPos;
    static TCursorAccess Screen();
};

class TKvoCursorTo final : public QObject {
public:
    static constexpr int kIntervalMs = 50;

    explicit TKvoCursorTo(QObject* parent = nullptr);

    QWidget* ToControl() const { return toControl_; }
    void SetToControl(QWidget* control) { toControl_ = control; }
    int Count() const { return count_; }
    void SetCount(int count) { count_ = count; }
    // Starts or stops a glide; ignored when unchanged or without ToControl.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    int StepsLeft() const { return stepsLeft_; }

    void SetCursorAccess(TCursorAccess access) { cursor_ = std::move(access); }
    std::function<void()> OnMouseEnter;

    // One step of the glide, as the timer takes it.
    void Tick();

private:
    QPointer<QWidget> toControl_;
    int count_ = 10;
    bool enabled_ = false;
    int stepsLeft_ = 0;
    TCursorAccess cursor_ = TCursorAccess::Screen();
    QTimer timer_;
};

} // namespace dorvane
