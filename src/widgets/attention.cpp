#include "widgets/attention.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QHash>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>

namespace dorvane {

namespace {

bool gAttentionEnabled = true;

// The live dialogs with the behaviour, and the one filter of each class.
QList<TAttention*>& Dialogs() {
    static QList<TAttention*> dialogs;
    return dialogs;
}

QHash<QString, TAttention*>& Hooks() {
    static QHash<QString, TAttention*> hooks;
    return hooks;
}

// The X11 protocol's ButtonRelease event, as the xcb plugin hands it over.
struct TXButtonEvent {
    std::uint8_t responseType;
    std::uint8_t detail; // 1 left, 2 middle, 3 right
    std::uint16_t sequence;
    std::uint32_t time, root, event, child;
    std::int16_t rootX, rootY, eventX, eventY;
    std::uint16_t state;
    std::uint8_t sameScreen, pad;
};
constexpr std::uint8_t kXButtonRelease = 5;

// The same through the X Input extension 2, which Qt selects when the server
// has it: a generic event whose type is XI_ButtonRelease, positions in 16.16
// fixed point.
struct TXiButtonEvent {
    std::uint8_t responseType;
    std::uint8_t extension;
    std::uint16_t sequence;
    std::uint32_t length;
    std::uint16_t eventType;
    std::uint16_t deviceId;
    std::uint32_t time, detail, root, event, child, fullSequence;
    std::int32_t rootX, rootY;
};
constexpr std::uint8_t kXGenericEvent = 35;
constexpr std::uint16_t kXiButtonRelease = 5;

struct TXRelease {
    std::uint32_t button = 0;
    std::uint32_t window = 0;
    QPointF root;
};

// A button release of either kind; none for any other event.
std::optional<TXRelease> XRelease(const void* message) {
    std::uint8_t type = 0;
    std::memcpy(&type, message, 1);
    type &= 0x7F;
    if (type == kXButtonRelease) {
        TXButtonEvent event{};
        std::memcpy(&event, message, sizeof event);
        return TXRelease{event.detail, event.event, QPointF(event.rootX, event.rootY)};
    }
    if (type == kXGenericEvent) {
        // A generic event is 32 bytes, its length more words and the full
        // sequence number xcb puts after the first 32: read no further.
        std::uint32_t words = 0;
        std::memcpy(&words, static_cast<const char*>(message) + 4, sizeof words);
        if (std::uint64_t(32) + 4 * std::uint64_t(words) + 4 < sizeof(TXiButtonEvent))
            return std::nullopt;
        TXiButtonEvent event{};
        std::memcpy(&event, message, sizeof event);
        if (event.eventType != kXiButtonRelease) return std::nullopt;
        return TXRelease{event.detail, event.event,
                         QPointF(event.rootX / 65536.0, event.rootY / 65536.0)};
    }
    return std::nullopt;
}

// A window that is the dialog's own: the dialog itself, a window shown over
// it (a list box's list, a menu) or any pop-up.
bool Belongs(const QWindow* window, const QWindow* dialog) {
    for (const QWindow* w = window; w; w = w->transientParent())
        if (w == dialog) return true;
    return window->type() == Qt::Popup || window->type() == Qt::ToolTip;
}

bool BelongsTo(const QWidget* widget, const QWidget* dialog) {
    if (widget->window()->windowType() == Qt::Popup) return true;
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (w == dialog) return true;
    return false;
}

} // namespace

// Releases over windows that the modal dialog blocks: Qt drops them before
// any event filter, so they are taken from the X connection.
class TAttention::TNativeReleases final : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t" || !message) return false;
        const std::optional<TXRelease> release = XRelease(message);
        if (!release) return false;
        const Qt::MouseButton button = release->button == 1   ? Qt::LeftButton
                                       : release->button == 3 ? Qt::RightButton
                                                              : Qt::NoButton;
        QWindow* modal = QGuiApplication::modalWindow();
        if (!modal || button == Qt::NoButton) return false;
        // Only the program's own windows count. Releases over the dialog
        // itself, its pop-ups (a list box's list) and windows it does not
        // block reach the Qt filter as usual.
        const QWindow* over = nullptr;
        for (const QWindow* window : QGuiApplication::allWindows())
            if (window->handle() && window->winId() == release->window) over = window;
        if (!over || Belongs(over, modal)) return false;
        const QScreen* screen = QGuiApplication::primaryScreen();
        const qreal ratio = screen ? screen->devicePixelRatio() : 1.0;
        const QPoint global = (release->root / ratio).toPoint();
        for (TAttention* attention : Dialogs())
            if (attention->dialog_ && attention->dialog_->windowHandle() == modal)
                attention->Released(button, global, false);
        return false;
    }
};

