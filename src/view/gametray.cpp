#include "view/gametray.h"

#include "view/assets.h"

#include "core/messages.h"
#include "widgets/messageform.h"
#include "widgets/window_mode.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace dorvane {

TGameTray::TGameTray(QWidget* window, bool startStandard, TGameTrayActions actions)
    : window_(window), actions_(std::move(actions)), menu_(std::make_unique<QMenu>()) {
    about_ = menu_->addAction(QStringLiteral("О программе"));
    windows_ = new QMenu(QStringLiteral("Окна"), menu_.get());
    windowsItem_ = menu_->addMenu(windows_);
    windowsItem_->setVisible(false);
    menu_->addSeparator();
    QAction* close = menu_->addAction(QStringLiteral("Закрыть"));
    QObject::connect(about_, &QAction::triggered, window, [this] {
        if (actions_.openAbout) actions_.openAbout();
    });
    QObject::connect(close, &QAction::triggered, window, [this] {
        if (actions_.close) actions_.close();
    });

    icon_ = new TKvoTrayIcon(window);
    icon_->SetStartStandard(startStandard);
    icon_->SetHint(QString::fromUtf8(kMessageCaption));
    icon_->SetIcon(ProgramIcon());
    icon_->SetPopupMenu(menu_.get());
    icon_->OnClick = [this] { Click(); };
    icon_->OnPopup = [this] { RebuildWindowList(); };
    icon_->SetVisible(true);
}

TGameTray::~TGameTray() {
    // The icon goes with the window; the menu must outlive its use by it.
    delete icon_;
}

void TGameTray::Click() {
    icon_->ShowMainForm();
    if (showMainMin_) {
        showMainMin_ = false;
        if (actions_.showWindows) actions_.showWindows();
    }
}

void TGameTray::RebuildWindowList() {
    if (showMainMin_) return;
    windows_->clear();
    QAction* main = windows_->addAction(QStringLiteral("Главное окно"));
    QFont bold = main->font();
    bold.setBold(true);
    main->setFont(bold);
    windows_->setDefaultAction(main);
    QObject::connect(main, &QAction::triggered, window_,
                     [this, target = QPointer<QWidget>(window_)] { ActivateListedWindow(target); });
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other == window_ || !other->isVisible() || other->windowTitle().isEmpty()) continue;
        if (other->windowType() != Qt::Window && other->windowType() != Qt::Dialog) continue;
        QAction* item = windows_->addAction(ListedWindowCaption(other->windowTitle()));
        QObject::connect(
            item, &QAction::triggered, window_,
            [this, target = QPointer<QWidget>(other)] { ActivateListedWindow(target); });
    }
    const bool listed = !windows_->isEmpty();
    windowsItem_->setVisible(listed);
    about_->setVisible(!listed);
}

void TGameTray::ActivateListedWindow(QWidget* target) {
    if (target == window_)
        icon_->ShowMainForm();
    else if (target)
        BringWindowForward(target, true, true);
    // The items name windows that may be gone by the next popup; the list is
    // dropped once the menu has closed.
    QTimer::singleShot(0, windows_, [this] { windows_->clear(); });
}

} // namespace dorvane
