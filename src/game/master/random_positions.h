// Positions reached by random legal play from the standard start, for the
// tests, the benchmarks and the match openings: a seeded generator gives the
// same positions on every machine.
#pragma once

#include "bits.h"

#include <cstdint>
#include <random>

namespace dorvane::master {

// The standard start with side 1 (black) to move.
TPosition StartPosition();

// A position with `empties` empty cells in which the mover has a move,
// reached by uniformly random moves (passes where forced).
TPosition RandomPosition(std::mt19937_64& random, int empties);

} // namespace dorvane::master
