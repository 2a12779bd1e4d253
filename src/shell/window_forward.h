// Bringing the program's windows to the front when a later start asks: the
// running copy does it itself, since a desktop does not let another process
// take the focus. One window at a time: BringWindowForward (widgets).
#pragma once

class QWidget;

namespace dorvane {

// Every visible top-level window of the program that has a caption, the
// main window last so that it ends up in front.
void BringWindowsForward(QWidget* mainWindow);

} // namespace dorvane
