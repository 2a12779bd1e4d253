#include "shell/window_forward.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

namespace dorvane {

void BringWindowForward(QWidget* window, bool makeForeground, bool moveOntoScreen) {
    if (!window) return;
    if (window->isMinimized())
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    if (moveOntoScreen) {
        const QScreen* screen =
            window->screen() ? window->screen() : QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->virtualGeometry() : QRect();
        const QRect bounds = window->frameGeometry();
        const bool visible = bounds.left() <= area.right() && bounds.top() <= area.bottom() &&
                             bounds.right() >= area.left() && bounds.bottom() >= area.top();
        if (!visible && area.isValid())
            window->move(area.left() + std::max(0, (area.width() - bounds.width()) / 2),
                         area.top() + std::max(0, (area.height() - bounds.height()) / 2));
    }
    if (makeForeground) {
        window->raise();
        window->activateWindow();
    }
}

void BringWindowsForward(QWidget* mainWindow) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != mainWindow && window->isVisible() && !window->windowTitle().isEmpty() &&
            !window->parentWidget())
            BringWindowForward(window, true, true);
    BringWindowForward(mainWindow, true, true);
}

} // namespace dorvane
