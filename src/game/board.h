// The position, the flip grid and the rule operations every other part of the
// game uses. A position is a flat 10 x 10 byte array whose outer ring is always
// empty: every walk along a line stops on that ring, so none of the loops below
// needs a bounds check.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace dorvane {

using TField = std::array<std::uint8_t, 100>;    // 0 empty, 1 side 1, 2 side 2
using TFlipGrid = std::array<std::uint8_t, 100>; // per empty cell: discs flipped there

constexpr int CellIndex(int column, int row) {
    return column * 10 + row;
}
constexpr int ColumnOf(int index) {
    return index / 10;
}
constexpr int RowOf(int index) {
    return index % 10;
}
constexpr bool IsPlayingCell(int column, int row) {
    return column >= 1 && column <= 8 && row >= 1 && row <= 8;
}

// A side is passed as the flag byte of SideToMove: 1 = side 1 moves, 0 = side 2.
constexpr std::uint8_t MoverCode(std::uint8_t sideFlag) {
    return sideFlag == 1 ? 1 : 2;
}
constexpr std::uint8_t OpponentCode(std::uint8_t sideFlag) {
    return sideFlag == 1 ? 2 : 1;
}
constexpr std::uint8_t OtherSide(std::uint8_t sideFlag) {
    return sideFlag == 1 ? 0 : 1;
}

// Above the engine a side is a TSide; the engine's shared variables and the
// saved games keep the flag byte, and the conversions happen where they are
// read or written.
enum class TSide : std::uint8_t { Second = 0, First = 1 };

constexpr TSide SideOfFlag(std::uint8_t sideFlag) {
    return sideFlag == 1 ? TSide::First : TSide::Second;
}
constexpr std::uint8_t FlagOf(TSide side) {
    return side == TSide::First ? 1 : 0;
}
constexpr TSide Other(TSide side) {
    return side == TSide::First ? TSide::Second : TSide::First;
}

struct TDiscCounts {
    int side1 = 0;
    int side2 = 0;
    int Total() const { return side1 + side2; }
    bool operator==(const TDiscCounts&) const = default;
};

class TRandomSource;

// Clears the grid and fills, for every empty cell, how many opponent discs the
// side would flip there (0 = not a legal move). Border entries stay 0.
void CountFlips(TFlipGrid& grid, const TField& board, std::uint8_t sideFlag);

// Places the mover's disc on (column, row) and flips every bounded run.
// Returns false and leaves the board untouched when nothing flips or the
// target is not an empty playing cell.
bool ApplyMove(TField& board, int column, int row, std::uint8_t sideFlag);

// The most discs a move at the playing cell can ever flip: along each line
// every cell up to the edge but the last, which must close the run. No cell
// can flip more than 19, so a side with 20 discs cannot lose them all at once.
inline constexpr std::array<std::uint8_t, 100> kMostFlipsAt = [] {
    std::array<std::uint8_t, 100> table{};
    for (int column = 1; column <= 8; ++column)
        for (int row = 1; row <= 8; ++row) {
            int most = 0;
            for (int dc = -1; dc <= 1; ++dc)
                for (int dr = -1; dr <= 1; ++dr) {
                    int cells = 0;
                    for (int c = column + dc, r = row + dr;
                         (dc != 0 || dr != 0) && IsPlayingCell(c, r); c += dc, r += dr)
                        ++cells;
                    most += cells > 1 ? cells - 1 : 0;
                }
            table[static_cast<std::size_t>(CellIndex(column, row))] =
                static_cast<std::uint8_t>(most);
        }
    return table;
}();
constexpr int MostFlipsAt(int cell) {
    return kMostFlipsAt[static_cast<std::size_t>(cell)];
}
inline constexpr int kMostFlips = 19;

// The discs the side would flip at cell, without playing it: the flip grid's
// entry for one cell (0 for an occupied cell or no move).
int FlipsAt(const TField& board, int cell, std::uint8_t sideFlag);

int CountLegalMoves(const TField& board, std::uint8_t sideFlag);
TDiscCounts CountDiscs(const TField& board);

// Clears the board and sets one of the six centre arrangements, taking two
// draws from the source: 0..1, then 0..3.
void SetStartPosition(TField& board, TRandomSource& random);

// "A8" for column 1, row 1; "H1" for column 8, row 8.
std::string CellName(int column, int row);

} // namespace dorvane
