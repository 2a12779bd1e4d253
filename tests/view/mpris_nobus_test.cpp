// The game window with its media controls where no session bus answers
// (DBUS_SESSION_BUS_ADDRESS points nowhere): it comes up, its music works,
// and it says nothing about the bus.
#include "view/mainform.h"
#include "view/mpris_service.h"

#include <QAction>
#include <QDBusConnection>
#include <QRegularExpression>
#include <QTest>

namespace dorvane::test {

class TMprisNoBusTest : public QObject {
    Q_OBJECT

private slots:
    void theWindowComesUpAndPlaysWithoutTheBus() {
        QVERIFY(!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"));
        // Not a word about the bus, from the program or from QtDBus.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("(?i)d-?bus")));
        TScriptedRandom random;
        TMusicParts music;
        music.mediaControls = true;
        TGameSettings settings = DefaultGameSettings();
        settings.Game.Regim = 2;
        TMainForm form(random, settings, nullptr, music);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(!QDBusConnection::sessionBus().isConnected());
        QVERIFY(form.MediaControls());
        QCOMPARE(form.MediaControls()->Name(), TMprisService::TName::NoBus);
        // The switches still change and the service still follows them.
        form.Commands().Action(TCommand::MusicPlay)->trigger();
        QVERIFY(!form.Music().PlayOn());
        QCOMPARE(form.MediaControls()->Player().PlaybackStatus(), QStringLiteral("Stopped"));
        form.Commands().Action(TCommand::MusicRandom)->trigger();
        QCOMPARE(form.MediaControls()->Player().Shuffle(), form.Music().RandomOn());
    }
};

} // namespace dorvane::test

QTEST_MAIN(dorvane::test::TMprisNoBusTest)
#include "mpris_nobus_test.moc"
