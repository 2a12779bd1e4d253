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

// The stored name of the built-in music folder among the items of
// "DirOfMusic": the folder moves with the program (an install, a moved
// build), so its path is never stored.
inline constexpr const char* kBuiltInMusic = "<Sound>";
// A ";"-list of sources as stored: an item that is the built-in folder
// becomes kBuiltInMusic; any other item stays as the user chose it.
QString StoredMusicSource(const QString& sources, const QString& musicFolder);

} // namespace dorvane
