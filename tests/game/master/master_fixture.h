// What the master's tests share: the rules played on the byte grid, apart
// from the bit words the master searches with, and the board symmetries.
#pragma once

#include "game/board.h"
#include "game/master/bits.h"

#include <algorithm>
#include <array>
#include <bit>

namespace dorvane::master::test {

// The byte grid of a master position, the mover as side 1.
inline TField FieldOf(const TPosition& position) {
    TField board{};
    for (int bit = 0; bit < 64; ++bit) {
        const int cell = CellOfBit(bit);
        if ((position.own >> bit) & 1) board[static_cast<std::size_t>(cell)] = 1;
        if ((position.opp >> bit) & 1) board[static_cast<std::size_t>(cell)] = 2;
    }
    return board;
}

// The final margin for the mover under best play of both, by trying every
// line to its end with no pruning at all. Moves and flips come from the
// game's board words, which perft checks against the published counts.
inline int PlainMinimax(TBits own, TBits opp) {
    TBits moves = LegalMoves(own, opp);
    if (moves == 0) {
        if (LegalMoves(opp, own) != 0) return -PlainMinimax(opp, own);
        const int mine = std::popcount(own);
        const int theirs = std::popcount(opp);
        const int empty = 64 - mine - theirs;
        return mine > theirs ? mine - theirs + empty : mine < theirs ? mine - theirs - empty : 0;
    }
    int best = -1000;
    for (; moves != 0; moves &= moves - 1) {
        const TBits move = moves & (~moves + 1);
        const TBits flips = FlipsOf(move, own, opp);
        best = std::max(best, -PlainMinimax(opp & ~flips, own | move | flips));
    }
    return best;
}

// The eight symmetries of the board, as maps of (column, row) from 0..7.
inline TBits Transformed(TBits bits, int symmetry) {
    TBits out = 0;
    for (int bit = 0; bit < 64; ++bit) {
        if (((bits >> bit) & 1) == 0) continue;
        int column = bit / 8;
        int row = bit % 8;
        if (symmetry & 1) column = 7 - column;
        if (symmetry & 2) row = 7 - row;
        if (symmetry & 4) std::swap(column, row);
        out |= TBits{1} << (column * 8 + row);
    }
    return out;
}

inline TPosition Transformed(const TPosition& position, int symmetry) {
    return {Transformed(position.own, symmetry), Transformed(position.opp, symmetry)};
}

} // namespace dorvane::master::test
