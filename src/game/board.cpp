#include "board.h"

#include "random.h"

#include <cassert>

namespace dorvane {

namespace {

// The eight line directions as index steps (column step x 10 + row step), in
// the standard order: row step -1, 0, +1 outer, column step -1, 0, +1 inner.
constexpr int kDirections[8] = {-11, -1, 9, -10, 10, -9, 1, 11};

} // namespace

void CountFlips(TFlipGrid& grid, const TField& board, std::uint8_t sideFlag) {
    const std::uint8_t own = MoverCode(sideFlag);
    const std::uint8_t other = OpponentCode(sideFlag);
    grid.fill(0);
    // Walk back from every opponent disc that touches an empty cell E: the run
    // starting there is flipped by a move at E when the mover's disc closes it.
    for (int p = 11; p <= 88; ++p) {
        if (board[p] != other) continue;
        for (int d : kDirections) {
            const int e = p + d;
            if (board[e] != 0) continue;
            int m = 1;
            int q = p - d;
            while (board[q] == other) {
                ++m;
                q -= d;
            }
            if (board[q] == own) grid[e] = static_cast<std::uint8_t>(grid[e] + m);
        }
    }
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
