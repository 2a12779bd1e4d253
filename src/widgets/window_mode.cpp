#include "widgets/window_mode.h"

#include "core/window_placement.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace dorvane {

namespace {

constexpr int kListedCaptionLength = 64;
constexpr int kListedCaptionKept = 61;

int& OpenModalScopes() {
    static int count = 0;
    return count;
}

// Waits for the widget's native window to be exposed with a frame around it
// and then pulls the frame into the work area; it goes with that.
class TFrameFitter final : public QObject {
public:
    explicit TFrameFitter(QWidget* window) : QObject(window), window_(window) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Show && window_->windowHandle() &&
            !watching_) {
            watching_ = true;
            window_->windowHandle()->installEventFilter(this);
        } else if (watched == window_->windowHandle() && event->type() == QEvent::Expose &&
                   window_->windowHandle()->isExposed()) {
            FitOnceFramed();
        }
        return false;
    }

private:
    void FitOnceFramed() {
        const QMargins frame = FrameMargins(window_);
        if (frame.isNull()) return;
        if (const QScreen* screen = window_->screen()) {
            const QPoint at = window_->frameGeometry().topLeft();
            const QPoint pulled =
                PullIntoWorkArea(at, window_->size(), frame, screen->availableGeometry());
            if (pulled != at) window_->move(pulled);
        }
        deleteLater();
    }

    QWidget* window_;
    bool watching_ = false;
};

} // namespace

QMargins FrameMargins(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

void KeepFrameInWorkAreaWhenShown(QWidget* window) {
    if (window) new TFrameFitter(window);
}

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
