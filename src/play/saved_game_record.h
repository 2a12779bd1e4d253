// A saved game as a game record for other Othello programs: the start
// position as it was (a random centre arrangement or handicap discs
// included), the side that started, and the recorded moves with the passes
// the history implies (a side that moves twice in a row had no move between).
// Plain C++, for the engine tool.
#pragma once

#include "game/ggf.h"
#include "play/saved_game.h"

#include <string>

namespace dorvane {

// The whole recorded history (CurrentR moves, wherever the player was
// looking). False when the history does not replay: a move the side could not
// make, a pass while the side had a move, or a recorded position that is not
// the one its move leads to; error says which move.
bool RecordOfSavedGame(const TSavedGame& game, TGameRecord& out, std::string& error);

// Side 1 "Green", side 2 "Blue" (the sides' default names) or "Dorvane" when
// the computer played it (mode 1).
TGgfPlayers PlayersOfSavedGame(const TSavedGame& game);

} // namespace dorvane
