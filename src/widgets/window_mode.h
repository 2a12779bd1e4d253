// How the program's windows stand to each other: the window-ownership mode
// fixed for the run at start-up, the windows demoted from the top layer while
// a modal dialog is open, and the captions of the tray menu's window list.
//
// The standard mode ("Не скрывать окна при минимизации" off) makes the
// secondary windows transient for the game window: they have no taskbar
// entry of their own and follow it when it is minimised or hidden. The
// independent mode (the default) makes them top-level windows without a
// parent, each with its own taskbar entry.
#pragma once

#include <QMargins>
#include <QPointer>
#include <QString>

#include <vector>

class QWidget;

namespace dorvane {

// The parent a secondary window (the message window, the playlist window)
// takes: the main window in the standard mode, none in the independent one.
QWidget* SecondaryWindowParent(bool startStandard, QWidget* mainWindow);

// Opened around every modal dialog of the program: windows that stay on top
// of all others would cover the dialog, so while it is open they leave the
// top layer (without being moved, resized or activated) and come back when
// it closes. Scopes nest.
class TModalScope {
public:
    TModalScope();  // BeforeModal
    ~TModalScope(); // AfterModal
    TModalScope(const TModalScope&) = delete;
    TModalScope& operator=(const TModalScope&) = delete;

    // False while a modal dialog is open: nothing may put a window back on
    // top then.
    static bool TopMostRestoreAllowed();

private:
    std::vector<QPointer<QWidget>> demoted_;
};

// Sets or clears the window's stay-on-top flag; a shown window stays shown
// and, when it was not active, is not activated.
void SetStayOnTop(QWidget* window, bool on);

// What the window manager's frame adds around the window's client area:
// zero while the window has not been framed yet.
QMargins FrameMargins(const QWidget* window);

// A window is placed before it is shown, when its frame is not known yet;
// once the window manager has framed it, the whole frame is pulled into the
// work area of its screen (once: later moves are the user's).
void KeepFrameInWorkAreaWhenShown(QWidget* window);

// A window's entry in the tray menu's window list: its caption, cut to 61
// characters and "..." when it has more than 64.
QString ListedWindowCaption(const QString& caption);

} // namespace dorvane
