// The playlist window's settings: read when the window is made, written when
// it goes. Colours are stored as #RRGGBB numbers. The window's bounds
// default to a place beside the game window.
#pragma once

#include "core/settings_schema.h"
#include "core/window_placement.h"

#include <QMargins>
#include <QRect>
#include <QString>

namespace dorvane {

struct TPlaylistWindowSettings {
    bool ListShowHint;
    qint32 ListColor;
    qint32 ListFontColor;
    qint32 ListFontHeight; // negative: the character height in pixels, else points
    QString ListFontName;
    bool ListFontBold;
    qint32 ListInterval; // 0..2
    qint32 ListNumberColor;
    qint32 ListTB1Top, ListTB1Left;
    qint32 ListTB2Top, ListTB2Left;
    qint32 ListTop, ListLeft, ListWidth, ListHeight;
    qint32 ListColumns; // -1..8
    bool ListMaximized;
    qint32 IndicatorBC, IndicatorEC;
    qint32 IndicatorCS;
    qint32 IndicatorModification; // 0..2
    qint32 IndicatorW;            // at least 19
    qint32 ListLayered;           // 64..255
    bool ListOneClick;
    bool ShowMusicMin; // written only
    qint32 SpeedSound; // written only: the speed box, percent
    // Whether the bounds may be written (not minimised or maximised).
    bool BoundsWritable;
};

struct TPlaylistWindowContext {
    QRect gameWindow; // its frame
    QRect workArea;
    QMargins frame; // the playlist window's own frame, as far as it is known
};

const TSettingsSchema<TPlaylistWindowSettings, TPlaylistWindowContext>&
PlaylistWindowSettingsSchema();

// Beside the game window on its right, as high as it, at most as wide as it
// and the room to the work area's right edge (but at least 123), fitted
// with its frame.
QRect DefaultPlaylistBounds(const QRect& gameWindow, const QRect& workArea,
                            const QMargins& frame = QMargins());

} // namespace dorvane
