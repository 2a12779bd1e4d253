#include "perft.h"

namespace dorvane {

namespace {

std::uint64_t PerftNode(const TField& board, std::uint8_t side, int depth) {
    if (depth == 0) return 1;
    TFlipGrid grid;
    CountFlips(grid, board, side);
    std::uint64_t leaves = 0;
    bool moved = false;
    for (int column = 1; column <= 8; ++column) {
        for (int row = 1; row <= 8; ++row) {
            if (grid[CellIndex(column, row)] == 0) continue;
            moved = true;
            TField next = board;
            ApplyMove(next, column, row, side);
            leaves += PerftNode(next, OtherSide(side), depth - 1);
        }
    }
    // A pass is a ply only when the other side can then move; otherwise both
    // sides are stuck and the game is over here.
    if (!moved && CountLegalMoves(board, OtherSide(side)) > 0)
        leaves = PerftNode(board, OtherSide(side), depth - 1);
    return leaves;
}

} // namespace

std::uint64_t Perft(const TField& board, std::uint8_t sideFlag, int depth) {
    return PerftNode(board, sideFlag, depth);
}

} // namespace dorvane
