// How the program's fixed dialogs are laid out: centred on the screen, with
// the button bar along the bottom and its two buttons to the right.
#pragma once

#include <QString>

#include <utility>

class QDialog;
class QPushButton;
class QWidget;

namespace dorvane {

// Centres the window in the primary screen's work area.
void CentreOnScreen(QWidget* window);

// The two buttons of the bar (80 x 25, two pixels apart, at the right of the
// dialog's bottom 27 pixels): the first accepts, the second rejects.
std::pair<QPushButton*, QPushButton*> AddButtonBar(QDialog* dialog, const QString& acceptText,
                                                   const QString& rejectText);

} // namespace dorvane
