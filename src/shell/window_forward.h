// Bringing the program's windows to the front when a later start asks: the
// running copy does it itself, since a desktop does not let another process
// take the focus.
#pragma once

class QWidget;

namespace dorvane {

// Shows the window (restored when minimised, kept maximised when
// maximised); when moveOntoScreen, a window wholly outside the screen is
// moved, keeping its size, to the screen's centre; when makeForeground, it
// is raised and activated.
void BringWindowForward(QWidget* window, bool makeForeground, bool moveOntoScreen);

// Every visible top-level window of the program that has a caption, the
// main window last so that it ends up in front.
void BringWindowsForward(QWidget* mainWindow);

} // namespace dorvane
