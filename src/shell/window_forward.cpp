#include "shell/window_forward.h"

#include "widgets/messageform.h"

#include <QApplication>
#include <QWidget>

namespace dorvane {

void BringWindowsForward(QWidget* mainWindow) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != mainWindow && window->isVisible() && !window->windowTitle().isEmpty() &&
            !window->parentWidget())
            BringWindowForward(window, true, true);
    BringWindowForward(mainWindow, true, true);
}

} // namespace dorvane
