// The computer player as the NBoard command asks it: a move for the side to
// move with one strength, and the high strength's forecast of the final disc
// margin after a move. Every search goes through FindMove with its two draws
// from the session's random source, as the game window's searches do.
#pragma once

#include "game/engine.h"
#include "game/game_record.h"

#include <optional>

namespace dorvane::tool {

struct TEngineChoice {
    bool found = false;        // false only when the engine answers without a move
    TRecordMove move;          // a pass when the side has no move
    std::optional<int> margin; // the look-ahead's forecast for the mover, when it made one
};

// The move of the side to move with the given strength; a side without a move
// passes without a search. The margin is set only by a look-ahead that
// recorded a line.
TEngineChoice ChooseMove(const TPosition& position, TSearchType type, TRandomSource& random);

// The final margin (the mover's discs less the other side's) the high
// strength foresees after the side to move plays move: the look-ahead of the
// side that moves next, or the count itself when the move ends the game.
// Empty when the look-ahead recorded no line. move must be legal.
std::optional<int> ForecastAfter(const TPosition& position, TRecordMove move,
                                 TRandomSource& random);

} // namespace dorvane::tool
