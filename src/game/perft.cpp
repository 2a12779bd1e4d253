#include "perft.h"

#include "bitboard.h"

namespace dorvane {

namespace {

// On the two sides' words: the generator and the move are those of the
// search's hot loops, without the byte grid.
std::uint64_t PerftNode(TBits own, TBits other, int depth) {
    if (depth == 0) return 1;
    TBits moves = LegalMoves(own, other);
    // A pass is a ply only when the other side can then move; otherwise both
    // sides are stuck and the game is over here.
    if (moves == 0) return LegalMoves(other, own) != 0 ? PerftNode(other, own, depth - 1) : 0;
    std::uint64_t leaves = 0;
    for (; moves != 0; moves &= moves - 1) {
        const TBits move = moves & (~moves + 1);
        const TBits flips = FlipsOf(move, own, other);
        leaves += PerftNode(other & ~flips, own | move | flips, depth - 1);
    }
    return leaves;
}

} // namespace

std::uint64_t Perft(const TField& board, std::uint8_t sideFlag, int depth) {
    return PerftNode(DiscBits(board, MoverCode(sideFlag)), DiscBits(board, OpponentCode(sideFlag)),
                     depth);
}

} // namespace dorvane
