// The splash: its outline, its place, and its end on the second tick after
// the game window is ready. Offscreen, ticks driven by the test.
#include "shell/startform.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>

#include <gtest/gtest.h>

#include <cstdlib>

namespace dorvane {
namespace {

TEST(StartForm, OutlineHasTwoRoundedCorners) {
    const QRegion region = StartFormRegion(340, 100);
    // Square top-left and bottom-right corners, rounded top-right and
    // bottom-left ones; the middle is whole.
    const std::vector<std::pair<QPoint, bool>> cases = {
        {{0, 0}, true},   {{338, 98}, true}, {{170, 50}, true},  {{339, 0}, false},
        {{0, 99}, false}, {{335, 2}, false}, {{2, 97}, false},   {{320, 5}, true},
        {{169, 0}, true}, {{0, 49}, true},   {{340, 50}, false}, {{-1, 50}, false},
    };
    for (const auto& [point, inside] : cases)
        EXPECT_EQ(region.contains(point), inside) << point.x() << "," << point.y();
}

TEST(StartForm, ClosesOnTheSecondTickAfterTheGameWindowIsReady) {
    bool ready = false;
    int shown = 0;
    QPointer<TStartForm> splash = new TStartForm({[&] { return ready; }, [&] { ++shown; }});
    splash->ShowNow();
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->size(), QSize(340, 100));
    EXPECT_TRUE(splash->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(splash->geometry().center().x(), screen.center().x());
    for (int i = 0; i < 5; ++i)
        splash->Tick(); // never before the window is ready
    EXPECT_TRUE(splash->isVisible());
    ready = true;
    splash->Tick();
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(shown, 0);
    splash->Tick();
    EXPECT_FALSE(splash->isVisible());
    EXPECT_EQ(shown, 1);
    splash->Tick();
    EXPECT_EQ(shown, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(splash.isNull()); // closing frees it
}

} // namespace
} // namespace dorvane

// The application lives on main's stack, so that it is gone, with the fonts
// and windows it holds, before the leak check at exit.
int main(int argc, char** argv) {
    // Headless also when the test runner only lists the tests.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
