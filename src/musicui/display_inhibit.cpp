#include "musicui/display_inhibit.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QPointer>

namespace dorvane {

namespace {

QDBusMessage Call(const QString& method) {
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ScreenSaver"),
                                          QStringLiteral("/org/freedesktop/ScreenSaver"),
                                          QStringLiteral("org.freedesktop.ScreenSaver"), method);
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
    if (asking_ || cookie_) return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    QDBusMessage call = Call(QStringLiteral("Inhibit"));
    call << QCoreApplication::applicationName() << QStringLiteral("Музыка на весь экран");
    asking_ = true;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* done) {
                done->deleteLater();
                asking_ = false;
                QDBusPendingReply<std::uint32_t> reply = *done;
                if (reply.isError()) return;
                cookie_ = reply.value();
                if (holds_ == 0) GiveBack();
            });
}

void TDisplayInhibitor::GiveBack() {
    if (!cookie_) return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusMessage call = Call(QStringLiteral("UnInhibit"));
    call << *cookie_;
    cookie_.reset();
    if (bus.isConnected()) bus.asyncCall(call);
}

} // namespace dorvane
