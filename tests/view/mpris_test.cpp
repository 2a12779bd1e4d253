// The game window's music player on the session bus, driven as the desktop's
// media controls drive it: through a second connection of the test's own,
// with asynchronous calls only, so that the window's thread (which is the
// test's) answers while the test waits. Run under dbus-run-session: the bus
// is a private one. The engine is stepped by hand over a silent square-wave
// stream, and the mixer is a fake one that "the system" can move.
#include "view/mainform.h"
#include "view/mpris_service.h"

#include "support/fake_mixer.h"
#include "support/square_stream.h"
#include "support/tag_builder.h"
#include "support/temp_home.h"

#include <QAction>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTest>
#include <QUrl>

#include <limits>
#include <optional>
#include <utility>

namespace dorvane::test {

namespace {

const QString kService = QStringLiteral("org.mpris.MediaPlayer2.dorvane");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int kWaitMs = 5000;

// A map as it comes over the bus: nested inside a variant QtDBus leaves it
// as its marshalled form.
QVariantMap AsMap(const QVariant& value) {
    if (value.canConvert<QDBusArgument>())
        return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
    return value.toMap();
}

// "title|artist|file name" of a track's metadata.
QString Described(const QVariantMap& metadata) {
    return metadata.value(QStringLiteral("xesam:title")).toString() + u'|' +
           metadata.value(QStringLiteral("xesam:artist")).toStringList().join(u',') + u'|' +
           QUrl(metadata.value(QStringLiteral("xesam:url")).toString()).fileName();
}

QVariant Plain(const QVariant& value) {
    if (value.canConvert<QDBusVariant>()) return value.value<QDBusVariant>().variant();
    return value;
}

} // namespace

// What the desktop's side hears: the player's property changes and seeks.
class TBusListener final : public QObject {
    Q_OBJECT

public:
    explicit TBusListener(QDBusConnection bus) : bus_(bus) {
        bus_.connect(QString(), kPath, kProperties, QStringLiteral("PropertiesChanged"), this,
                     SLOT(PropertiesChanged(QString, QVariantMap, QStringList)));
        bus_.connect(QString(), kPath, kPlayer, QStringLiteral("Seeked"), this,
                     SLOT(Seeked(qlonglong)));
    }

    QList<QVariantMap> changes; // of the player interface, in their order
    QList<qlonglong> seeks;

    // The changes since the last call, then forgotten.
    QList<QVariantMap> Take() { return std::exchange(changes, {}); }
    // Waits for a change that names property; the last such change.
    std::optional<QVariantMap> WaitFor(const QString& property) {
        const auto named = [&] {
            for (auto it = changes.crbegin(); it != changes.crend(); ++it)
                if (it->contains(property)) return std::optional<QVariantMap>(*it);
            return std::optional<QVariantMap>();
        };
        return QTest::qWaitFor([&] { return named().has_value(); }, kWaitMs) ? named()
                                                                             : std::nullopt;
    }

public slots:
    void PropertiesChanged(const QString& interface, const QVariantMap& changed,
                           const QStringList&) {
        if (interface == kPlayer) changes << changed;
    }
    void Seeked(qlonglong position) { seeks << position; }

private:
    QDBusConnection bus_;
};

class TMprisTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TTempHome> home_;
    QString music_; // a.mp3 (tagged), b.flac
    std::int64_t now_ = 1000;
    TScriptedRandom random_;
    TFakeMixer* mixer_ = nullptr;
    std::unique_ptr<TMainForm> form_;
    std::unique_ptr<QDBusConnection> client_;
    std::unique_ptr<TBusListener> listener_;

    void MakeWindow() {
        TMusicParts music;
        music.run = TEngineRun::Manual;
        music.mediaControls = true;
        music.backends = [this] {
            TPlaybackBackends backends;
            backends.decoder = std::make_unique<TSquareDecoder>();
            backends.output = std::make_unique<TStandingOutput>();
            auto mixer = std::make_unique<TFakeMixer>(50);
            mixer_ = mixer.get();
            backends.mixer = std::move(mixer);
            backends.clock = [this] { return now_; };
            return backends;
        };
        TGameSettings settings = DefaultGameSettings();
        settings.Game.Regim = 2; // two players: the computer never thinks
        settings.Look.SoundBegin = settings.Look.SoundMove = settings.Look.SoundEnd = false;
        form_ = std::make_unique<TMainForm>(random_, settings, nullptr, music);
        form_->show();
    }

    // The worker's passes for what is asked of it and a few more (a track
    // just opened plays and learns its length), then one tick.
    void Tick() {
        TMusicEngine& engine = form_->Music();
        for (int i = 0; i < 8 && (i < 3 || engine.State().EngineCommand() != TEngineCommand::None);
             ++i) {
            now_ += 10;
            engine.Worker().Pass();
        }
        engine.TimerTimeTimer();
    }

