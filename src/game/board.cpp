#include "board.h"

#include "random.h"

#include <bit>
#include <cassert>

namespace dorvane {

namespace {

// The eight line directions as index steps (column step x 10 + row step), in
// the standard order: row step -1, 0, +1 outer, column step -1, 0, +1 inner.
constexpr int kDirections[8] = {-11, -1, 9, -10, 10, -9, 1, 11};

} // namespace

namespace {

// CountFlips is the engine's hottest loop (half of a look-ahead's time), so it
// works on two 64-bit masks instead of walking the byte grid: bit
// (column - 1) * 8 + (row - 1) stands for the cell (column, row), the same
// column-major order as the grid's index.
constexpr int BitOf(int column, int row) {
    return (column - 1) * 8 + (row - 1);
}

constexpr std::uint64_t kNotRow1 = ~0x0101010101010101ull;
constexpr std::uint64_t kNotRow8 = ~0x8080808080808080ull;

// Cells E whose neighbour E + D is in x, for D = (column step, row step). A
// row step must not carry a cell over into the next column.
template <int ColumnStep, int RowStep> constexpr std::uint64_t Toward(std::uint64_t x) {
    constexpr int shift = ColumnStep * 8 + RowStep;
    std::uint64_t moved;
    if constexpr (shift >= 0)
        moved = x >> shift;
    else
        moved = x << -shift;
    if constexpr (RowStep == 1) moved &= kNotRow8;
    if constexpr (RowStep == -1) moved &= kNotRow1;
    return moved;
}

constexpr std::array<std::uint8_t, 64> kIndexOfBit = [] {
    std::array<std::uint8_t, 64> index{};
    for (int column = 1; column <= 8; ++column)
        for (int row = 1; row <= 8; ++row)
            index[BitOf(column, row)] = static_cast<std::uint8_t>(CellIndex(column, row));
    return index;
}();

// Adds k to the grid at every empty cell E where E + D .. E + kD hold the
// opponent and E + (k + 1)D the mover, for k = 1..6.
template <int ColumnStep, int RowStep>
void AddRuns(TFlipGrid& grid, std::uint64_t empty, std::uint64_t own, std::uint64_t other) {
    std::uint64_t otherAt = Toward<ColumnStep, RowStep>(other);
    std::uint64_t chain = empty & otherAt;
    std::uint64_t ownAt = Toward<ColumnStep, RowStep>(Toward<ColumnStep, RowStep>(own));
    for (int k = 1; chain != 0 && k <= 6; ++k) {
        for (std::uint64_t hits = chain & ownAt; hits != 0; hits &= hits - 1)
            grid[kIndexOfBit[std::countr_zero(hits)]] += static_cast<std::uint8_t>(k);
        otherAt = Toward<ColumnStep, RowStep>(otherAt);
        chain &= otherAt;
        ownAt = Toward<ColumnStep, RowStep>(ownAt);
    }
}

} // namespace

void CountFlips(TFlipGrid& grid, const TField& board, std::uint8_t sideFlag) {
    const std::uint8_t ownCode = MoverCode(sideFlag);
    const std::uint8_t otherCode = OpponentCode(sideFlag);
    std::uint64_t own = 0;
    std::uint64_t other = 0;
    for (int column = 1; column <= 8; ++column) {
        for (int row = 1; row <= 8; ++row) {
            const std::uint8_t v = board[CellIndex(column, row)];
            const std::uint64_t bit = 1ull << BitOf(column, row);
            own |= v == ownCode ? bit : 0;
            other |= v == otherCode ? bit : 0;
        }
    }
    const std::uint64_t empty = ~(own | other);
    grid.fill(0);
    AddRuns<-1, -1>(grid, empty, own, other);
    AddRuns<-1, 0>(grid, empty, own, other);
    AddRuns<-1, 1>(grid, empty, own, other);
    AddRuns<0, -1>(grid, empty, own, other);
    AddRuns<0, 1>(grid, empty, own, other);
    AddRuns<1, -1>(grid, empty, own, other);
    AddRuns<1, 0>(grid, empty, own, other);
    AddRuns<1, 1>(grid, empty, own, other);
}

bool ApplyMove(TField& board, int column, int row, std::uint8_t sideFlag) {
    if (!IsPlayingCell(column, row)) return false;
    const int t = CellIndex(column, row);
    // A disc already on the target would be walked over forever by the zero
    // step of the classic formulation; an occupied cell is simply not a move.
    if (board[t] != 0) return false;
    const std::uint8_t own = MoverCode(sideFlag);
    const std::uint8_t other = OpponentCode(sideFlag);
    bool flipped = false;
    for (int d : kDirections) {
        int q = t + d;
        if (board[q] != other) continue;
        do {
            q += d;
        } while (board[q] == other);
        if (board[q] != own) continue;
        for (int c = t + d; c != q; c += d)
            board[c] = own;
        flipped = true;
    }
    if (flipped) board[t] = own;
    return flipped;
}

int CountLegalMoves(const TField& board, std::uint8_t sideFlag) {
    const std::uint8_t own = MoverCode(sideFlag);
    const std::uint8_t other = OpponentCode(sideFlag);
    int count = 0;
    for (int column = 1; column <= 8; ++column) {
        for (int row = 1; row <= 8; ++row) {
            const int t = CellIndex(column, row);
            if (board[t] != 0) continue;
            for (int d : kDirections) {
                int q = t + d;
                if (board[q] != other) continue;
                do {
                    q += d;
                } while (board[q] == other);
                if (board[q] == own) {
                    ++count;
                    break;
                }
            }
        }
    }
    return count;
}

TDiscCounts CountDiscs(const TField& board) {
    TDiscCounts counts;
    for (int column = 1; column <= 8; ++column) {
        for (int row = 1; row <= 8; ++row) {
            const std::uint8_t v = board[CellIndex(column, row)];
            counts.side1 += v == 1;
            counts.side2 += v == 2;
        }
    }
    return counts;
}

void SetStartPosition(TField& board, TRandomSource& random) {
    // Rows: (a, b) -> D5, D4, E5, E4, i.e. cells (4,4), (4,5), (5,4), (5,5).
    static constexpr std::uint8_t kCentres[2][4][4] = {
        {{1, 2, 2, 1}, {1, 2, 2, 1}, {2, 1, 1, 2}, {2, 1, 1, 2}},
        {{1, 2, 1, 2}, {2, 1, 2, 1}, {1, 1, 2, 2}, {2, 2, 1, 1}},
    };
    board.fill(0);
    const std::uint32_t a = random.Below(2);
    const std::uint32_t b = random.Below(4);
    const auto& centre = kCentres[a][b];
    board[CellIndex(4, 4)] = centre[0];
    board[CellIndex(4, 5)] = centre[1];
    board[CellIndex(5, 4)] = centre[2];
    board[CellIndex(5, 5)] = centre[3];
}

std::string CellName(int column, int row) {
    assert(IsPlayingCell(column, row));
    return {static_cast<char>(64 + column), static_cast<char>('0' + 9 - row)};
}

} // namespace dorvane
