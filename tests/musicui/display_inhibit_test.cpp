// The hold on the desktop's screen saver, over a private session bus
// (dbus-run-session): the desktop's services are stood in for by small
// objects of the test's own on a second connection, which record what they
// are asked. The inhibitor's calls are asynchronous, so the test's thread,
// which is also theirs, answers while the test waits.
#include "musicui/display_inhibit.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QtTest>

#include <cstdint>
#include <memory>

using namespace dorvane;

namespace {

constexpr int kWaitMs = 5000;

// org.freedesktop.ScreenSaver as a desktop session offers it.
class TFakeScreenSaver final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    QStringList calls;

public slots:
    uint Inhibit(const QString& application, const QString& reason) {
        calls << QStringLiteral("Inhibit %1 %2").arg(application, reason);
        return 41;
    }
    void UnInhibit(uint cookie) { calls << QStringLiteral("UnInhibit %1").arg(cookie); }
};

// The request object a portal answers Inhibit with.
class TFakeRequest final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Request")

public:
    explicit TFakeRequest(QStringList& calls) : calls_(calls) {}

public slots:
    void Close() { calls_ << QStringLiteral("Close"); }

private:
    QStringList& calls_;
};

// org.freedesktop.portal.Inhibit of the desktop portal.
class TFakePortal final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Inhibit")

public:
    explicit TFakePortal(QDBusConnection bus) : bus_(std::move(bus)) {}
    QStringList calls;

public slots:
    QDBusObjectPath Inhibit(const QString& window, uint flags, const QVariantMap& options) {
        ++requests_;
        const QString path =
            QStringLiteral("/org/freedesktop/portal/desktop/request/1/t%1").arg(requests_);
        calls << QStringLiteral("Inhibit '%1' %2 %3 -> %4")
                     .arg(window)
                     .arg(flags)
                     .arg(options.value(QStringLiteral("reason")).toString(), path);
        auto request = std::make_unique<TFakeRequest>(calls);
        bus_.registerObject(path, request.get(), QDBusConnection::ExportAllSlots);
        requestObjects_.push_back(std::move(request));
        return QDBusObjectPath(path);
    }

private:
    QDBusConnection bus_;
    int requests_ = 0;
    std::vector<std::unique_ptr<TFakeRequest>> requestObjects_;
};

// The desktop: a connection of its own on which the services are offered
// for as long as the value lives.
struct TDesktop {
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("desktop"));
    std::unique_ptr<TFakeScreenSaver> screenSaver;
    std::unique_ptr<TFakePortal> portal;

    TDesktop(bool withScreenSaver, bool withPortal) {
        Q_ASSERT(bus.isConnected());
        if (withScreenSaver) {
            screenSaver = std::make_unique<TFakeScreenSaver>();
            bus.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), screenSaver.get(),
                               QDBusConnection::ExportAllSlots);
            bus.registerService(QStringLiteral("org.freedesktop.ScreenSaver"));
        }
        if (withPortal) {
            portal = std::make_unique<TFakePortal>(bus);
            bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), portal.get(),
                               QDBusConnection::ExportAllSlots);
            bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
        }
    }
    ~TDesktop() {
        bus.unregisterService(QStringLiteral("org.freedesktop.ScreenSaver"));
        bus.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
        QDBusConnection::disconnectFromBus(QStringLiteral("desktop"));
    }
    QStringList ScreenSaverCalls() const {
        return screenSaver ? screenSaver->calls : QStringList();
    }
    QStringList PortalCalls() const { return portal ? portal->calls : QStringList(); }
};

// The calls have gone both ways once a round trip to the bus is over: a
// ping through the program's own connection comes back after them.
bool Settled() {
    QDBusMessage ping = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping"));
    QDBusPendingCall pending = QDBusConnection::sessionBus().asyncCall(ping);
    QDBusPendingCallWatcher watcher(pending);
    QSignalSpy finished(&watcher, &QDBusPendingCallWatcher::finished);
    return finished.wait(kWaitMs);
}

const QString kReason = QStringLiteral("Музыка на весь экран");

} // namespace

class TDisplayInhibitTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
        QCoreApplication::setApplicationName(QStringLiteral("dorvane"));
    }

    void ScreenSaverServiceIsUsedWhereItIs() {
        const TDesktop desktop(true, true);
        TDisplayInhibitor& inhibitor = TDisplayInhibitor::Instance();
        inhibitor.Hold();
        inhibitor.Hold(); // counted: one request
        QTRY_COMPARE_WITH_TIMEOUT(desktop.ScreenSaverCalls(),
                                  QStringList{QStringLiteral("Inhibit dorvane ") + kReason},
                                  kWaitMs);
        inhibitor.Release();
        QVERIFY(Settled());
        QCOMPARE(desktop.ScreenSaverCalls().size(), 1);
        inhibitor.Release();
        QTRY_COMPARE_WITH_TIMEOUT(desktop.ScreenSaverCalls().value(1),
                                  QStringLiteral("UnInhibit 41"), kWaitMs);
        QVERIFY(Settled());
        QVERIFY(desktop.PortalCalls().isEmpty());
    }

    void PortalStandsInWithoutTheScreenSaverService() {
        const TDesktop desktop(false, true);
        TDisplayInhibitor& inhibitor = TDisplayInhibitor::Instance();
        inhibitor.Hold();
        QTRY_COMPARE_WITH_TIMEOUT(desktop.PortalCalls().size(), 1, kWaitMs);
        const QString inhibit = desktop.PortalCalls().first();
        QVERIFY2(
            inhibit.startsWith(QStringLiteral("Inhibit '' 8 ") + kReason + QStringLiteral(" -> ")),
            qPrintable(inhibit));
        QVERIFY(inhibitor.Held());
        inhibitor.Release();
        QTRY_COMPARE_WITH_TIMEOUT(desktop.PortalCalls(),
                                  (QStringList{inhibit, QStringLiteral("Close")}), kWaitMs);

        // A release before the portal has answered: the request it answers
        // with is closed as soon as it comes.
        inhibitor.Hold();
        inhibitor.Release();
        QTRY_COMPARE_WITH_TIMEOUT(desktop.PortalCalls().size(), 4, kWaitMs);
        QVERIFY(desktop.PortalCalls()[2].endsWith(QStringLiteral("/t2")));
        QCOMPARE(desktop.PortalCalls()[3], QStringLiteral("Close"));
        QVERIFY(!inhibitor.Held());
    }

    void NeitherServiceMeansNothingHappens() {
        TDisplayInhibitor& inhibitor = TDisplayInhibitor::Instance();
        {
            const TDesktop desktop(false, false);
            inhibitor.Hold();
            QVERIFY(Settled());
            QVERIFY(Settled());
            QVERIFY(inhibitor.Held());
            inhibitor.Release();
            QVERIFY(!inhibitor.Held());
        }
        // The next hold asks again, and finds the desktop that came meanwhile.
        const TDesktop later(false, true);
        inhibitor.Hold();
        QTRY_COMPARE_WITH_TIMEOUT(later.PortalCalls().size(), 1, kWaitMs);
        inhibitor.Release();
        QTRY_COMPARE_WITH_TIMEOUT(later.PortalCalls().size(), 2, kWaitMs);
    }
};

QTEST_GUILESS_MAIN(TDisplayInhibitTest)
#include "display_inhibit_test.moc"
