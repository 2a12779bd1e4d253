// dorvane-tool ggf FILE and transcript FILE: a saved game as the game record
// other Othello programs read (GGF), or as its plain move list.
#include "saved_game_input.h"
#include "tool_commands.h"

#include "game/ggf.h"
#include "play/saved_game_record.h"

#include <cstdio>
#include <string>

namespace dorvane::tool {

namespace {

enum class TRecordForm { Ggf, Transcript };

int RunRecord(std::string_view command, Args args, TRecordForm form) {
    if (args.size() != 1)
        return Usage(std::string(command) + " needs one file: " + std::string(command) + " FILE");
    const std::string path(args[0]);
    TSavedGame game;
    TGameRecord record;
    if (const int code = LoadSavedGameRecord(command, path, game, record); code != 0) return code;
    const std::string text = form == TRecordForm::Ggf ? FormatGgf(record, PlayersOfSavedGame(game))
                                                      : TranscriptText(record);
    std::printf("%s\n", text.c_str());
    return 0;
}

} // namespace

int RunGgf(Args args) {
    return RunRecord("ggf", args, TRecordForm::Ggf);
}

int RunTranscript(Args args) {
    return RunRecord("transcript", args, TRecordForm::Transcript);
}

} // namespace dorvane::tool
