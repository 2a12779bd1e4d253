// The game window's icon in the notification area and its menu: "О
// программе", "Окна" (the program's windows, listed anew each time the menu
// opens) and "Закрыть". A left click on the icon brings the game window
// back; with "Минимизировать в трей" a minimised game window leaves the
// screen and the taskbar and waits there.
#pragma once

#include "widgets/kvotrayicon.h"

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QWidget;

namespace dorvane {

struct TGameTrayActions {
    std::function<void()> openAbout;   // "О программе"
    std::function<void()> close;       // "Закрыть"
    std::function<void()> showWindows; // the end of a start in the tray
};

class TGameTray {
public:
    TGameTray(QWidget* window, bool startStandard, TGameTrayActions actions);
    ~TGameTray();

    TKvoTrayIcon& Icon() { return *icon_; }
    QMenu* Menu() const { return menu_.get(); }
    QMenu* WindowsMenu() const { return windows_; }
    QAction* AboutItem() const { return about_; }

    // "ShowMainMin": the program started minimised; until the first click
    // on the icon the window list is left as it is.
    void SetShowMainMin(bool on) { showMainMin_ = on; }
    bool ShowMainMin() const { return showMainMin_; }

    // A left click on the icon.
    void Click();
    // Before the menu opens: "Окна" with "Главное окно" (bold) first and
    // every other window of the program that has a caption; "О программе"
    // is shown only when the list is empty.
    void RebuildWindowList();

private:
    void ActivateListedWindow(QWidget* target);

    QWidget* window_;
    TGameTrayActions actions_;
    std::unique_ptr<QMenu> menu_; // a menu of the tray has no parent window
    QMenu* windows_ = nullptr;
    QAction* windowsItem_ = nullptr;
    QAction* about_ = nullptr;
    TKvoTrayIcon* icon_ = nullptr;
    bool showMainMin_ = false;
};

} // namespace dorvane
