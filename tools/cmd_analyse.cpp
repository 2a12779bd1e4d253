// dorvane-tool analyse FILE: the master's verdict on every move of a saved
// game, one JSON line per move: the cell played, the master's best cell, the
// discs the played move gives away against the best, and whether both values
// are exact final margins.
#include "saved_game_input.h"
#include "tool_commands.h"

#include "game/master/master.h"

#include <cstdio>
#include <string>

namespace dorvane::tool {

namespace {

std::string Number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return buffer;
}

} // namespace

int RunAnalyse(Args args) {
    double seconds = master::kDefaultSeconds;
    if (args.size() == 3 && args[0] == "--seconds") {
        long hundredths = 0;
        if (!ParseInt(args[1], 1, 200, hundredths))
            return Usage("analyse: --seconds needs hundredths of a second from 1 to 200");
        seconds = static_cast<double>(hundredths) / 100.0;
        args = args.subspan(2);
    }
    if (args.size() != 1)
        return Usage("analyse needs one file: analyse [--seconds HUNDREDTHS] FILE");
    const std::string path(args[0]);
    TSavedGame game;
    TGameRecord record;
    if (const int code = LoadSavedGameRecord("analyse", path, game, record); code != 0) return code;

    master::TMasterSearch search;
    TPosition position = record.start;
    int ply = 0;
    for (const TRecordMove& move : record.moves) {
        if (!move.IsPass()) {
            ++ply;
            const master::TPosition searched =
                master::PositionOf(position.board, position.sideToMove);
            const master::TSearchResult result =
                search.Search(searched, {.seconds = seconds, .rankAll = true});
            const int played = (move.column - 1) * 8 + (move.row - 1);
            int playedScore = result.score;
            for (const master::TMoveScore& scored : result.ranked)
                if (scored.move == played) playedScore = scored.score;
            std::printf("{\"ply\": %d, \"side\": %d, \"played\": \"%s\", \"best\": \"%s\", "
                        "\"score\": %s, \"loss\": %s, \"exact\": %s}\n",
                        ply, position.sideToMove, CellName(move.column, move.row).c_str(),
                        master::MoveName(result.move).c_str(),
                        Number(master::Discs(result.score)).c_str(),
                        Number(master::Discs(result.score - playedScore)).c_str(),
                        result.exact ? "true" : "false");
            std::fflush(stdout);
        }
        std::string error;
        // The record replayed when it was read, so every move plays.
        PlayRecordMove(position, move, error);
    }
    return 0;
}

} // namespace dorvane::tool
