// The game window's options between runs: every value it keeps in the
// settings store, with its default and the correction applied on reading.
// The window reads them once at its creation (ReadGameSettings) and, when
// SettingsWritable, writes them back at its destruction
// (WriteGameSettingsAtExit). The values written "at once" by their own
// commands (side names, pictures, the custom colour scheme) have their own
// writers below.
#pragma once

#include "play/game_controller.h"
#include "play/recent_files.h"
#include "play/settings_access.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <array>

namespace dorvane {

// What the reading needs to know about the world outside the store.
struct TGameSettingsContext {
    QString defaultMusicDir;    // the installed data folder + "/Sound"
    QString currentDir;         // replaces a stored music folder of fewer than 3 characters
    bool trayAvailable = true;  // "MinimizeToTray" is read only when a tray exists
    bool startStandard = false; // "StayOnTop" is read only in this window mode
};

// Colours are kept as the stored integers: red in the low byte, then green,
// then blue (0x00BBGGRR), as the program has always stored them.
constexpr qint32 StoredColor(int red, int green, int blue) {
    return red | (green << 8) | (blue << 16);
}

struct TGameSettings {
    QString Player1 = QStringLiteral("Зеленые");
    QString Player2 = QStringLiteral("Синие");
    qint32 Intellect = 2; // not corrected: a level outside 1..3 plays as the average one
    qint32 Regime = 1;    // 1..2
    bool Help = true;
    qint32 TextureOfField = 3; // 1..5
    qint32 TextureOfFon = 1;   // 1..5
    bool LoadBackground = false;
    QString Background; // read only when LoadBackground
    bool GoFast = false;
    bool StyleButton = false;
    bool LoadField = false;
    QString Field; // read only when LoadField
    bool SoundBegin = false;
    bool SoundMove = true;
    bool SoundEnd = false;
    bool SelectionAccidental = true;
    bool MusicAddSub = false;
    QString DirOfMusic;
    QString DirOfPicture;
    bool PlayMusic = true;
    bool ShowListMusic = false;
    bool MinimizeToTray = false;
    // The custom colour scheme "Другая".
    std::array<qint32, 8> SColor = {
        StoredColor(255, 255, 255), StoredColor(255, 255, 255), // side names' text
        StoredColor(0, 0, 255),     StoredColor(255, 0, 0),     // side names' background
        StoredColor(0, 0, 255),     StoredColor(255, 0, 0),     // the two "Старт"
        StoredColor(0, 128, 0),     StoredColor(255, 0, 255),   // "Нет хода", "Сброс"
    };
    QString SPlayer1 = QStringLiteral("Синие");
    QString SPlayer2 = QStringLiteral("Красные");
    std::array<qint32, 4> SFigure = {1, 3, 0, 2};
    QStringList SPaths; // pictures added to the figure list, in order
    bool ShowCoordinates = true;
    bool ControlPanel = true;
    bool StayOnTop = false;
    qint32 ColorScheme = 2; // 1 default, 2 dark, 3 custom
    bool Complication = false;
    bool ShowGrid = true;
    QPoint Position; // "Left", "Top": see ReadWindowPosition
    TRecentFiles RecentFiles;
};

// At most this many added pictures are read: the count is outside data, and
// each picture is a file to load.
inline constexpr int kMaxAddedPictures = 256;

TGameSettings ReadGameSettings(const SettingsAccess& store, const TGameSettingsContext& context);

// The window's position: the stored "Left"/"Top", by default centred, pulled
// back into the work area. The control panel's width (and one pixel) does not
// count while the panel is hidden.
QPoint ReadWindowPosition(const SettingsAccess& store, const QRect& workArea, QSize window,
                          int panelWidth, bool panelShown);

// The exit's writes, in the order the program has always written them, as one
// batch. The caller writes only when SettingsWritable; the music player's own
// values follow after this (the caller may hold a TSettingsBatch around both).
void WriteGameSettingsAtExit(SettingsAccess& store, const TGameSettings& settings);

// The controller's starting options. The side names are those of the
// current scheme: "SPlayer1"/"SPlayer2" under the custom one, else
// "Player1"/"Player2". A strength outside 1..3 is handed on as 0, which the
// controller plays as the average one.
TGameOptions GameOptionsFrom(const TGameSettings& settings);
// Before the exit's writes: what the controller changed during the run.
void TakeGameOptions(TGameSettings& settings, const TGameController& game);

// "Применить" of the colour-scheme editor: the custom scheme's values.
void WriteCustomScheme(SettingsAccess& store, const TGameSettings& settings);

// "Все по умолчанию": erases the program's settings, keeping the two values
// the installation wrote (the unnamed one and "Start Menu Folder").
void EraseAllSettingsKeepingInstallerValues(SettingsAccess& store);

} // namespace dorvane
