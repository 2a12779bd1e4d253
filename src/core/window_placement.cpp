#include "core/window_placement.h"

#include "core/settings_schema.h"

#include <algorithm>

namespace dorvane {

namespace {

constexpr int kMinWidth = 100;
constexpr int kMinHeight = 50;

int PullInto(int value, int start, int extent, int size) {
    if (value + size > start + extent) value = start + extent - size;
    return std::max(value, start);
}

} // namespace

QPoint PlaceWindowFromSettings(const SettingsAccess& store, const QString& leftKey,
                               const QString& topKey, int defaultLeft, int defaultTop, QSize window,
                               const QRect& screen, const QRect& workArea) {
    if (defaultLeft < 0) defaultLeft = screen.left() + (screen.width() - window.width()) / 2;
    if (defaultTop < 0) defaultTop = screen.top() + (screen.height() - window.height()) / 2;
    const int left = store.RegReadIntegerInRange(leftKey, defaultLeft, kScreenCoordinate.minimum,
                                                 kScreenCoordinate.maximum);
    const int top = store.RegReadIntegerInRange(topKey, defaultTop, kScreenCoordinate.minimum,
                                                kScreenCoordinate.maximum);
    return {PullInto(left, workArea.left(), workArea.width(), window.width()),
            PullInto(top, workArea.top(), workArea.height(), window.height())};
}

QRect FitBoundsToWorkArea(const QRect& bounds, const QRect& workArea) {
    const int width = std::clamp(bounds.width(), kMinWidth, std::max(kMinWidth, workArea.width()));
    const int height =
        std::clamp(bounds.height(), kMinHeight, std::max(kMinHeight, workArea.height()));
    return {PullInto(bounds.left(), workArea.left(), workArea.width(), width),
            PullInto(bounds.top(), workArea.top(), workArea.height(), height), width, height};
}

} // namespace dorvane
