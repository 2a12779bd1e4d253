// Cell lists and scan orders shared by the rules of the computer player. The
// order in which a rule visits cells decides between equal proposals, so every
// scan the rules use is spelled out here once.
#pragma once

#include "board.h"

#include <array>

namespace dorvane {

// A-squares: two steps from a corner along an edge. B-squares: the two middle
// cells of an edge. Both in the fixed order top, right, bottom, left.
inline constexpr std::array<int, 8> kASquares = {31, 61, 83, 86, 68, 38, 16, 13};
inline constexpr std::array<int, 8> kBSquares = {41, 51, 84, 85, 58, 48, 15, 14};

constexpr bool IsEdgeCell(int cell) {
    const int column = ColumnOf(cell);
    const int row = RowOf(cell);
    return column == 1 || column == 8 || row == 1 || row == 8;
}

constexpr bool IsXSquare(int cell) {
    return cell == 22 || cell == 72 || cell == 77 || cell == 27;
}

// Rows 1..8 outer, columns 1..8 inner.
template <typename Visit> void ForEachCellRowMajor(Visit visit) {
    for (int row = 1; row <= 8; ++row) {
        for (int column = 1; column <= 8; ++column)
            visit(CellIndex(column, row));
    }
}

// Columns 1..8 outer, rows 1..8 inner.
template <typename Visit> void ForEachCellColumnMajor(Visit visit) {
    for (int column = 1; column <= 8; ++column) {
        for (int row = 1; row <= 8; ++row)
            visit(CellIndex(column, row));
    }
}

// The playing cells with a non-zero entry in a flip grid: the legal moves.
template <typename Visit>
void ForEachLegalRowMajor(const std::array<std::uint8_t, 100>& grid, Visit visit) {
    ForEachCellRowMajor([&](int cell) {
        if (grid[cell] != 0) visit(cell);
    });
}

template <typename Visit>
void ForEachLegalColumnMajor(const std::array<std::uint8_t, 100>& grid, Visit visit) {
    ForEachCellColumnMajor([&](int cell) {
        if (grid[cell] != 0) visit(cell);
    });
}

// Rows 2..7 and columns 2..7 without the four X-squares, row-major: the cells
// from which the rules prepare an edge or a corner.
template <typename Visit> void ForEachInnerCell(Visit visit) {
    for (int row = 2; row <= 7; ++row) {
        for (int column = 2; column <= 7; ++column) {
            const int cell = CellIndex(column, row);
            if (!IsXSquare(cell)) visit(cell);
        }
    }
}

template <typename Cells, typename Pred> bool AllOf(const Cells& cells, Pred pred) {
    for (int cell : cells) {
        if (!pred(cell)) return false;
    }
    return true;
}

template <typename Pred> bool AllEdgeCells(Pred pred) {
    bool all = true;
    ForEachCellRowMajor([&](int cell) {
        if (all && IsEdgeCell(cell) && !pred(cell)) all = false;
    });
    return all;
}

// Eight cells listed edge by edge (top, right, bottom, left), two per edge.
// The scan starts at the edge numbered draw4 and wraps around; within an edge
// the cells keep their order.
using TRotatedCells = std::array<std::array<int, 2>, 4>;

template <typename Visit> void ForRotated(int draw4, const TRotatedCells& cells, Visit visit) {
    for (int i = 0; i < 4; ++i) {
        for (int cell : cells[(draw4 + i) % 4])
            visit(cell);
    }
}

} // namespace dorvane
