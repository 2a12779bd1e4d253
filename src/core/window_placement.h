// Where the program's secondary windows go on the screen: a position read
// from the settings and pulled into the work area (the visualiser), and any
// rectangle fitted into the work area (the playlist window). Both compare
// with the work area's own edges, so a panel on the left or at the top
// (a work area that does not start at 0) never pushes a window off it.
//
// A window is placed as Qt places a top-level widget: move() takes the top
// left of its frame, resize() the size of its client area, and the window
// manager's frame margins lie around that client. It is the frame that has
// to fit, so the margins are handed in (zero before a frame is known).
#pragma once

#include "core/settings_access.h"

#include <QMargins>
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

// Where the frame's top left goes so that the frame around a client of the
// given size lies in the work area; a frame larger than the area keeps its
// top left corner in it.
QPoint PullIntoWorkArea(QPoint frameTopLeft, QSize client, const QMargins& frame,
                        const QRect& workArea);

// Bounds given as the frame's top left and the client's size: the client at
// least 100 x 50 and, with its frame, at most the work area's size, moved
// into it.
QRect FitBoundsToWorkArea(const QRect& bounds, const QRect& workArea,
                          const QMargins& frame = QMargins());

} // namespace dorvane
