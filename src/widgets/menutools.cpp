#include "widgets/menutools.h"

#include <QAction>
#include <QMenu>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <cmath>

namespace dorvane {

QString WithoutMnemonic(const QString& text) {
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) ++i;
        plain += text[i];
    }
    return plain;
}

void BuildListMenu(QMenu* submenu, const QStringList& items, const QIcon& clearIcon,
                   std::function<void()> clearAction, std::function<void(int index)> itemAction) {
    submenu->clear();
    for (int i = 0; i < items.size(); ++i) {
        QAction* item = submenu->addAction(items[i]);
        item->setData(i);
        QObject::connect(item, &QAction::triggered, submenu, [itemAction, i] {
            if (itemAction) itemAction(i);
        });
    }
    submenu->menuAction()->setEnabled(!items.isEmpty());
    if (items.isEmpty()) return;
    submenu->addSeparator();
    QAction* clear = submenu->addAction(clearIcon, QStringLiteral("Очистить"));
    QObject::connect(clear, &QAction::triggered, submenu, [clearAction] {
        if (clearAction) clearAction();
    });
}

int ToolBarWidth(const std::vector<TToolBarItem>& items, int borderWidth, int buttonWidth,
                 int dotsPerInch) {
    const int arrow = int(std::nearbyint(dotsPerInch * 14 / 96.0)) - 1; // half to even
    int sum = 2 * borderWidth;
    for (const TToolBarItem& item : items) {
        if (!item.visible) continue;
        sum += item.dropDown && item.width < buttonWidth + arrow ? buttonWidth + arrow : item.width;
    }
    return sum >= 23 ? sum + 5 : 28;
}

void FitToolBarWidth(QToolBar* toolBar) {
    std::vector<TToolBarItem> items;
    const int buttonWidth = toolBar->iconSize().width() + 7;
    for (QAction* action : toolBar->actions()) {
        QWidget* widget = toolBar->widgetForAction(action);
        if (!widget) continue;
        const auto* button = qobject_cast<QToolButton*>(widget);
        const bool dropDown = button && button->popupMode() == QToolButton::MenuButtonPopup;
        items.push_back({widget->width(), widget->isVisibleTo(toolBar), dropDown});
    }
    const int border =
        toolBar->style()->pixelMetric(QStyle::PM_ToolBarFrameWidth, nullptr, toolBar);
    const int width = ToolBarWidth(items, border, buttonWidth, toolBar->logicalDpiX());
    toolBar->setMinimumWidth(width);
    toolBar->resize(width, toolBar->height());
    toolBar->setMinimumHeight(toolBar->height());
    toolBar->setMaximumHeight(toolBar->height());
}

} // namespace dorvane
