// Secondary windows on the screen: the stored position or the centre, pulled
// into a work area that need not start at 0; bounds fitted into it.
#include "core/window_placement.h"

#include "support/map_store.h"

#include <gtest/gtest.h>

namespace dorvane {
namespace {

TEST(WindowPlacement, StoredOrCentredThenInsideTheWorkArea) {
    const QRect screen(0, 0, 1280, 1024);
    const QRect area(64, 24, 1216, 1000); // panels on the left and at the top
    const QSize window(400, 300);
    const struct {
        const char* left;
        const char* top;
        int defaultLeft, defaultTop;
        QPoint expected;
    } cases[] = {
        {nullptr, nullptr, -1, -1, {440, 362}}, // centred on the screen
        {nullptr, nullptr, 10, 10, {64, 24}},   // a default under the panels
        {"100", "200", -1, -1, {100, 200}},     {"-50", "-50", -1, -1, {64, 24}},
        {"1200", "900", -1, -1, {880, 724}}, // the right and bottom edges
        {"x", "", -1, -1, {440, 362}},       // not numbers: the defaults
    };
    for (const auto& c : cases) {
        test::TMapStore store;
        if (c.left) store.values[QStringLiteral("VisLeft")] = QString::fromLatin1(c.left);
        if (c.top) store.values[QStringLiteral("VisTop")] = QString::fromLatin1(c.top);
        EXPECT_EQ(PlaceWindowFromSettings(store, QStringLiteral("VisLeft"),
                                          QStringLiteral("VisTop"), c.defaultLeft, c.defaultTop,
                                          window, screen, area),
                  c.expected)
            << (c.left ? c.left : "-");
    }
}

TEST(WindowPlacement, BoundsFitTheWorkArea) {
    const QRect area(64, 24, 1216, 1000);
    EXPECT_EQ(FitBoundsToWorkArea(QRect(100, 100, 500, 400), area), QRect(100, 100, 500, 400));
    EXPECT_EQ(FitBoundsToWorkArea(QRect(0, 0, 10, 10), area), QRect(64, 24, 100, 50));
    EXPECT_EQ(FitBoundsToWorkArea(QRect(1000, 900, 500, 400), area), QRect(780, 624, 500, 400));
    EXPECT_EQ(FitBoundsToWorkArea(QRect(-5000, 3000, 5000, 5000), area), QRect(64, 24, 1216, 1000));
}

} // namespace
} // namespace dorvane