    QDBusMessage Await(const QDBusMessage& message) {
        QDBusPendingCall call = client_->asyncCall(message);
        return QTest::qWaitFor([&] { return call.isFinished(); }, kWaitMs) ? call.reply()
                                                                           : QDBusMessage();
    }
    QDBusMessage Call(const QString& interface, const QString& method,
                      const QVariantList& arguments = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, interface, method);
        message.setArguments(arguments);
        return Await(message);
    }
    // An answer that is not an error.
    static bool Answered(const QDBusMessage& reply) {
        return reply.type() == QDBusMessage::ReplyMessage;
    }
    QVariant Get(const QString& interface, const QString& property) {
        const QDBusMessage reply = Call(kProperties, QStringLiteral("Get"), {interface, property});
        return Answered(reply) && !reply.arguments().isEmpty() ? Plain(reply.arguments().first())
                                                               : QVariant();
    }
    bool Set(const QString& property, const QVariant& value) {
        return Answered(Call(kProperties, QStringLiteral("Set"),
                             {kPlayer, property, QVariant::fromValue(QDBusVariant(value))}));
    }
    bool NameOwned() {
        const QDBusMessage reply =
            Await(QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                 QStringLiteral("/org/freedesktop/DBus"),
                                                 QStringLiteral("org.freedesktop.DBus"),
                                                 QStringLiteral("NameHasOwner"))
                  << kService);
        return Answered(reply) && reply.arguments().value(0).toBool();
    }

    // The window on the bus with both tracks loaded and the first one
    // started, in list order.
    void StartPlaying() {
        MakeWindow();
        QVERIFY(form_->MediaControls());
        QTRY_COMPARE_WITH_TIMEOUT(form_->MediaControls()->Name(), TMprisService::TName::Owned,
                                  kWaitMs);
        QVERIFY(Set(QStringLiteral("Shuffle"), false));
        QVERIFY(!form_->Commands().Action(TCommand::MusicRandom)->isChecked());
        form_->OpenFile(music_);
        Tick(); // serves the folder's load
        QTRY_COMPARE_WITH_TIMEOUT(form_->Music().Playlist().Count(), 2, kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!form_->LongOperations().Running(), kWaitMs);
        listener_->Take();
        Tick();
        Tick(); // the worker has opened it: its length is known
        QCOMPARE(Get(kPlayer, QStringLiteral("PlaybackStatus")).toString(),
                 QStringLiteral("Playing"));
    }

