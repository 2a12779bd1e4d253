// The master, the fourth strength, as the game and the tools ask it: the move
// for the side to move in a game state, left in the move register like every
// other strength's, with the evaluation behind it.
#pragma once

#include "search.h"

#include "game/gamestate.h"

namespace dorvane::master {

// An evaluation in discs for the mover.
constexpr double Discs(int score) {
    return static_cast<double>(score) / kDisc;
}

// Searches game.GameBoard for game.SideToMove and leaves the move in the
// register (MovePriority 1) and the legal cells in MoveGrid; with no move the
// register is cleared. EngineBusy is set while it runs; the rest of the game
// comes back as it was.
TSearchResult FindMasterMove(TGameState& game, TMasterSearch& search, const TLimits& limits = {});

} // namespace dorvane::master
