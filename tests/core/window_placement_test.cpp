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

// The frame must fit, not only the client: a title bar pushes the bottom and
// the borders the right edge out of the area when they are left out.
TEST(WindowPlacement, TheFrameAroundTheClientFits) {
    const QRect area(64, 24, 1216, 1000);
    const QMargins openbox(1, 22, 1, 1);
    const struct {
        QRect bounds; // the frame's top left, the client's size
        QMargins frame;
        QRect expected;
    } cases[] = {
        // Already inside with its frame: as it is.
        {{100, 100, 500, 400}, openbox, {100, 100, 500, 400}},
        // Bottom right: the frame's extra 2 x 23 px come back in.
        {{1000, 900, 500, 400}, openbox, {778, 601, 500, 400}},
        // Exactly as wide as the area: the client shrinks by the borders.
        {{64, 24, 1216, 300}, openbox, {64, 24, 1214, 300}},
        // Taller than the area: the client loses the title bar's height.
        {{64, 500, 400, 2000}, openbox, {64, 24, 400, 977}},
        // A thick frame on the left and top only.
        {{1200, 1000, 100, 50}, QMargins(30, 40, 0, 0), {1150, 934, 100, 50}},
    };
    for (const auto& c : cases) {
        const QRect fitted = FitBoundsToWorkArea(c.bounds, area, c.frame);
        EXPECT_EQ(fitted, c.expected) << c.bounds.x() << "," << c.bounds.y();
        EXPECT_TRUE(area.contains(QRect(fitted.topLeft(), fitted.size().grownBy(c.frame))))
            << c.bounds.x();
        EXPECT_EQ(PullIntoWorkArea(c.bounds.topLeft(), fitted.size(), c.frame, area),
                  c.expected.topLeft());
    }
}

} // namespace
} // namespace dorvane
