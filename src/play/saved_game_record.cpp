#include "play/saved_game_record.h"

namespace dorvane {

bool RecordOfSavedGame(const TSavedGame& game, TGameRecord& out, std::string& error) {
    TGameRecord record;
    // Entry 0 of Who is the side that started.
    record.start.board = game.March.Fields[0];
    record.start.sideToMove = game.March.Who[0];
    TPosition position = record.start;
    for (int k = 1; k <= game.CurrentR; ++k) {
        const auto [column, row] = game.March.Moves[k];
        const std::string where =
            "move " + std::to_string(k) +
            (IsPlayingCell(column, row) ? " (" + CellName(column, row) + ")" : std::string());
        std::string why;
        if (game.March.Who[k] != position.sideToMove) {
            if (!PlayRecordMove(position, kPass, why)) {
                error = where + ": the same side moved twice, but " + why;
                return false;
            }
            record.moves.push_back(kPass);
        }
        const TRecordMove move{column, row};
        if (!PlayRecordMove(position, move, why)) {
            error = where + ": " + why;
            return false;
        }
        if (position.board != game.March.Fields[k]) {
            error = where + ": the recorded position is not the one the move leads to";
            return false;
        }
        record.moves.push_back(move);
    }
    out = std::move(record);
    return true;
}

TGgfPlayers PlayersOfSavedGame(const TSavedGame& game) {
    return {"Green", game.Regim == 1 ? "Dorvane" : "Blue"};
}

} // namespace dorvane
