// The music tests run with a Qt event loop (the loader's worker answers
// through it) and in the C locale's sort order unless a test says otherwise.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
