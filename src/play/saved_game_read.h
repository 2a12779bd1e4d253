// Reading a saved game from disk, plain C++, for the game window and the
// engine tool alike: only a regular file is read (a FIFO under a game's name
// would block for ever), and never more than one byte past a saved game's
// size.
#pragma once

#include "play/saved_game.h"

#include <string>

namespace dorvane {

struct TSavedGameRead {
    bool opened = false;     // false: missing, unreadable, a folder, a FIFO...
    TSavedGameResult result; // when opened: the game or why it was refused
};

// path holds the file system's own bytes. With noFollow a symbolic link is
// not followed.
TSavedGameRead ReadSavedGameBytes(const std::string& path, bool noFollow = false);

} // namespace dorvane
