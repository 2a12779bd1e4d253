// The visualiser's window and the screen saver, offscreen (Qt Test).
#include "musicui/scopeform.h"
#include "musicui/serverform.h"

#include "music/music_engine.h"

#include "support/map_store.h"
#include "support/quiet_engine_host.h"
#include "support/square_stream.h"

#include <QMenu>
#include <QPointer>
#include <QtTest>

using namespace dorvane;
using dorvane::test::TMapStore;

namespace {

FList Entry(const QString& title) {
    FList entry;
    entry.S1 = title;
    entry.S2 = QStringLiteral("/nowhere/") + title + QStringLiteral(".mp3");
    entry.Ext = QStringLiteral(".mp3");
    return entry;
}

void MoveMouse(QWidget* widget, QPoint global) {
    QMouseEvent move(QEvent::MouseMove, widget->mapFromGlobal(global), global, Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

class TScopeFormTest : public QObject {
    Q_OBJECT

private slots:
    void ScreenSaverStaysForAJitterAndClosesOnAKey() {
        QPointer<TServerForm> saver = OpenScreenSaver(nullptr, false);
        QVERIFY(saver);
        QVERIFY(ScreenSaverRunning());
        QVERIFY(!OpenScreenSaver(nullptr, false)); // one at a time
        const QPoint start = QCursor::pos();
        // Within the first second even a long way does not count.
        MoveMouse(saver, start + QPoint(200, 0));
        QVERIFY(saver);
        saver->SecondTick(); // records the pointer where it is
        const QPoint at = QCursor::pos();
        for (QPoint jitter : {QPoint(9, 0), QPoint(-9, 9), QPoint(0, -9), QPoint(9, 9)}) {
            MoveMouse(saver, at + jitter);
            QVERIFY(saver && saver->isVisible());
        }
        QWheelEvent wheel(QPointF(5, 5), QPointF(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(saver, &wheel);
        QVERIFY(saver && saver->isVisible());
        QTest::keyClick(saver, Qt::Key_Shift);
        QTRY_VERIFY(!saver);
        QVERIFY(!ScreenSaverRunning());
    }

    void ScreenSaverClosesOnAMoveOfTenPixels() {
        // A window of the program that stays on top leaves the top layer
        // while the saver runs alone, and comes back after.
        QWidget onTop(nullptr, Qt::Window | Qt::WindowStaysOnTopHint);
        onTop.show();
        QPointer<TServerForm> saver = OpenScreenSaver(nullptr, false);
        QVERIFY(saver);
        QVERIFY(!onTop.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        saver->SecondTick();
        MoveMouse(saver, QCursor::pos() + QPoint(0, 10));
        QTRY_VERIFY(!saver);
        QVERIFY(onTop.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    void ScreenSaverBoxLines() {
        QDateTime now(QDate(2026, 12, 10), QTime(21, 0, 0));
        auto* saver = new TServerForm([&now] { return now; });
        now = now.addSecs(90061); // one day, one hour, one minute, one second
        saver->SecondTick();
        const QStringList lines = saver->BoxLines();
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QStringLiteral("Справка"));
        QCOMPARE(lines[1], QStringLiteral("Сейчас: 11.12.2026 22:01:01"));
        QVERIFY(lines[2].startsWith(QStringLiteral("OC работает: ")));
        QCOMPARE(lines[3], QStringLiteral("Хранитель работает: 1 01:01:01"));
        // After ten seconds the box moves on and the count starts again.
        for (int i = 0; i < 10; ++i)
            saver->SecondTick();
        QCOMPARE(saver->ServerTick(), 1);
        delete saver;
    }

    void VisualiserWithTheSaverIsPutBackAndClosedWhenOpenedForIt() {
        TMapStore store;
        QPointer<TScopeForm> scope = new TScopeForm({nullptr, &store, {}, {}, {}});
        scope->move(40, 30);
        QPointer<TServerForm> saver = OpenScreenSaver(scope, true);
        QVERIFY(saver && scope->isVisible());
        QVERIFY(scope->windowFlags() & Qt::FramelessWindowHint);
        QTest::mouseClick(saver, Qt::LeftButton);
        QTRY_VERIFY(!saver);
        QTRY_VERIFY(!scope);
        // Its own place, not the one above the saver, was written.
        QCOMPARE(store.values[QStringLiteral("ScopeLeft")], QStringLiteral("40"));
        QCOMPARE(store.values[QStringLiteral("ScopeTop")], QStringLiteral("30"));
    }

    void FramesComeFromFreshSnapshotsAndTheBannerFollowsTheOrder() {
        test::TQuietHost host;
        TPlaybackBackends backends;
        backends.decoder = std::make_unique<test::TSquareDecoder>();
        backends.output = std::make_unique<test::TStandingOutput>();
        std::int64_t now = 1000;
        backends.clock = [&now] { return now; };
        TMusicStart start;
        start.randomOn = false;
        TMusicEngine engine(host, std::move(backends), start);
        engine.Start(TEngineRun::Manual);
        engine.Playlist().Append(Entry(QStringLiteral("a")));
        engine.Playlist().Append(Entry(QStringLiteral("b")));
        auto play = [&] {
            engine.TimerTimeTimer();
            for (int i = 0; i < 8; ++i) {
                now += 10;
                engine.Worker().Pass();
            }
        };
        auto scope = std::make_unique<TScopeForm>(TScopeFormParts{&engine, nullptr, {}, {}, {}});
        scope->setAttribute(Qt::WA_DeleteOnClose, false);
        scope->SetStyle(0);
        scope->show();
        engine.PlayChosen(0);
        play();
        QVERIFY(engine.SnapshotFresh(TSnapshotReader::Visualiser));
        scope->FrameTick();
        QVERIFY(!engine.SnapshotFresh(TSnapshotReader::Visualiser));
        const TTitleBanner& banner = scope->Picture().Banner();
        QCOMPARE(scope->BannerText(), engine.TrackCaption());
        auto justStarted = [&] {
            return banner.Visible() && banner.Position() == (banner.Direction() == 0 ? 638 : 1);
        };
        QVERIFY(justStarted());
        // No fresh snapshot, no frame.
        scope->FrameTick();
        QVERIFY(justStarted());
        play();
        scope->FrameTick();
        QVERIFY(!justStarted());
        // One sample a column, the left channel at full scale: the line
        // jumps between 144 - 255 / 2 and 144 from column to column, so
        // between columns 4 and 5 every row in between is lit once.
        const QImage& picture = scope->Picture().Picture();
        const QRgb green = qRgb(0, 0xFF, 0);
        for (int y = 17; y < 144; ++y)
            QVERIFY2(picture.pixel(4, y) == green || picture.pixel(5, y) == green,
                     qPrintable(QString::number(y)));
        QCOMPARE(picture.pixel(5, 10), qRgb(0, 0, 0));
        engine.Next();
        play();
        scope->FrameTick();
        QCOMPARE(engine.Playlist().OrderPosition(), 1);
        QCOMPARE(scope->BannerText(), engine.TrackCaption());
        QVERIFY(justStarted());
        engine.Shutdown();
    }

    void WithoutAWaveEveryStyleShowsItsFlatPicture_data() {
        QTest::addColumn<int>("style");
        for (int style = 0; style < kScopeStyles; ++style)
            QTest::newRow(qPrintable(ScopeCaption(style))) << style;
    }
    void WithoutAWaveEveryStyleShowsItsFlatPicture() {
        // No stream path at all, as while a MIDI track plays on the device.
        QFETCH(int, style);
        test::TQuietHost host;
        TMusicEngine engine(host, TPlaybackBackends{}, TMusicStart{});
        engine.Start(TEngineRun::Manual);
        QVERIFY(!engine.HasWave());
        TScopeForm scope(TScopeFormParts{&engine, nullptr, {}, {}, {}});
        scope.SetStyle(style);
        scope.show();
        scope.FrameTick();
        // A frame was drawn: the banner has started.
        QVERIFY(scope.Picture().Banner().Visible());
        if (style != 0) return engine.Shutdown();
        const QImage& picture = scope.Picture().Picture();
        const auto lit = [&picture] {
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x)
                    if ((picture.pixel(x, y) & 0xFFFFFFu) != 0) return true;
            return false;
        };
        // The grid and the two flat lines of silence.
        const QRgb green = qRgb(0, 0xFF, 0);
        for (int x : {5, 320, 630}) {
            QCOMPARE(picture.pixel(x, 80), green);
            QCOMPARE(picture.pixel(x, 240), green);
        }
        // The frames keep the stream's pace, not one every 10 ms tick.
        scope.Picture().Clear();
        scope.FrameTick();
        QVERIFY(!lit());
        QTRY_VERIFY((scope.FrameTick(), lit()));
        engine.Shutdown();
    }

    void StyleSettingCaptionAndFullScreen() {
        TMapStore store;
        store.values[QStringLiteral("ScopeStyle")] = QStringLiteral("77");
        auto* scope = new TScopeForm({nullptr, &store, {}, {}, {}});
        QCOMPARE(scope->Style(), 15);
        QCOMPARE(scope->windowTitle(), QStringLiteral("Осциллограф фигурный  «Звезда»"));
        scope->SetStyle(0);
        QCOMPARE(scope->windowTitle(), QStringLiteral("Осциллограф линейный  технический"));
        scope->show();
        QTest::mouseDClick(scope, Qt::LeftButton);
        QVERIFY(scope->FullScreen());
        QTest::keyClick(scope, Qt::Key_Slash, Qt::ControlModifier);
        QVERIFY(scope->InfoLinesShown());
        QTest::keyClick(scope, Qt::Key_Escape);
        QVERIFY(!scope->FullScreen());
        QCOMPARE(scope->size(), QSize(640, 320));
        QTest::keyClick(scope, Qt::Key_A, Qt::ControlModifier);
        QVERIFY(scope->BannerText().startsWith(QStringLiteral("Dorvane: реверси")));
        QVERIFY(scope->Picture().Banner().Visible());
        delete scope;
        QCOMPARE(store.values[QStringLiteral("ScopeStyle")], QStringLiteral("0"));
    }
};

QTEST_MAIN(TScopeFormTest)
#include "scopeform_test.moc"
