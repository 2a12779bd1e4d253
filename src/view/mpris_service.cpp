#include "view/mpris_service.h"

#include "view/mpris_root.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace dorvane {

namespace {

const QString kServiceName = QStringLiteral("org.mpris.MediaPlayer2.dorvane");
const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");

QDBusMessage BusCall(const QString& method) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), method);
    call << kServiceName;
    return call;
}

// RequestName's flag and answers, as the message bus numbers them.
constexpr uint kDoNotQueue = 4;
constexpr uint kPrimaryOwner = 1;
constexpr uint kAlreadyOwner = 4;

} // namespace

TMprisService::TMprisService(const TMprisParts& parts, const QDBusConnection& bus) : bus_(bus) {
    root_ = new TMprisRoot(this, parts);
    player_ = new TMprisPlayer(this, parts, bus_);
    told_ = player_->ChangingProperties();
    if (!bus_.isConnected() || !bus_.registerObject(kObjectPath, this)) return;
    AskForName();
}

TMprisService::~TMprisService() {
    if (name_ == TName::NoBus || name_ == TName::Taken) return;
    bus_.unregisterObject(kObjectPath);
    // Also while the answer is on its way: the bus handles the two in order.
    bus_.send(BusCall(QStringLiteral("ReleaseName")));
}

void TMprisService::AskForName() {
    name_ = TName::Asking;
    QDBusMessage call = BusCall(QStringLiteral("RequestName"));
    call << kDoNotQueue;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(
        watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* done) {
            done->deleteLater();
            const QDBusPendingReply<uint> reply = *done;
            const bool owned = !reply.isError() &&
                               (reply.value() == kPrimaryOwner || reply.value() == kAlreadyOwner);
            name_ = owned ? TName::Owned : TName::Taken;
            // Another copy is the desktop's player: this one stays off the bus.
            if (!owned) bus_.unregisterObject(kObjectPath);
            emit NameAnswered();
        });
}

void TMprisService::TrackStarted() {
    player_->TrackStarted();
    Refresh();
}

void TMprisService::Refresh() {
    const QVariantMap now = player_->ChangingProperties();
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it)
        if (told_.value(it.key()) != it.value()) changed.insert(it.key(), it.value());
    told_ = now;
    if (changed.isEmpty() || name_ == TName::NoBus || name_ == TName::Taken) return;
    QDBusMessage signal =
        QDBusMessage::createSignal(kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << QStringLiteral("org.mpris.MediaPlayer2.Player") << changed << QStringList();
    bus_.send(signal);
}

} // namespace dorvane
