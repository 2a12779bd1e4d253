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
    return PullIntoWorkArea({left, top}, window, QMargins(), workArea);
}

QPoint PullIntoWorkArea(QPoint frameTopLeft, QSize client, const QMargins& frame,
                        const QRect& workArea) {
    return {PullInto(frameTopLeft.x(), workArea.left(), workArea.width(),
                     client.width() + frame.left() + frame.right()),
            PullInto(frameTopLeft.y(), workArea.top(), workArea.height(),
                     client.height() + frame.top() + frame.bottom())};
}

QRect FitBoundsToWorkArea(const QRect& bounds, const QRect& workArea, const QMargins& frame) {
    const int roomX = workArea.width() - frame.left() - frame.right();
    const int roomY = workArea.height() - frame.top() - frame.bottom();
    const QSize client(std::clamp(bounds.width(), kMinWidth, std::max(kMinWidth, roomX)),
                       std::clamp(bounds.height(), kMinHeight, std::max(kMinHeight, roomY)));
    return {PullIntoWorkArea(bounds.topLeft(), client, frame, workArea), client};
}

} // namespace dorvane
