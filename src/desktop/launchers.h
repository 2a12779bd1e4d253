// The program's own launchers, made and removed by the "Запуск" commands: a
// second use of a command removes what the first made. The places:
//
// - the games group: a launcher in the user's applications folder with
//   Categories=Game;BoardGame;, which menus list under "Игры";
// - the main menu: a launcher there without categories, which menus list at
//   their top level ("Прочее" in most of them);
// - the desktop: a launcher in the desktop folder of xdg-user-dirs, marked
//   executable as desktops ask of launchers they run;
// - autostart: a launcher in ~/.config/autostart.
//
// The launchers of the applications folder have names of their own
// (kvo-dorvane-*.desktop), so they never replace the installed
// dorvane.desktop. Every failure is silent: the command then does nothing.
#pragma once

#include "desktop/xdg_places.h"

#include <QString>

namespace dorvane {

enum class TLauncherPlace { Games, MainMenu, Desktop, Autostart };

inline constexpr const char* kLauncherComment = "Сыграйте в игру «Dorvane»!";

// Where the launcher of that place lies.
QString LauncherPath(TLauncherPlace place, const TXdgPlaces& places);
// The launcher's text: Exec runs the program with the files given to it.
QByteArray LauncherText(TLauncherPlace place, const QString& programPath);
// The program's path as the Exec key of a launcher takes it: in double
// quotes, with the characters the standard reserves escaped.
QString ExecQuoted(const QString& programPath);

// Removes the launcher when there is one (the entry itself, a link too),
// else makes it. True when the launcher exists afterwards.
bool ToggleShortcut(TLauncherPlace place, const QString& programPath, const TXdgPlaces& places);

} // namespace dorvane
