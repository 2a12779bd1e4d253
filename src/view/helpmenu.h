// The game window's "Справка" menu: the help page, the feedback mail, the project's site
// and its support page, the "Internet" submenu of the project's link pages
// and the about window. Every link goes through the launch operations, so a
// desktop that cannot open it says "Команду невозможно выполнить!".
#pragma once

#include "view/commands.h"

#include "widgets/launch.h"

#include <QString>

#include <vector>

class QMenu;
class QMenuBar;
class QWidget;

namespace dorvane {

struct TLinkItem {
    QString caption;
    QString address; // host and path, without scheme
};

// The help page, readme.html of the data folder: "Справка по игре" and the
// about window's version link open it.
QString HelpPagePath();

// The "Internet" submenu: its own items, then those of "Программы".
const std::vector<TLinkItem>& InternetLinks();
const std::vector<TLinkItem>& ProgramLinks();

class THelpMenu {
public:
    // Builds the menu at the end of the menu bar and connects the commands.
    THelpMenu(QWidget* window, QMenuBar* menuBar, const TCommandRegistry& commands,
              TMessageService& messages, TRandomSource& random);

    // How addresses are opened; the desktop's by default.
    void SetUrlOpener(TUrlOpener open) { launcher_.open = std::move(open); }
    const TLauncher& Launcher() const { return launcher_; }
    QMenu* Menu() const { return menu_; }

    // "О программе": the about window, modal; only for the player's command.
    void OpenAboutWindow();

private:
    QWidget* window_;
    TLauncher launcher_;
    QMenu* menu_ = nullptr;
};

} // namespace dorvane
