#include "board.h"

#include "bitboard.h"
#include "random.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>

namespace dorvane {

namespace {

// The eight line directions as index steps (column step x 10 + row step), in
// the standard order: row step -1, 0, +1 outer, column step -1, 0, +1 inner.
constexpr int kDirections[8] = {-11, -1, 9, -10, 10, -9, 1, 11};

constexpr std::uint64_t kNotRow1 = ~0x0101010101010101ull;
constexpr std::uint64_t kNotRow8 = ~0x8080808080808080ull;

// Cells E whose neighbour E + D is in x, for D = (column step, row step). A
// row step must not carry a cell over into the next column.
template <int ColumnStep, int RowStep> constexpr TBits Toward(TBits x) {
    constexpr int shift = ColumnStep * 8 + RowStep;
    TBits moved;
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
// opponent and E + (k + 1)D the mover, for k = 1..6; returns those cells.
template <int ColumnStep, int RowStep>
TBits AddRuns(TFlipGrid& grid, TBits empty, TBits own, TBits other) {
    TBits otherAt = Toward<ColumnStep, RowStep>(other);
    TBits chain = empty & otherAt;
    TBits ownAt = Toward<ColumnStep, RowStep>(Toward<ColumnStep, RowStep>(own));
    TBits all = 0;
    for (int k = 1; chain != 0 && k <= 6; ++k) {
        const TBits ends = chain & ownAt;
        all |= ends;
        for (TBits hits = ends; hits != 0; hits &= hits - 1)
            grid[kIndexOfBit[std::countr_zero(hits)]] += static_cast<std::uint8_t>(k);
        otherAt = Toward<ColumnStep, RowStep>(otherAt);
        chain &= otherAt;
        ownAt = Toward<ColumnStep, RowStep>(ownAt);
    }
    return all;
}

// Cells E for which E + D .. E + kD hold the opponent and E + (k + 1)D the
// mover for some k: the moves along D.
template <int ColumnStep, int RowStep> TBits MovesAlong(TBits empty, TBits own, TBits other) {
    TBits run = Toward<ColumnStep, RowStep>(own) & other;
    for (int k = 0; k < 5; ++k)
        run |= Toward<ColumnStep, RowStep>(run) & other;
    return Toward<ColumnStep, RowStep>(run) & empty;
}

// The eight cells of a column, row 1 in the lowest byte.
std::uint64_t ColumnWord(const TField& board, int column) {
    std::uint64_t word;
    std::memcpy(&word, &board[static_cast<std::size_t>(CellIndex(column, 1))], 8);
    if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
    return word;
}

// The run of the opponent's discs from the move along D, when the mover's
// disc closes it.
template <int ColumnStep, int RowStep> TBits FlipsAlong(TBits move, TBits own, TBits other) {
    TBits run = 0;
    TBits next = Toward<-ColumnStep, -RowStep>(move);
    while ((next & other) != 0) {
        run |= next;
        next = Toward<-ColumnStep, -RowStep>(next);
    }
    return (next & own) != 0 ? run : 0;
}

} // namespace

TBits DiscBits(const TField& board, std::uint8_t code) {
    // Column c holds rows 1..8 in the eight bytes from index c * 10 + 1, so a
    // column is one 64-bit load. The codes are 1 and 2: bit 0 of a byte marks
    // side 1, bit 1 side 2, and the multiplication gathers the eight marks of
    // a column into its top byte.
    const int shift = code == 1 ? 0 : 1;
    TBits bits = 0;
    for (int column = 1; column <= 8; ++column) {
        const std::uint64_t marks = (ColumnWord(board, column) >> shift) & 0x0101010101010101ull;
        bits |= ((marks * 0x0102040810204080ull) >> 56) << ((column - 1) * 8);
    }
    return bits;
}

TBits FillFlipCounts(TFlipGrid& grid, TBits own, TBits other) {
    const TBits empty = ~(own | other);
    grid.fill(0);
    TBits legal = AddRuns<-1, -1>(grid, empty, own, other);
    legal |= AddRuns<-1, 0>(grid, empty, own, other);
    legal |= AddRuns<-1, 1>(grid, empty, own, other);
    legal |= AddRuns<0, -1>(grid, empty, own, other);
    legal |= AddRuns<0, 1>(grid, empty, own, other);
    legal |= AddRuns<1, -1>(grid, empty, own, other);
    legal |= AddRuns<1, 0>(grid, empty, own, other);
    legal |= AddRuns<1, 1>(grid, empty, own, other);
    return legal;
}

TBits LegalMoves(TBits own, TBits other) {
    const TBits empty = ~(own | other);
    return MovesAlong<-1, -1>(empty, own, other) | MovesAlong<-1, 0>(empty, own, other) |
           MovesAlong<-1, 1>(empty, own, other) | MovesAlong<0, -1>(empty, own, other) |
           MovesAlong<0, 1>(empty, own, other) | MovesAlong<1, -1>(empty, own, other) |
           MovesAlong<1, 0>(empty, own, other) | MovesAlong<1, 1>(empty, own, other);
}

static_assert([] {
    int most = 0;
    for (int column = 1; column <= 8; ++column)
        for (int row = 1; row <= 8; ++row)
            most = std::max(most, MostFlipsAt(CellIndex(column, row)));
    return most;
}() == kMostFlips);

TBits FlipsOf(TBits move, TBits own, TBits other) {
    return FlipsAlong<-1, -1>(move, own, other) | FlipsAlong<-1, 0>(move, own, other) |
           FlipsAlong<-1, 1>(move, own, other) | FlipsAlong<0, -1>(move, own, other) |
           FlipsAlong<0, 1>(move, own, other) | FlipsAlong<1, -1>(move, own, other) |
           FlipsAlong<1, 0>(move, own, other) | FlipsAlong<1, 1>(move, own, other);
}

void CountFlips(TFlipGrid& grid, const TField& board, std::uint8_t sideFlag) {
    FillFlipCounts(grid, DiscBits(board, MoverCode(sideFlag)),
                   DiscBits(board, OpponentCode(sideFlag)));
}

namespace {

// Calls closed(d, q) for every direction d in which a run of the opponent's
// discs from the cell ends on the mover's disc q.
template <typename Closed>
void ForEachClosedRun(const TField& board, int cell, std::uint8_t sideFlag, Closed closed) {
    const std::uint8_t own = MoverCode(sideFlag);
    const std::uint8_t other = OpponentCode(sideFlag);
    for (int d : kDirections) {
        int q = cell + d;
        if (board[q] != other) continue;
        do {
            q += d;
        } while (board[q] == other);
        if (board[q] == own) closed(d, q);
    }
}

} // namespace

int FlipsAt(const TField& board, int cell, std::uint8_t sideFlag) {
    if (board[cell] != 0) return 0;
    int flips = 0;
    ForEachClosedRun(board, cell, sideFlag, [&](int d, int q) { flips += (q - cell) / d - 1; });
    return flips;
}

bool ApplyMove(TField& board, int column, int row, std::uint8_t sideFlag) {
    if (!IsPlayingCell(column, row)) return false;
    const int t = CellIndex(column, row);
    // A disc already on the target would be walked over forever by the zero
    // step of the classic formulation; an occupied cell is simply not a move.
    if (board[t] != 0) return false;
    const std::uint8_t own = MoverCode(sideFlag);
    bool flipped = false;
    // The eight lines from t share no cell, so flipping one run leaves the
    // walks along the others as they were.
    ForEachClosedRun(board, t, sideFlag, [&](int d, int q) {
        for (int c = t + d; c != q; c += d)
            board[c] = own;
        flipped = true;
    });
    if (flipped) board[t] = own;
    return flipped;
}

int CountLegalMoves(const TField& board, std::uint8_t sideFlag) {
    return std::popcount(
        LegalMoves(DiscBits(board, MoverCode(sideFlag)), DiscBits(board, OpponentCode(sideFlag))));
}

TDiscCounts CountDiscs(const TField& board) {
    // Byte j of a column word is 1 or 2 for a disc in row j + 1. The marks of
    // the eight columns add up byte by byte (at most 8 per byte) and the
    // multiplication sums the bytes.
    constexpr std::uint64_t kLow = 0x0101010101010101ull;
    std::uint64_t side1 = 0;
    std::uint64_t side2 = 0;
    for (int column = 1; column <= 8; ++column) {
        const std::uint64_t word = ColumnWord(board, column);
        side1 += word & kLow;
        side2 += (word >> 1) & kLow;
    }
    return {static_cast<int>((side1 * kLow) >> 56), static_cast<int>((side2 * kLow) >> 56)};
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
