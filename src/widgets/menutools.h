// Small helpers for the windows' menus and tool bars.
#pragma once

#include <QIcon>
#include <QStringList>

#include <functional>
#include <vector>

class QMenu;
class QToolBar;

namespace dorvane {

// Fills the submenu with one item per string (the string as its text, its
// index as its data, running itemAction with the index), then a separator
// and "Очистить" (clearIcon) running clearAction. An empty list leaves the
// submenu empty and disabled.
void BuildListMenu(QMenu* submenu, const QStringList& items, const QIcon& clearIcon,
                   std::function<void()> clearAction, std::function<void(int index)> itemAction);

// A menu text as people read it: a single "&" marks the mnemonic and is not
// shown, "&&" shows one "&". Lookups by a menu's visible text go through it.
QString WithoutMnemonic(const QString& text);

// One control of a tool bar for FitToolBarWidth.
struct TToolBarItem {
    int width = 0;
    bool visible = true;
    bool dropDown = false; // a button with a drop-down arrow
};

// The width a tool bar needs: twice the border and the visible controls'
// widths, a drop-down button counting at least a button and its arrow (14
// pixels at 96 dpi, rounded half to even, less one); 5 more from 23 on,
// otherwise 28.
int ToolBarWidth(const std::vector<TToolBarItem>& items, int borderWidth, int buttonWidth,
                 int dotsPerInch);
// Gives the tool bar that width as its width and minimum width, and fixes
// its height at the present one.
void FitToolBarWidth(QToolBar* toolBar);

} // namespace dorvane
