// The saved-game commands' one way of reading their file: only a regular file,
// and a file the game would refuse is refused here with the same reason.
#pragma once

#include "game/game_record.h"
#include "play/saved_game.h"

#include <string>
#include <string_view>

namespace dorvane::tool {

// 0 with the game in out; otherwise the exit code after a line
// "dorvane-tool: <command>: <path>: refused: <reason> (<detail>)" or
// "dorvane-tool: <command>: cannot open <path>".
int LoadSavedGame(std::string_view command, const std::string& path, TSavedGame& out);

// The same with the game's history as a record; a history that does not
// replay is refused with "bad history (<why>)".
int LoadSavedGameRecord(std::string_view command, const std::string& path, TSavedGame& game,
                        TGameRecord& record);

} // namespace dorvane::tool