TAttention::TDecision TAttention::Decide(bool enabled, bool dialogIsActiveModal,
                                         Qt::MouseButton button, bool onOwnControl,
                                         const QRect& dialogFrame, const QPoint& global) {
    if (!enabled || !dialogIsActiveModal) return TDecision::Ignore;
    if (button != Qt::LeftButton && button != Qt::RightButton) return TDecision::Ignore;
    if (onOwnControl) return TDecision::Ignore;
    return dialogFrame.contains(global) ? TDecision::Raise : TDecision::Flash;
}

TAttention::TAttention(QDialog* dialog, const QString& dialogClass, QWidget* glideTo,
                       QWidget* closeButton)
    : QObject(dialog), dialog_(dialog), class_(dialogClass), closeButton_(closeButton),
      alert_([](QWidget* widget) { QApplication::alert(widget); }) {
    Dialogs().append(this);
    if (!Hooks().contains(class_)) {
        Hooks().insert(class_, this);
        qApp->installEventFilter(this);
        static TNativeReleases native;
        static bool nativeInstalled = false;
        if (!nativeInstalled) {
            qApp->installNativeEventFilter(&native);
            nativeInstalled = true;
        }
        setHook_ = true;
    }
    cursorTo_.SetToControl(glideTo);
    cursorTo_.OnMouseEnter = [this] {
        if (flashStart_) alert_(dialog_);
    };
    // The glide starts when the dialog is on screen: before that its
    // controls have no place to glide to.
    dialog->installEventFilter(this);
}

TAttention::~TAttention() {
    Dialogs().removeAll(this);
    if (setHook_) {
        qApp->removeEventFilter(this);
        Hooks().remove(class_);
    }
}

bool TAttention::AttentionEnabled() {
    return gAttentionEnabled;
}

void TAttention::SetAttentionEnabled(bool on) {
    gAttentionEnabled = on;
}

void TAttention::Released(Qt::MouseButton button, const QPoint& global, bool onOwnControl) {
    if (!dialog_) return;
    const bool active = QApplication::activeModalWidget() == dialog_.data();
    switch (
        Decide(gAttentionEnabled, active, button, onOwnControl, dialog_->frameGeometry(), global)) {
    case TDecision::Ignore:
        return;
    case TDecision::Raise:
        dialog_->raise();
        dialog_->activateWindow();
        return;
    case TDecision::Flash:
        dialog_->raise();
        dialog_->activateWindow();
        Flash();
        return;
    }
}

void TAttention::Flash() {
    alert_(dialog_);
    flashStart_ = true;
    if (closeButton_) cursorTo_.SetToControl(closeButton_);
    cursorTo_.SetEnabled(false);
    cursorTo_.SetEnabled(true);
}

bool TAttention::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dialog_ && event->type() == QEvent::Show && !shown_) {
        shown_ = true;
        cursorTo_.SetEnabled(true);
    }
    if (!setHook_) return false;
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonRelease && type != QEvent::NonClientAreaMouseButtonRelease)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    // A release nobody accepts travels on to the parents of the widget under
    // the pointer, through this filter each time: one look at it is enough.
    const TSeenRelease seen{mouse->timestamp(), mouse->globalPosition().toPoint(), mouse->button()};
    if (seen == lastSeen_ && seen.timestamp != 0) return false;
    lastSeen_ = seen;
    // The filter belongs to one class of dialog; it serves whichever dialog
    // of that class is the active modal one.
    for (TAttention* attention : Dialogs()) {
        if (attention->class_ != class_ || !attention->dialog_) continue;
        const bool own =
            type == QEvent::MouseButtonRelease && BelongsTo(widget, attention->dialog_.data());
        attention->Released(mouse->button(), mouse->globalPosition().toPoint(), own);
    }
    return false;
}

} // namespace dorvane
