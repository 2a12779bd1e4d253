// The music player's values among the program's settings. The game window
// reads them at its creation for its music engine and writes them back from
// the engine's state at its exit, after its own values.
#pragma once

#include "core/settings_schema.h"

#include <QString>

namespace dorvane {

struct TMusicSettings {
    bool SelectionAccidental; // "Случайный выбор": the next track at random
    bool MusicAddSub;         // folders are collected with their subfolders
    QString DirOfMusic;       // the music folder
    bool PlayMusic;           // "Воспроизводить"
    bool ShowListMusic;       // open the playlist window at start
};

struct TMusicContext {
    QString musicFolder; // the installed data folder's "Sound": the default folder
    QString currentDir;  // replaces a stored folder of fewer than 3 characters
};

const TSettingsSchema<TMusicSettings, TMusicContext>& MusicSettingsSchema();

} // namespace dorvane
