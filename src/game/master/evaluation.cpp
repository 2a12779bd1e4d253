#include "evaluation.h"

#include <algorithm>

namespace dorvane::master {

namespace {

// Each weight runs from its value at the start (4 discs) to its value with
// the board full.
struct TWeight {
    int early;
    int late;
    int At(int discs) const { return early + (late - early) * (discs - 4) / 60; }
};

constexpr TWeight kMobility{160, 90};
constexpr TWeight kFrontier{45, 15};
constexpr TWeight kCorner{900, 500};
constexpr TWeight kXSquare{600, 150};
constexpr TWeight kCSquare{180, 40};
constexpr TWeight kStable{150, 120};
constexpr TWeight kEdge{25, 10};
constexpr TWeight kDiscs{-15, 60};
constexpr TWeight kParity{0, 250};

// The X and C squares whose corner is still empty.
TBits DangerCells(TBits empty, TBits cells) {
    TBits danger = 0;
    constexpr int kCornersAt[4] = {0, 7, 56, 63};
    constexpr TBits kNear[4] = {0x0000000000000302ull, 0x000000000000c040ull, 0x0203000000000000ull,
                                0x40c0000000000000ull};
    for (int k = 0; k < 4; ++k)
        if ((empty >> kCornersAt[k]) & 1) danger |= kNear[k];
    return danger & cells;
}

} // namespace

int Evaluate(const TPosition& position) {
    const TBits own = position.own;
    const TBits opp = position.opp;
    const TBits empty = position.Empty();
    const int discs = 64 - std::popcount(empty);

    const TBits ownMoves = LegalMoves(own, opp);
    const TBits oppMoves = LegalMoves(opp, own);
    // A corner among the moves is worth a second move.
    const int mobility = std::popcount(ownMoves) + std::popcount(ownMoves & kCornerBits) -
                         std::popcount(oppMoves) - std::popcount(oppMoves & kCornerBits);
    // The empty cells next to a side's discs are where the other side may
    // later move: fewer of them is better.
    const int frontier =
        std::popcount(Neighbours(opp) & empty) - std::popcount(Neighbours(own) & empty);
    const int corners = std::popcount(own & kCornerBits) - std::popcount(opp & kCornerBits);
    const int xSquares = std::popcount(DangerCells(empty, kXBits) & opp) -
                         std::popcount(DangerCells(empty, kXBits) & own);
    const int cSquares = std::popcount(DangerCells(empty, kCBits) & opp) -
                         std::popcount(DangerCells(empty, kCBits) & own);
    const TBits plainEdge = kEdgeBits & ~kCornerBits & ~kCBits;
    const int edges = std::popcount(own & plainEdge) - std::popcount(opp & plainEdge);
    int stable = 0;
    if (((own | opp) & kCornerBits) != 0)
        stable = std::popcount(StableDiscs(own, opp)) - std::popcount(StableDiscs(opp, own));
    const int discDiff = std::popcount(own) - std::popcount(opp);
    // With an odd number of empty cells the mover plays last, passes aside.
    const int parity = (64 - discs) % 2 == 1 ? 1 : -1;

    const int score = kMobility.At(discs) * mobility + kFrontier.At(discs) * frontier +
                      kCorner.At(discs) * corners + kXSquare.At(discs) * xSquares +
                      kCSquare.At(discs) * cSquares + kStable.At(discs) * stable +
                      kEdge.At(discs) * edges + kDiscs.At(discs) * discDiff +
                      kParity.At(discs) * parity;
    // Leave room above for the exact results of finished lines.
    return std::clamp(score / 4, -kMostScore + kDisc, kMostScore - kDisc);
}

} // namespace dorvane::master
