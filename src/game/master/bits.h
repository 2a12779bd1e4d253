// The master's position and the bit operations its searches are made of. A
// position is the mover's discs and the other side's, in the bit order of
// game/bitboard.h; a move hands the turn over by swapping the two words.
#pragma once

#include "game/bitboard.h"

#include <bit>
#include <cstdint>

namespace dorvane::master {

struct TPosition {
    TBits own = 0;
    TBits opp = 0;

    TBits Empty() const { return ~(own | opp); }
    int Empties() const { return 64 - std::popcount(own | opp); }
    TBits Moves() const { return LegalMoves(own, opp); }
    // The position after the mover plays `move`, which flips `flips`.
    TPosition After(TBits move, TBits flips) const { return {opp ^ flips, own | move | flips}; }
    TPosition Passed() const { return {opp, own}; }
    bool operator==(const TPosition&) const = default;
};

// The position of the side to move on the game's byte grid.
TPosition PositionOf(const TField& board, std::uint8_t sideToMove);

// The final margin of a finished game for the mover: the empty cells go to
// the side with more discs.
constexpr int FinalMargin(const TPosition& position) {
    const int own = std::popcount(position.own);
    const int opp = std::popcount(position.opp);
    const int empty = 64 - own - opp;
    return own > opp ? own - opp + empty : own < opp ? own - opp - empty : 0;
}

inline constexpr TBits kCornerBits = 0x8100000000000081ull;
// The diagonal neighbour of each corner, and the two edge neighbours.
inline constexpr TBits kXBits = 0x0042000000004200ull;
inline constexpr TBits kCBits = 0x4281000000008142ull;
inline constexpr TBits kEdgeBits = 0xff818181818181ffull;

// The cells next to any cell of x in one of the eight directions.
constexpr TBits Neighbours(TBits x) {
    constexpr TBits notRow1 = ~0x0101010101010101ull;
    constexpr TBits notRow8 = ~0x8080808080808080ull;
    const TBits up = (x << 1) & notRow1;
    const TBits down = (x >> 1) & notRow8;
    const TBits column = x | up | down;
    return (column | (column << 8) | (column >> 8)) & ~x;
}

// The discs of the mover that can never be flipped, a lower bound found by
// growing from the edges: a disc is kept when, along each of the four lines
// through it, the line is full or a neighbour on the line is off the board or
// already kept.
TBits StableDiscs(TBits own, TBits opp);

// A cell's bit index as the game's cell name ("A8" for column 1, row 1).
std::string MoveName(int bit);

} // namespace dorvane::master
