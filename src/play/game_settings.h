// The game window's options between runs, as settings groups declared once
// (core/settings_schema.h): the game itself, the look, the custom colour
// scheme. The window reads them at its creation and, when SettingsWritable,
// writes the exit's values back at its destruction; the values the program
// writes "at once" (side names, pictures, the custom scheme) are written by
// their commands through the same tables.
#pragma once

#include "core/settings_schema.h"
#include "core/window_placement.h"
#include "play/game_options.h"

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace dorvane {

// Colours are kept as the stored integers: red in the low byte, then green,
// then blue (0x00BBGGRR), as the program has always stored them.
constexpr qint32 StoredColor(int red, int green, int blue) {
    return red | (green << 8) | (blue << 16);
}

// How the board and the panel look, and the three game sounds.
struct TLookSettings {
    bool StyleButton;     // the board as 64 buttons
    bool ShowGrid;        // the picture style's grid
    bool ShowCoordinates; // the letters and digits round the board
    bool ControlPanel;    // the panel beside the board; hidden: the status bar
    bool StayOnTop;       // "Поверх всех окон"
    int ColorScheme;      // 1 "По умолчанию", 2 "Темная", 3 "Другая"
    int TextureOfField;   // the built-in field texture 1..5
    int TextureOfFon;     // the built-in background texture 1..5
    bool LoadField;       // the field shows the picture in Field
    QString Field;
    bool LoadBackground; // the background shows the picture in Background
    QString Background;
    bool SoundBegin, SoundMove, SoundEnd;
    QString DirOfPicture; // where the picture dialogs start
};

// The custom colour scheme "Другая".
struct TCustomScheme {
    // text 1, text 2, background 1, background 2, "Старт" 1, "Старт" 2,
    // "Нет хода", "Сброс"
    std::array<qint32, 8> Colors;
    QString Player1, Player2;
    // side 1, side 2, possible move, suggested move: figure list numbers
    std::array<qint32, 4> Figures;
    QStringList Paths; // pictures added to the figure list, in order
};

struct TGameSettings {
    TGameOptions Game;
    TPlayerNames Names; // of the built-in schemes
    TLookSettings Look;
    TCustomScheme Custom;
    // "Left", "Top": as stored (none when missing or not a number), and
    // where the window is at exit.
    std::optional<qint32> StoredLeft, StoredTop;
    QPoint Position;
};

// What the reading needs to know about the world outside the store.
struct TGameSettingsContext {
    bool startStandard = false; // "StayOnTop" is read only in this window mode
};

// At most this many added pictures are read: the count is outside data, and
// each picture is a file to load.
inline constexpr int kMaxAddedPictures = 256;

using TGameSchema = TSettingsSchema<TGameSettings, TGameSettingsContext>;
// The game window's values in the order its creation reads them, the custom
// scheme's among them.
const TGameSchema& GameSettingsSchema();
// The custom scheme's values alone: "Применить" of the scheme editor writes
// them all at once.
const TSettingsSchema<TCustomScheme>& CustomSchemeSchema();

TGameSettings DefaultGameSettings();
TGameSettings ReadGameSettings(const SettingsAccess& store, const TGameSettingsContext& context);

// The window's position: the stored "Left"/"Top", by default centred, pulled
// back into the work area. The control panel's width (and one pixel) does not
// count while the panel is hidden. The window is its client area; the frame
// around it (see window_placement.h) is centred and kept inside.
QPoint WindowPosition(std::optional<qint32> left, std::optional<qint32> top, const QRect& workArea,
                      QSize window, int panelWidth, bool panelShown,
                      const QMargins& frame = QMargins());
QPoint ReadWindowPosition(const SettingsAccess& store, const QRect& workArea, QSize window,
                          int panelWidth, bool panelShown);

// The game window's share of the exit's writes, in the order the program has
// always written them. The caller writes only when SettingsWritable, holds
// the batch and writes the shell's, the recent files' and the music player's
// values after these.
void WriteGameSettingsAtExit(SettingsAccess& store, const TGameSettings& settings);
// A value written the moment it changes ("Player1", "SPlayer2", "Field", ...).
void WriteGameSettingNow(SettingsAccess& store, const TGameSettings& settings, const QString& name);
// "Применить" of the colour-scheme editor: the custom scheme's values.
void WriteCustomScheme(SettingsAccess& store, const TCustomScheme& scheme);

// "Все по умолчанию": erases the program's settings, keeping the two values
// the installation wrote (the unnamed one and "Start Menu Folder").
void EraseAllSettingsKeepingInstallerValues(SettingsAccess& store);

} // namespace dorvane
