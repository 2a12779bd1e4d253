#include "musicui/display_inhibit.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QPointer>
#include <QVariantMap>

#include <functional>

namespace dorvane {

namespace {

const QString kReason = QStringLiteral("Музыка на весь экран");
// org.freedesktop.portal.Inhibit's flag for "the session is not idle".
constexpr std::uint32_t kPortalIdle = 8;

QDBusMessage ScreenSaverCall(const QString& method) {
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ScreenSaver"),
                                          QStringLiteral("/org/freedesktop/ScreenSaver"),
                                          QStringLiteral("org.freedesktop.ScreenSaver"), method);
}

QString PortalService() {
    return QStringLiteral("org.freedesktop.portal.Desktop");
}

// Sends the call and hands the finished reply to done, on this thread.
void CallAsync(QObject* owner, const QDBusMessage& call,
               std::function<void(QDBusPendingCallWatcher&)> done) {
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), owner);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, owner,
                     [done = std::move(done)](QDBusPendingCallWatcher* finished) {
                         finished->deleteLater();
                         done(*finished);
                     });
}

} // namespace

TDisplayInhibitor& TDisplayInhibitor::Instance() {
    static QPointer<TDisplayInhibitor> instance;
    if (!instance) instance = new TDisplayInhibitor(QCoreApplication::instance());
    return *instance;
}

TDisplayInhibitor::TDisplayInhibitor(QObject* parent) : QObject(parent) {
    lapse_.setSingleShot(true);
    connect(&lapse_, &QTimer::timeout, this, [this] { Release(); });
}

void TDisplayInhibitor::Hold() {
    if (++holds_ == 1) Ask();
}

void TDisplayInhibitor::Release() {
    if (holds_ == 0) return;
    if (--holds_ == 0) GiveBack();
}

void TDisplayInhibitor::HoldFor(int ms) {
    if (!lapse_.isActive()) Hold();
    lapse_.start(ms);
}

void TDisplayInhibitor::Ask() {
    // An answer still on its way is used when it comes.
    if (asking_ || cookie_ || request_) return;
    if (!QDBusConnection::sessionBus().isConnected()) return;
    QDBusMessage call = ScreenSaverCall(QStringLiteral("Inhibit"));
    call << QCoreApplication::applicationName() << kReason;
    asking_ = true;
    CallAsync(this, call, [this](QDBusPendingCallWatcher& done) {
        const QDBusPendingReply<std::uint32_t> reply = done;
        if (reply.isError()) {
            AskPortal();
            return;
        }
        cookie_ = reply.value();
        Answered();
    });
}

void TDisplayInhibitor::AskPortal() {
    QDBusMessage call = QDBusMessage::createMethodCall(
        PortalService(), QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Inhibit"), QStringLiteral("Inhibit"));
    // No window handle: the portal then asks for no window of ours.
    call << QString() << kPortalIdle << QVariantMap{{QStringLiteral("reason"), kReason}};
    CallAsync(this, call, [this](QDBusPendingCallWatcher& done) {
        const QDBusPendingReply<QDBusObjectPath> reply = done;
        if (!reply.isError()) request_ = reply.value();
        Answered();
    });
}

void TDisplayInhibitor::Answered() {
    asking_ = false;
    if (holds_ == 0) GiveBack();
}

void TDisplayInhibitor::GiveBack() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (cookie_) {
        QDBusMessage call = ScreenSaverCall(QStringLiteral("UnInhibit"));
        call << *cookie_;
        cookie_.reset();
        if (bus.isConnected()) bus.asyncCall(call);
    }
    if (request_) {
        const QDBusMessage call = QDBusMessage::createMethodCall(
            PortalService(), request_->path(), QStringLiteral("org.freedesktop.portal.Request"),
            QStringLiteral("Close"));
        request_.reset();
        if (bus.isConnected()) bus.asyncCall(call);
    }
}

} // namespace dorvane
