// The game window's part of the desktop: the "Запуск" submenu (the
// launchers and "Интеграция в оболочку"), the file types registered at its
// creation, and the games it loads and saves entered in the desktop's list
// of recently used files.
#pragma once

#include "desktop/file_types.h"
#include "desktop/launchers.h"
#include "desktop/xdg_places.h"

#include "core/settings_access.h"

#include <QString>

class QWidget;

namespace dorvane {

struct TDesktopParts {
    QWidget* window = nullptr;
    SettingsAccess* store = nullptr;
    const bool* settingsWritable = nullptr;
    QString programPath; // what the launchers and the file types start
};

class TDesktopCommands {
public:
    explicit TDesktopCommands(TDesktopParts parts,
                              TXdgPlaces places = TXdgPlaces::FromEnvironment());

    // At the window's creation: the chosen types again (TypesToRestore), and
    // the saved games at every start.
    void RegisterAtStart(const QStringList& restore);
    void ToggleLauncher(TLauncherPlace place);
    // "Интеграция в оболочку": the window, modal; "Применить" applies the
    // marks when the settings may be written.
    void OpenFileTypes();
    // A game loaded or saved.
    void GameFileUsed(const QString& path);

    const TFileTypes& Types() const { return types_; }

private:
    TDesktopParts parts_;
    TXdgPlaces places_;
    TFileTypes types_;
};

// The types offered in "Интеграция в оболочку": the playlists, then the
// sound files.
QString OfferedTypeMasks();

} // namespace dorvane
