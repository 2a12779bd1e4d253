// Where the program's secondary windows go on the screen: a position read
// from the settings and pulled into the work area (the visualiser), and any
// rectangle fitted into the work area (the playlist window). Both compare
// with the work area's own edges, so a panel on the left or at the top
// (a work area that does not start at 0) never pushes a window off it.
#pragma once

#include "core/settings_access.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace dorvane {

// The stored position under leftKey and topKey; a negative default left or
// top centres the window on the screen. The result lies in the work area.
QPoint PlaceWindowFromSettings(const SettingsAccess& store, const QString& leftKey,
                               const QString& topKey, int defaultLeft, int defaultTop, QSize window,
                               const QRect& screen, const QRect& workArea);

// At least 100 x 50 and at most the work area's size, moved into it.
QRect FitBoundsToWorkArea(const QRect& bounds, const QRect& workArea);

} // namespace dorvane
