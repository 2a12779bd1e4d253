// Leaf counts of the move tree: the check that the move generator and the rule
// operations agree with the published counts of the game.
#pragma once

#include "board.h"

#include <cstdint>

namespace dorvane {

// Number of positions reached after exactly `depth` plies. A side without a
// legal move passes, and the pass is a ply; two passes in a row end the game,
// and a game that ends before `depth` plies contributes no leaf.
std::uint64_t Perft(const TField& board, std::uint8_t sideFlag, int depth);

} // namespace dorvane
