#include "widgets/window_mode.h"

#include <QApplication>
#include <QWidget>

namespace dorvane {

namespace {

constexpr int kListedCaptionLength = 64;
constexpr int kListedCaptionKept = 61;

int& OpenModalScopes() {
    static int count = 0;
    return count;
}

} // namespace

QWidget* SecondaryWindowParent(bool startStandard, QWidget* mainWindow) {
    return startStandard ? mainWindow : nullptr;
}

void SetStayOnTop(QWidget* window, bool on) {
    if (!window || window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) return;
    const bool shown = window->isVisible();
    const bool active = window->isActiveWindow();
    const bool quiet = window->testAttribute(Qt::WA_ShowWithoutActivating);
    window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    // Changing the flags hides a shown window; it comes back where it was,
    // and a window that was not active does not take the focus.
    if (!shown) return;
    window->setAttribute(Qt::WA_ShowWithoutActivating, !active);
    window->show();
    window->setAttribute(Qt::WA_ShowWithoutActivating, quiet);
}

TModalScope::TModalScope() {
    ++OpenModalScopes();
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) &&
            (window->windowType() == Qt::Window || window->windowType() == Qt::Dialog)) {
            demoted_.emplace_back(window);
            SetStayOnTop(window, false);
        }
}

TModalScope::~TModalScope() {
    for (const QPointer<QWidget>& window : demoted_)
        if (window) SetStayOnTop(window, true);
    --OpenModalScopes();
}

bool TModalScope::TopMostRestoreAllowed() {
    return OpenModalScopes() == 0;
}

QString ListedWindowCaption(const QString& caption) {
    if (caption.size() <= kListedCaptionLength) return caption;
    return caption.left(kListedCaptionKept) + QStringLiteral("...");
}

} // namespace dorvane
