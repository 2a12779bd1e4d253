// The screen saver: a black window over the whole screen with the pointer
// hidden and a small information box that moves to a new place every ten
// seconds; optionally the visualiser is centred above it. A key, a mouse
// button or (after the first second) a move of the mouse by more than 9
// pixels closes it. While it is shown the desktop's own screen saver is held
// off.
#pragma once

#include <QDateTime>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace dorvane {

class TDisplayHold;
class TModalScope;
class TScopeForm;

// True while a screen saver window exists: a second one is refused, and
// the playlist window's meter and the visualiser's menu item wait.
bool ScreenSaverRunning();

// Whole days + " " + HH:MM:SS of an elapsed span in seconds.
QString ElapsedText(qint64 seconds);
// The system's uptime in seconds; -1 when the clock cannot be read.
qint64 SystemUptimeSeconds();

class TServerForm final : public QWidget {
    Q_OBJECT

public:
    // The clock gives the current time (tests set their own).
    explicit TServerForm(std::function<QDateTime()> clock = {}, QWidget* parent = nullptr);
    ~TServerForm() override;

    // The box's top-left text position and its four lines.
    QPoint BoxPlace() const { return place_; }
    QStringList BoxLines() const;
    int ServerTick() const { return serverTick_; }
    // The timer's step, once a second.
    void SecondTick();
    // Held until the saver closes (the program's windows that stay on top
    // leave the top layer meanwhile).
    void HoldModalScope(std::unique_ptr<TModalScope> scope);

signals:
    void Closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void PlaceBox();

    std::function<QDateTime()> clock_;
    QDateTime start_;
    QDateTime serverDT_;
    int serverTick_ = 0;
    int textW_ = 0, textH_ = 0;
    QPoint place_;
    QPoint point_; // the pointer where it was last recorded
    bool pointKnown_ = false;
    QTimer second_;
    std::unique_ptr<TDisplayHold> hold_;
    std::unique_ptr<TModalScope> modal_;
};

// Opens the screen saver (nothing while one runs). With a visualiser: it is
// placed borderless in the middle of the screen above the saver and put
// back when the saver closes; closeAfter closes it then (it was opened for
// the saver). Without one, the saver is opened like the program's modal
// dialogs, the stay-on-top windows leaving the top layer while it is shown.
TServerForm* OpenScreenSaver(TScopeForm* visualiser, bool closeAfter);

} // namespace dorvane