private slots:
    void initTestCase() {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
    }
    void init() {
        home_ = std::make_unique<TTempHome>();
        music_ = home_->FilePath(QStringLiteral("music"));
        QVERIFY(QDir().mkpath(music_));
        // The square wave plays whatever the files hold; the worker reads the
        // tags of the .mp3 when it opens it.
        const Bytes tagged = Cat(
            {Id3Tag(Cat({TextFrame("TIT2", "Evening"), TextFrame("TPE1", "Kvo")})), Mp3Frames(4)});
        for (const auto& [name, bytes] :
             {std::pair{"a.mp3", tagged}, std::pair{"b.flac", Of("square")}}) {
            QFile file(QDir(music_).filePath(QString::fromUtf8(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())),
                     qint64(bytes.size()));
        }
        client_ = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("client")));
        QVERIFY(client_->isConnected());
        listener_ = std::make_unique<TBusListener>(*client_);
    }
    void cleanup() {
        form_.reset();
        listener_.reset();
        client_.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        home_.reset();
    }

    void transportAndVolumeReachTheBusAndBack() {
        StartPlaying();
        // The tags' title and artist, or the playlist's title.
        const QStringList tracks{QStringLiteral("Evening|Kvo|a.mp3"), QStringLiteral("b||b.flac")};
        const QVariantMap first = AsMap(Get(kPlayer, QStringLiteral("Metadata")));
        const QString firstTrack = Described(first);
        QVERIFY2(tracks.contains(firstTrack), qPrintable(firstTrack));
        QCOMPARE(first.value(QStringLiteral("mpris:length")).toLongLong(), 60'000'000);
        const QString firstId =
            first.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path();
        QVERIFY(firstId.startsWith(QStringLiteral("/org/dorvane/track/")));

        // Next: the other track, announced as it starts.
        listener_->Take();
        QVERIFY(Answered(Call(kPlayer, QStringLiteral("Next"))));
        Tick();
        const std::optional<QVariantMap> next = listener_->WaitFor(QStringLiteral("Metadata"));
        QVERIFY(next);
        const QVariantMap started = AsMap(next->value(QStringLiteral("Metadata")));
        QVERIFY(started.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path() !=
                firstId);
        QVERIFY(QUrl(started.value(QStringLiteral("xesam:url")).toString()).fileName() !=
                QUrl(first.value(QStringLiteral("xesam:url")).toString()).fileName());
        Tick(); // the worker has read its tags
        const QString secondTrack = Described(AsMap(Get(kPlayer, QStringLiteral("Metadata"))));
        QVERIFY2(secondTrack != firstTrack && tracks.contains(secondTrack),
                 qPrintable(secondTrack));

        // PlayPause: the status and the "Пауза" mark, each change announced
        // alone.
        QAction* pause = form_->Commands().Action(TCommand::MusicPause);
        for (const auto& [status, marked] : {std::pair{QStringLiteral("Paused"), true},
                                             std::pair{QStringLiteral("Playing"), false}}) {
            listener_->Take();
            QVERIFY(Answered(Call(kPlayer, QStringLiteral("PlayPause"))));
            const std::optional<QVariantMap> change =
                listener_->WaitFor(QStringLiteral("PlaybackStatus"));
            QVERIFY(change);
            QCOMPARE(change->keys(), QStringList{QStringLiteral("PlaybackStatus")});
            QCOMPARE(change->value(QStringLiteral("PlaybackStatus")).toString(), status);
            QCOMPARE(pause->isChecked(), marked);
            QCOMPARE(form_->Music().PauseOn(), marked);
            QCOMPARE(Get(kPlayer, QStringLiteral("PlaybackStatus")).toString(), status);
        }

        // The volume follows the mixer, whoever moves it.
        listener_->Take();
        mixer_->MoveFromOutside(80);
        std::optional<QVariantMap> volume = listener_->WaitFor(QStringLiteral("Volume"));
        QVERIFY(volume);
        QCOMPARE(volume->keys(), QStringList{QStringLiteral("Volume")});
        QCOMPARE(volume->value(QStringLiteral("Volume")).toDouble(), 0.8);
        QCOMPARE(Get(kPlayer, QStringLiteral("Volume")).toDouble(), 0.8);
        listener_->Take();
        QVERIFY(Set(QStringLiteral("Volume"), 0.25));
        QCOMPARE(mixer_->Volume(), 25);
        volume = listener_->WaitFor(QStringLiteral("Volume"));
        QVERIFY(volume);
        QCOMPARE(volume->value(QStringLiteral("Volume")).toDouble(), 0.25);
        // Out of range is the nearest end.
        QVERIFY(Set(QStringLiteral("Volume"), 7.0));
        QCOMPARE(mixer_->Volume(), 100);

        // Stop is music off; Play brings it back.
        QVERIFY(Answered(Call(kPlayer, QStringLiteral("Stop"))));
        QVERIFY(!form_->Commands().Action(TCommand::MusicPlay)->isChecked());
        QCOMPARE(Get(kPlayer, QStringLiteral("PlaybackStatus")).toString(),
                 QStringLiteral("Stopped"));
        QVERIFY(AsMap(Get(kPlayer, QStringLiteral("Metadata"))).isEmpty());
        QVERIFY(Answered(Call(kPlayer, QStringLiteral("Play"))));
        QVERIFY(form_->Commands().Action(TCommand::MusicPlay)->isChecked());
        Tick();
        QCOMPARE(Get(kPlayer, QStringLiteral("PlaybackStatus")).toString(),
                 QStringLiteral("Playing"));
    }

    void seeksLandInTheCurrentTrackAndAreAnnounced() {
        StartPlaying();
        const QString id = AsMap(Get(kPlayer, QStringLiteral("Metadata")))
                               .value(QStringLiteral("mpris:trackid"))
                               .value<QDBusObjectPath>()
                               .path();
        TEngineState& state = form_->Music().State();
        const int firstIndex = form_->Music().Playing().index;

        QVERIFY(Answered(Call(kPlayer, QStringLiteral("Seek"), {qlonglong(5'000'000)})));
        QCOMPARE(state.SeekTarget.load(), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(listener_->seeks, QList<qlonglong>{5'000'000}, kWaitMs);
        // Before the start is the start, however far.
        QVERIFY(Answered(
            Call(kPlayer, QStringLiteral("Seek"), {std::numeric_limits<qlonglong>::min()})));
        QCOMPARE(state.SeekTarget.load(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(listener_->seeks, (QList<qlonglong>{5'000'000, 0}), kWaitMs);

        // A position for a track that is no longer the current one is late.
        QVERIFY(Answered(
            Call(kPlayer, QStringLiteral("SetPosition"),
                 {QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/dorvane/track/999"))),
                  qlonglong(2'000'000)})));
        QVERIFY(Answered(Call(kPlayer, QStringLiteral("SetPosition"),
                              {QVariant::fromValue(QDBusObjectPath(id)), qlonglong(2'000'000)})));
        QCOMPARE(state.SeekTarget.load(), 2000);
        QTRY_COMPARE_WITH_TIMEOUT(listener_->seeks, (QList<qlonglong>{5'000'000, 0, 2'000'000}),
                                  kWaitMs);

        // Past the end is the next track, however far.
        QVERIFY(Answered(
            Call(kPlayer, QStringLiteral("Seek"), {std::numeric_limits<qlonglong>::max()})));
        Tick();
        QVERIFY(form_->Music().Playing().index != firstIndex);
    }

    void theRootNamesTheProgramRaisesItsWindowAndQuits() {
        MakeWindow();
        QTRY_COMPARE_WITH_TIMEOUT(form_->MediaControls()->Name(), TMprisService::TName::Owned,
                                  kWaitMs);
        QCOMPARE(Get(kRoot, QStringLiteral("Identity")).toString(), QStringLiteral("Dorvane"));
        // The launcher the package installs.
        const QString entry = Get(kRoot, QStringLiteral("DesktopEntry")).toString();
        QVERIFY2(QFile::exists(QStringLiteral(DORVANE_DIST_DIR "/") + entry +
                               QStringLiteral(".desktop")),
                 qPrintable(entry));
        QCOMPARE(Get(kRoot, QStringLiteral("CanQuit")).toBool(), true);
        QCOMPARE(Get(kRoot, QStringLiteral("HasTrackList")).toBool(), false);
        const QStringList types = Get(kRoot, QStringLiteral("SupportedMimeTypes")).toStringList();
        QVERIFY2(types.contains(QStringLiteral("audio/mpeg")), qPrintable(types.join(u' ')));
        QVERIFY(types.contains(QStringLiteral("audio/flac")));

        // OpenUri takes local music, as a drop on the window does.
        QVERIFY(!Answered(Call(kPlayer, QStringLiteral("OpenUri"),
                               {QStringLiteral("http://example.org/a.mp3")})));
        QVERIFY(!Answered(
            Call(kPlayer, QStringLiteral("OpenUri"),
                 {QUrl::fromLocalFile(home_->FilePath(QStringLiteral("game.txt"))).toString()})));
        QVERIFY(Answered(
            Call(kPlayer, QStringLiteral("OpenUri"), {QUrl::fromLocalFile(music_).toString()})));
        Tick();
        QTRY_COMPARE_WITH_TIMEOUT(form_->Music().Playlist().Count(), 2, kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!form_->LongOperations().Running(), kWaitMs);

        form_->showMinimized();
        QTRY_VERIFY(form_->isMinimized());
        QVERIFY(Answered(Call(kRoot, QStringLiteral("Raise"))));
        QTRY_VERIFY_WITH_TIMEOUT(!form_->isMinimized() && form_->isVisible(), kWaitMs);

        // Quit is "Закрыть": the window closes and the name is given back.
        QVERIFY(Answered(Call(kRoot, QStringLiteral("Quit"))));
        QTRY_VERIFY_WITH_TIMEOUT(!form_->isVisible(), kWaitMs);
        QVERIFY(!form_->MediaControls());
        QTRY_VERIFY_WITH_TIMEOUT(!NameOwned(), kWaitMs);
    }

    void aSecondCopyCarriesOnWithoutTheName() {
        // The test's connection plays the copy that came first.
        QDBusMessage request = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("RequestName"));
        request << kService << 4u;
        QCOMPARE(Await(request).arguments().value(0).toUInt(), 1u);
        MakeWindow();
        QTRY_COMPARE_WITH_TIMEOUT(form_->MediaControls()->Name(), TMprisService::TName::Taken,
                                  kWaitMs);
        form_->Commands().Action(TCommand::MusicRandom)->trigger();
        QVERIFY(!form_->Music().RandomOn());
        // Nothing of this window was announced: a ping of its connection is
        // answered after anything it sent before.
        const QDBusMessage ping = QDBusMessage::createMethodCall(
            QDBusConnection::sessionBus().baseService(), QStringLiteral("/"),
            QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping"));
        QVERIFY(Answered(Await(ping)));
        QVERIFY(listener_->changes.isEmpty());
        form_.reset();
        QVERIFY(NameOwned()); // still the first copy's
    }
};

} // namespace dorvane::test

QTEST_MAIN(dorvane::test::TMprisTest)
#include "mpris_test.moc"
