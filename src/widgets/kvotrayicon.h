// The program's icon in the notification area, over QSystemTrayIcon (a
// StatusNotifierItem on D-Bus, an XEmbed icon on plain X11). It keeps the
// properties and operations the windows rely on: the tool tip, the balloon,
// the static icon or a frame of an icon list (animated on a timer), the
// pop-up menu, showing and hiding the main window, and minimising to the
// tray.
//
// Hiding the main window is refused when no notification area exists or the
// icon is not in it: nothing may hide the only way back to a window. The
// icon comes back by itself when the notification area is rebuilt (a panel
// restarted), as QSystemTrayIcon loses it then: a notification area that
// appears while the icon should be visible gets it again. A notification
// area that goes away while the main window waits in it gives the window
// back at once.
#pragma once

#include <QIcon>
#include <QList>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>

#include <functional>
#include <vector>

class QTimer;
class QWidget;

namespace dorvane {

class TKvoTrayIcon final : public QObject {
public:
    // Limits of the texts as the notification area takes them.
    static constexpr int kHintLength = 127;
    static constexpr int kBalloonLength = 255;
    static constexpr int kBalloonTitleLength = 63;

    // owner: the main window, which the component shows, hides and watches
    // for its minimising.
    explicit TKvoTrayIcon(QWidget* owner);
    ~TKvoTrayIcon() override;

    bool Animate() const { return animate_; }
    void SetAnimate(bool on);
    int AnimateInterval() const;
    void SetAnimateInterval(int ms);
    QString Hint() const { return hint_; }
    void SetHint(const QString& text);
    QString BalloonHint() const { return balloonHint_; }
    void SetBalloonHint(const QString& text);
    QString BalloonTitle() const { return balloonTitle_; }
    void SetBalloonTitle(const QString& text);
    int BalloonTimeout() const { return balloonTimeout_; }
    void SetBalloonTimeout(int ms) { balloonTimeout_ = ms; }
    QSystemTrayIcon::MessageIcon BalloonFlags() const { return balloonFlags_; }
    void SetBalloonFlags(QSystemTrayIcon::MessageIcon flags) { balloonFlags_ = flags; }
    QIcon Icon() const { return icon_; }
    void SetIcon(const QIcon& icon);
    const QList<QIcon>& Icons() const { return icons_; }
    void SetIcons(const QList<QIcon>& icons);
    int IconIndex() const { return iconIndex_; }
    void SetIconIndex(int index);
    QMenu* PopupMenu() const { return menu_; }
    void SetPopupMenu(QMenu* menu);
    bool Visible() const { return visible_; }
    void SetVisible(bool on);
    bool StartStandard() const { return startStandard_; }
    void SetStartStandard(bool on) { startStandard_ = on; }
    bool MinimizeToTray() const { return minimizeToTray_; }
    void SetMinimizeToTray(bool on) { minimizeToTray_ = on; }
    bool AppMinimized() const { return appMinimized_; }
    // The icon on show: Icon, a frame of Icons, or the application's icon.
    QIcon CurrentIcon() const { return current_; }

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void()> OnMiddleClick;
    std::function<void()> OnBalloonClick;
    std::function<void()> OnAnimate;
    // Right before the pop-up menu opens.
    std::function<void()> OnPopup;

    void Refresh();
    void SetDefaultIcon();
    void ShowBalloonHint();
    // In the standard mode the other windows are minimised and restored with
    // the main one.
    //
    // The main window back: restored when minimised, maximised when it was,
    // raised and activated; in the standard mode the other windows hidden
    // with it come back too.
    void ShowMainForm();
    // The main window (in the standard mode every window of the program)
    // off the screen and the taskbar; false, and nothing hidden, when the
    // notification area cannot give it back.
    bool HideMainForm();
    // Whether the desktop has a notification area now.
    static bool NotificationAreaAvailable();
    // Whether a top-level widget is one of the program's windows that go
    // into the tray and get minimised with the main window.
    static bool OwnWindow(const QWidget* window);

    // The toolkit's icon, for tests and for a look at what is shown.
    QSystemTrayIcon& SystemIcon() { return tray_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Activated(QSystemTrayIcon::ActivationReason reason);
    void AnimationTick();
    void UpdateTimer();
    void WatchNotificationArea();
    void FollowMainWindow(bool minimized);

    QPointer<QWidget> owner_;
    QSystemTrayIcon tray_;
    QTimer* animation_ = nullptr;
    QTimer* areaWatch_ = nullptr;
    QPointer<QMenu> menu_;
    QString hint_;
    QString balloonHint_;
    QString balloonTitle_;
    int balloonTimeout_ = 10000;
    QSystemTrayIcon::MessageIcon balloonFlags_ = QSystemTrayIcon::NoIcon;
    QIcon icon_;
    QIcon current_;
    QList<QIcon> icons_;
    int iconIndex_ = 0;
    bool animate_ = false;
    bool visible_ = false;
    bool startStandard_ = true;
    bool minimizeToTray_ = false;
    bool appMinimized_ = false;
    bool areaSeen_ = false;
    bool hiddenInTray_ = false; // the main window waits for a click on the icon
    // The windows the standard mode hid with the main one.
    std::vector<QPointer<QWidget>> hiddenWithMain_;
    // The windows the standard mode minimised with the main one.
    std::vector<QPointer<QWidget>> minimizedWithMain_;
};

} // namespace dorvane
