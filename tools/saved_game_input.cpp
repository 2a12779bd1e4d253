#include "saved_game_input.h"

#include "tool_commands.h"

#include "play/saved_game_read.h"
#include "play/saved_game_record.h"

namespace dorvane::tool {

int LoadSavedGame(std::string_view command, const std::string& path, TSavedGame& out) {
    const std::string prefix = std::string(command) + ": ";
    // Only a regular file is read: a FIFO would block the tool for ever.
    const TSavedGameRead read = ReadSavedGameBytes(path);
    if (!read.opened) return Usage(prefix + "cannot open " + path);
    const TSavedGameResult& result = read.result;
    if (!result.game)
        return Usage(prefix + path + ": refused: " + SavedGameErrorName(result.error) + " (" +
                     result.detail + ")");
    out = *result.game;
    return 0;
}

int LoadSavedGameRecord(std::string_view command, const std::string& path, TSavedGame& game,
                        TGameRecord& record) {
    if (const int code = LoadSavedGame(command, path, game); code != 0) return code;
    std::string error;
    if (!RecordOfSavedGame(game, record, error))
        return Usage(std::string(command) + ": " + path + ": refused: bad history (" + error + ")");
    return 0;
}

} // namespace dorvane::tool
