#include "bits.h"

#include <array>

namespace dorvane::master {

namespace {

constexpr TBits kNotRow1 = ~0x0101010101010101ull;
constexpr TBits kNotRow8 = ~0x8080808080808080ull;

// Every cell of x moved one step: 0 rows down, 1 rows up, 2 columns left,
// 3 columns right, then the four diagonals; direction d ^ 1 is d's opposite.
constexpr TBits Step(TBits x, int direction) {
    switch (direction) {
    case 0:
        return (x << 1) & kNotRow1;
    case 1:
        return (x >> 1) & kNotRow8;
    case 2:
        return x << 8;
    case 3:
        return x >> 8;
    case 4:
        return (x << 9) & kNotRow1;
    case 5:
        return (x >> 9) & kNotRow8;
    case 6:
        return (x << 7) & kNotRow8;
    default:
        return (x >> 7) & kNotRow1;
    }
}

// The cells whose neighbour in the direction is off the board.
constexpr std::array<TBits, 8> kOffBoard = [] {
    std::array<TBits, 8> off{};
    for (int d = 0; d < 8; ++d)
        off[static_cast<std::size_t>(d)] = ~Step(~TBits{0}, d ^ 1);
    return off;
}();

// The cells from which the line in the direction is occupied up to the edge.
TBits FullToward(TBits occupied, int direction) {
    const TBits off = kOffBoard[static_cast<std::size_t>(direction)];
    TBits full = occupied & off;
    for (int i = 0; i < 7; ++i)
        full = occupied & (Step(full, direction ^ 1) | off);
    return full;
}

} // namespace

TPosition PositionOf(const TField& board, std::uint8_t sideToMove) {
    return {DiscBits(board, MoverCode(sideToMove)), DiscBits(board, OpponentCode(sideToMove))};
}

TBits StableDiscs(TBits own, TBits opp) {
    const TBits occupied = own | opp;
    // Without a corner of the mover only full lines could hold a disc; that
    // is rare enough to skip the work.
    if ((own & kCornerBits) == 0) return 0;
    std::array<TBits, 4> shielded{};
    for (int axis = 0; axis < 4; ++axis) {
        const int d = axis * 2;
        shielded[static_cast<std::size_t>(axis)] =
            (FullToward(occupied, d) & FullToward(occupied, d + 1)) |
            kOffBoard[static_cast<std::size_t>(d)] | kOffBoard[static_cast<std::size_t>(d + 1)];
    }
    TBits stable = 0;
    for (;;) {
        TBits next = own;
        for (int axis = 0; axis < 4; ++axis) {
            const int d = axis * 2;
            next &=
                shielded[static_cast<std::size_t>(axis)] | Step(stable, d) | Step(stable, d + 1);
        }
        if (next == stable) return stable;
        stable = next;
    }
}

std::string MoveName(int bit) {
    return CellName(bit / 8 + 1, bit % 8 + 1);
}

} // namespace dorvane::master
