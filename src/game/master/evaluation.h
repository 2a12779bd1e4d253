// The master's judgement of a position it does not search further, in
// hundredths of a disc for the mover: what the final margin is likely to be.
// Early in the game the moves a side keeps and the discs it leaves exposed
// count most; towards the end, corners, stable discs and the last move.
#pragma once

#include "bits.h"

namespace dorvane::master {

inline constexpr int kDisc = 100;             // one disc in evaluation units
inline constexpr int kMostScore = 64 * kDisc; // no evaluation reaches an exact win of 64
inline constexpr int kInfinity = kMostScore + 1;

int Evaluate(const TPosition& position);

} // namespace dorvane::master
