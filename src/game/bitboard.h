// The 64 playing cells as the bits of one word, for the loops where the
// search spends its time. Bit (column - 1) * 8 + (row - 1) stands for the
// cell (column, row): the same column-major order as the byte grid's index,
// so a scan of the bits from the lowest visits the cells in the order of a
// column-major scan of the grid. The rules keep reading the byte grid; only
// the hot loops convert.
#pragma once

#include "board.h"

#include <cstdint>

namespace dorvane {

using TBits = std::uint64_t;

constexpr int BitOf(int column, int row) {
    return (column - 1) * 8 + (row - 1);
}
constexpr int BitOfCell(int cell) {
    return BitOf(ColumnOf(cell), RowOf(cell));
}
constexpr int CellOfBit(int bit) {
    return CellIndex(bit / 8 + 1, bit % 8 + 1);
}

// The cells holding the disc code (1 or 2).
TBits DiscBits(const TField& board, std::uint8_t code);

// Clears the grid, fills the flip counts of the side owning `own` at every
// empty cell, and returns the cells with a non-zero count (the legal moves).
TBits FillFlipCounts(TFlipGrid& grid, TBits own, TBits other);

// The legal moves of the side owning `own`.
TBits LegalMoves(TBits own, TBits other);

// The discs a move on the single cell `move` flips (none when it is no move).
TBits FlipsOf(TBits move, TBits own, TBits other);

} // namespace dorvane
