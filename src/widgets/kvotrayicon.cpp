#include "widgets/kvotrayicon.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <QWindowStateChangeEvent>

namespace dorvane {

namespace {

// How often the component looks whether a notification area came (back):
// the toolkit has no signal for it on every platform.
constexpr int kAreaWatchMs = 2000;

} // namespace

TKvoTrayIcon::TKvoTrayIcon(QWidget* owner) : QObject(owner), owner_(owner) {
    // The timer has no owner window of its own; it lives with the component.
    animation_ = new QTimer(this);
    animation_->setInterval(1000);
    connect(animation_, &QTimer::timeout, this, [this] { AnimationTick(); });
    connect(&tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { Activated(reason); });
    connect(&tray_, &QSystemTrayIcon::messageClicked, this, [this] {
        if (OnBalloonClick) OnBalloonClick();
    });
    hint_ = QApplication::applicationDisplayName().left(kHintLength);
    tray_.setToolTip(hint_);
    if (owner_) owner_->installEventFilter(this);
    SetDefaultIcon();
    areaWatch_ = new QTimer(this);
    areaWatch_->setInterval(kAreaWatchMs);
    connect(areaWatch_, &QTimer::timeout, this, [this] { WatchNotificationArea(); });
    areaSeen_ = NotificationAreaAvailable();
    areaWatch_->start();
}

TKvoTrayIcon::~TKvoTrayIcon() {
    if (owner_) owner_->removeEventFilter(this);
    tray_.hide();
}

bool TKvoTrayIcon::OwnWindow(const QWidget* window) {
    // The program's windows and dialogs; not the windows the window manager
    // does not manage, such as Qt's own widget for the icon in an XEmbed
    // notification area, which must stay when the windows go.
    const Qt::WindowType type = window->windowType();
    return (type == Qt::Window || type == Qt::Dialog) &&
           !window->windowFlags().testFlag(Qt::BypassWindowManagerHint);
}

bool TKvoTrayIcon::NotificationAreaAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TKvoTrayIcon::SetAnimate(bool on) {
    const bool was = animate_;
    animate_ = on;
    // Switching the animation off shows the static icon again.
    if (was && !on) SetDefaultIcon();
    UpdateTimer();
}

int TKvoTrayIcon::AnimateInterval() const {
    return animation_->interval();
}

void TKvoTrayIcon::SetAnimateInterval(int ms) {
    animation_->setInterval(ms);
}

void TKvoTrayIcon::SetHint(const QString& text) {
    hint_ = text.left(kHintLength);
    tray_.setToolTip(hint_);
    Refresh();
}

void TKvoTrayIcon::SetBalloonHint(const QString& text) {
    balloonHint_ = text.left(kBalloonLength);
}

void TKvoTrayIcon::SetBalloonTitle(const QString& text) {
    balloonTitle_ = text.left(kBalloonTitleLength);
}

void TKvoTrayIcon::SetIcon(const QIcon& icon) {
    icon_ = icon;
    current_ = icon.isNull() ? QApplication::windowIcon() : icon;
    Refresh();
}

void TKvoTrayIcon::SetIcons(const QList<QIcon>& icons) {
    icons_ = icons;
    if (icons_.isEmpty()) {
        iconIndex_ = 0;
        SetDefaultIcon();
        UpdateTimer();
        return;
    }
    SetIconIndex(iconIndex_);
    UpdateTimer();
}

void TKvoTrayIcon::SetIconIndex(int index) {
    iconIndex_ = index;
    if (index >= 0 && index < icons_.size()) {
        current_ = icons_[index];
        Refresh();
    }
}

void TKvoTrayIcon::SetPopupMenu(QMenu* menu) {
    if (menu_) disconnect(menu_, &QMenu::aboutToShow, this, nullptr);
    menu_ = menu;
    tray_.setContextMenu(menu);
    if (menu)
        connect(menu, &QMenu::aboutToShow, this, [this] {
            if (OnPopup) OnPopup();
        });
}

void TKvoTrayIcon::SetVisible(bool on) {
    if (on == visible_) return;
    if (!animate_ || current_.isNull()) SetDefaultIcon();
    visible_ = on;
    tray_.setVisible(on);
    UpdateTimer();
}

void TKvoTrayIcon::Refresh() {
    tray_.setIcon(current_);
}

void TKvoTrayIcon::SetDefaultIcon() {
    current_ = icon_.isNull() ? QApplication::windowIcon() : icon_;
    Refresh();
}

void TKvoTrayIcon::ShowBalloonHint() {
    if (!visible_) return;
    tray_.showMessage(balloonTitle_, balloonHint_, balloonFlags_, balloonTimeout_);
}

void TKvoTrayIcon::ShowMainForm() {
    if (!owner_) return;
    hiddenInTray_ = false;
    // The other windows of the standard mode first, so that the main one
    // ends up in front.
    // They come back as they were before the main window was minimised:
    // those minimised with it come back restored.
    for (const QPointer<QWidget>& window : std::exchange(hiddenWithMain_, {})) {
        if (!window) continue;
        if (window->isMinimized())
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->show();
    }
    minimizedWithMain_.clear();
    QWidget* main = owner_;
    if (main->isMinimized())
        main->setWindowState((main->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    if (main->isMaximized())
        main->showMaximized();
    else
        main->show();
    main->raise();
    main->activateWindow();
}

bool TKvoTrayIcon::HideMainForm() {
    if (!owner_ || !visible_ || !NotificationAreaAvailable()) return false;
    if (startStandard_) {
        // The standard mode's windows go and come back together.
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window != owner_ && window->isVisible() && OwnWindow(window)) {
                hiddenWithMain_.emplace_back(window);
                window->hide();
            }
    }
    owner_->hide();
    hiddenInTray_ = true;
    return true;
}

bool TKvoTrayIcon::eventFilter(QObject* watched, QEvent* event) {
    if (watched == owner_ && event->type() == QEvent::WindowStateChange) {
        const bool was = appMinimized_;
        appMinimized_ = owner_->isMinimized();
        // The standard mode's windows are minimised and restored together.
        if (startStandard_ && appMinimized_ != was) FollowMainWindow(appMinimized_);
        if (appMinimized_ && minimizeToTray_) {
            // Hiding a window inside its own state change confuses some
            // window managers: it goes once the change is through.
            QTimer::singleShot(0, this, [this] {
                if (owner_ && owner_->isMinimized() && minimizeToTray_ && HideMainForm())
                    SetVisible(true);
            });
        }
    }
    return QObject::eventFilter(watched, event);
}

void TKvoTrayIcon::FollowMainWindow(bool minimized) {
    if (minimized) {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window != owner_ && window->isVisible() && !window->isMinimized() &&
                OwnWindow(window)) {
                minimizedWithMain_.emplace_back(window);
                window->showMinimized();
            }
        return;
    }
    for (const QPointer<QWidget>& window : std::exchange(minimizedWithMain_, {}))
        if (window && window->isMinimized()) window->showNormal();
}

void TKvoTrayIcon::Activated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        if (OnClick) OnClick();
        break;
    case QSystemTrayIcon::DoubleClick:
        if (OnDblClick) OnDblClick();
        break;
    case QSystemTrayIcon::MiddleClick:
        if (OnMiddleClick) OnMiddleClick();
        break;
    default:
        // The context menu is the toolkit's to show (setContextMenu).
        break;
    }
}

void TKvoTrayIcon::AnimationTick() {
    if (OnAnimate) OnAnimate();
    if (icons_.isEmpty()) return;
    SetIconIndex(iconIndex_ < icons_.size() - 1 ? iconIndex_ + 1 : 0);
}

void TKvoTrayIcon::UpdateTimer() {
    const bool run = animate_ && visible_ && !icons_.isEmpty();
    if (run && !animation_->isActive())
        animation_->start();
    else if (!run)
        animation_->stop();
}

void TKvoTrayIcon::WatchNotificationArea() {
    const bool now = NotificationAreaAvailable();
    // A notification area that came (back) while the icon should be in it
    // has never heard of the icon: it is added anew.
    if (now && !areaSeen_ && visible_) {
        tray_.hide();
        tray_.show();
    }
    // Without the area nothing could bring a hidden window back.
    if (!now && hiddenInTray_) ShowMainForm();
    areaSeen_ = now;
}

} // namespace dorvane
