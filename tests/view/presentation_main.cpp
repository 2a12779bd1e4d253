// Pictures and icons need a QGuiApplication; the tests run headless.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include <cstdlib>

int main(int argc, char** argv) {
    // gtest_discover_tests passes only the first entry of a list-valued
    // ENVIRONMENT property, so the headless defaults are made sure of here.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
