// Saved games on disk: the atomic writer, the size-capped reader and the
// temporary game that a restart with default settings leaves behind.
#pragma once

#include "play/saved_game.h"
#include "play/saved_game_read.h"

#include <QString>

namespace dorvane {

// Written through QSaveFile: the old file stays as it was unless the new one
// is complete. False when nothing was written.
bool WriteSavedGameFile(const QString& path, const TSavedGame& game);

// Reads at most one byte more than a saved game, so a huge file costs nothing;
// only a regular file is read.
TSavedGameRead ReadSavedGameFile(const QString& path);

// "onlydorvanetemp.dvn" in the per-user data folder
// (QStandardPaths::AppDataLocation, so the application's name must be set).
QString TemporaryGamePath();
// By the file's name alone, wherever it lies.
bool IsTemporaryGameFile(const QString& path);

// A file handed over from outside is a game when its extension is ".dvn" in
// any letter case; anything else goes to the music player.
bool IsSavedGamePath(const QString& path);

} // namespace dorvane
