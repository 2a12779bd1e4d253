// The corner group's steps that build out from an own corner into the board,
// and those that answer the opponent's corner threats from the interior.
#include "corner_rules_internal.h"
#include "proposals.h"

#include <algorithm>

namespace dorvane::corner_rules {

namespace {

// The cells an own corner reaches for, ring by ring, in the order they are tried.
struct TReachRings {
    std::array<int, 2> ring1;
    std::array<int, 3> ring2;
    std::array<int, 4> ring3;
};

constexpr int C(int column, int row) {
    return CellIndex(column, row);
}

constexpr std::array<TReachRings, 4> kReachRings = {{
    {{C(1, 2), C(2, 1)}, {C(1, 3), C(2, 2), C(3, 1)}, {C(1, 4), C(2, 3), C(3, 2), C(4, 1)}},
    {{C(7, 1), C(8, 2)}, {C(6, 1), C(7, 2), C(8, 3)}, {C(5, 1), C(6, 2), C(7, 3), C(8, 4)}},
    {{C(8, 7), C(7, 8)}, {C(8, 6), C(7, 7), C(6, 8)}, {C(8, 5), C(7, 6), C(6, 7), C(5, 8)}},
    {{C(2, 8), C(1, 7)}, {C(3, 8), C(2, 7), C(1, 6)}, {C(4, 8), C(3, 7), C(2, 6), C(1, 5)}},
}};

// For an empty target the mover cannot play yet: the last interior move after
// which the mover would flip more than P there gets a plain try.
void ReachFor(TSearchContext& ctx, int target) {
    if (!ctx.IsEmpty(target) || IsLegal(ctx, target)) return;
    int last = 0;
    ForEachInnerCell([&](int cell) {
        if (IsLegal(ctx, cell) && FlipsAt(PlayedByMover(ctx, cell), target, ctx.Side) > ctx.P())
            last = cell;
    });
    if (last != 0) TryPlain(ctx, last);
}

template <std::size_t N> void ReachRing(TSearchContext& ctx, const std::array<int, N>& ring) {
    for (int target : ring)
        ReachFor(ctx, target);
}

// The sub-steps of the diagonal block, each for one corner holding the mover's disc.

// Either C-square, when the A-square behind it is taken or the cell after
// that is not the mover's.
void CSquareUnlessOpenBehind(TSearchContext& ctx, int k) {
    for (const TEdgeLine& L : EdgeLines(k))
        if (Beats(ctx, L[1]) && (ctx.IsOccupied(L[2]) || !ctx.IsM(L[3]))) TryPlain(ctx, L[1]);
}

// The X-square once both C-squares are taken.
void XSquareBehindCSquares(TSearchContext& ctx, int k) {
    const TCornerView q(ctx, k);
    if (q.Beats(1, 1) && q.Occupied(0, 1) && q.Occupied(1, 0)) TryCornerSafe(ctx, q.Q(1, 1));
}

// Beside a taken X-square, behind own C- and A-squares.
void BesideXSquare(TSearchContext& ctx, int k) {
    const TCornerView q(ctx, k);
    if (!(q.OwnEdgeShoulders() && q.Occupied(1, 1))) return;
    if (q.Beats(2, 1))
        TryCornerSafe(ctx, q.Q(2, 1));
    else if (q.Beats(1, 2))
        TryCornerSafe(ctx, q.Q(1, 2));
}

// The next diagonal cell, or the third cell of the second row or column.
void SecondDiagonalCell(TSearchContext& ctx, int k) {
    const TCornerView q(ctx, k);
    if (!q.OwnEdgeShoulders()) return;
    if (q.Beats(2, 2) && q.Occupied(2, 1) && q.Occupied(1, 2) && q.Occupied(1, 1))
        TryCornerSafe(ctx, q.Q(2, 2));
    else if (q.Beats(3, 1) && ((q.M(1, 1) && q.Occupied(2, 1)) || (q.X(1, 1) && q.X(2, 1))))
        TryCornerSafe(ctx, q.Q(3, 1));
    else if (q.Beats(1, 3) && ((q.M(1, 1) && q.Occupied(1, 2)) || (q.X(1, 1) && q.X(1, 2))))
        TryCornerSafe(ctx, q.Q(1, 3));
}

// With three own discs along one edge: the third ring's cells.
void ThirdRingCell(TSearchContext& ctx, int k) {
    const TCornerView q(ctx, k);
    if (!(q.OwnEdgeShoulders() && (q.M(3, 0) || q.M(0, 3)))) return;
    if (q.Beats(3, 2) && q.M(1, 1) && q.Occupied(3, 1) &&
        ((q.M(1, 2) && q.Occupied(2, 2)) || (q.X(1, 2) && q.X(2, 2))))
        TryCornerSafe(ctx, q.Q(3, 2));
    else if (q.Beats(2, 3) && q.M(1, 1) && q.Occupied(1, 3) &&
             ((q.M(2, 1) && q.Occupied(2, 2)) || (q.X(2, 1) && q.X(2, 2))))
        TryCornerSafe(ctx, q.Q(2, 3));
    else if (q.Beats(4, 1) && q.X(1, 2) &&
             ((q.Occupied(1, 1) && q.X(2, 1) && q.X(3, 1)) ||
              (q.M(1, 1) && q.M(2, 1) && q.Occupied(3, 1))))
        TryCornerSafe(ctx, q.Q(4, 1));
    else if (q.Beats(1, 4) && q.M(2, 1) &&
             ((q.Occupied(1, 1) && q.X(1, 2) && q.X(1, 3)) ||
              (q.M(1, 1) && q.M(1, 2) && q.Occupied(1, 3))))
        TryCornerSafe(ctx, q.Q(1, 4));
}

// With four own discs along one edge: the fourth ring's cells.
void FourthRingCell(TSearchContext& ctx, int k) {
    const TCornerView q(ctx, k);
    if (!(q.OwnEdgeShoulders() && ((q.M(3, 0) && q.M(4, 0)) || (q.M(0, 3) && q.M(0, 4))))) return;
    if (q.Beats(3, 3) && q.M(2, 1) && q.M(1, 2) &&
        ((q.M(1, 1) && q.Occupied(2, 2)) || (q.X(1, 1) && q.X(2, 2))))
        TryCornerSafe(ctx, q.Q(3, 3));
    else if (q.Beats(2, 4) && q.M(1, 1) && q.M(1, 2) &&
             ((q.Occupied(1, 3) && q.M(2, 1) && q.M(2, 2) && q.Occupied(2, 3)) ||
              (q.Occupied(2, 1) && q.X(2, 2) && q.X(2, 3))))
        TryCornerSafe(ctx, q.Q(2, 4));
    else if (q.Beats(4, 2) && q.M(1, 1) && q.M(2, 1) &&
             ((q.Occupied(3, 1) && q.M(1, 2) && q.M(2, 2) && q.Occupied(3, 2)) ||
              (q.Occupied(1, 2) && q.X(2, 2) && q.X(3, 2))))
        TryCornerSafe(ctx, q.Q(4, 2));
    else if (q.Beats(1, 5) && q.M(2, 1) && q.M(2, 2) &&
             ((q.Occupied(1, 1) && q.X(1, 2) && q.X(1, 3) && q.X(1, 4)) ||
              (q.M(1, 1) && q.M(1, 2) && q.X(1, 3) && q.X(1, 4)) ||
              (q.M(1, 1) && q.M(1, 2) && q.M(1, 3) && q.Occupied(1, 4))))
        TryCornerSafe(ctx, q.Q(1, 5));
    else if (q.Beats(5, 1) && q.M(1, 2) && q.M(2, 2) &&
             ((q.Occupied(1, 1) && q.X(2, 1) && q.X(3, 1) && q.X(4, 1)) ||
              (q.M(1, 1) && q.M(2, 1) && q.X(3, 1) && q.X(4, 1)) ||
              (q.M(1, 1) && q.M(2, 1) && q.M(3, 1) && q.Occupied(4, 1))))
        TryPlain(ctx, q.Q(5, 1)); // deliberately plain, not corner-safe
}

} // namespace

// Grows a block of own discs diagonally out of an own corner, cell by cell,
// each only once the cells between it and the corner hold.
void OwnCornerDiagonalBlock(TSearchContext& ctx) {
    using TSubStep = void (*)(TSearchContext&, int);
    static constexpr TSubStep kSubSteps[] = {
        CSquareAtOwnCorner, CSquareUnlessOpenBehind, XSquareBehindCSquares, BesideXSquare,
        SecondDiagonalCell, ThirdRingCell,           FourthRingCell,
    };
    for (TSubStep subStep : kSubSteps) {
        for (int k : kEachCorner)
            if (ctx.IsM(kCorners[k])) subStep(ctx, k);
        if (HasProposal(ctx)) return;
    }
}

// Extend an own edge: the first gap after the own run and the opponent's
// discs beyond it.
void RunAlongOwnEdge(TSearchContext& ctx) {
    for (int k : kEachCorner) {
        if (!ctx.IsM(kCorners[k])) continue;
        for (const TEdgeLine& L : EdgeLines(k)) {
            int i = 1;
            while (i < 7 && ctx.IsM(L[i]))
                ++i;
            while (i < 7 && ctx.IsX(L[i]))
                ++i;
            if (i < 7 && ctx.IsEmpty(L[i])) TryCSquare(ctx, L[i]);
        }
    }
}

// Work towards the cells around the first own corner that the mover cannot
// reach yet, nearest ring first.
void ReachFromOwnCorner(TSearchContext& ctx) {
    const int k = FirstOwnCorner(ctx);
    if (k < 0) return;
    const TReachRings& rings = kReachRings[k];
    ReachRing(ctx, rings.ring1);
    if (HasProposal(ctx)) return;
    ReachRing(ctx, rings.ring2);
    if (HasProposal(ctx)) return;
    ReachRing(ctx, rings.ring3);
}

// An opponent run from the C-square of a free corner: stop it where it would
// go on into another opponent disc.
void OpponentRunFromFreeCorner(TSearchContext& ctx) {
    for (int k : kEachCorner) {
        if (!ctx.IsEmpty(kCorners[k])) continue;
        for (const TEdgeLine& L : EdgeLines(k)) {
            if (!ctx.IsX(L[1])) continue;
            int i = 2;
            while (i < 5 && ctx.IsX(L[i]))
                ++i;
            if (Beats(ctx, L[i]) && ctx.IsX(L[i + 1]) && !ctx.IsM(L[i + 2])) TryPlain(ctx, L[i]);
        }
    }
}

// Next to an opponent corner the C-square is safe when the edge beyond it
// cannot be turned: an opponent disc right behind it, or an own run that ends
// on an opponent disc or fills the edge to L6.
void CSquareAtOpponentCorner(TSearchContext& ctx) {
    for (int k : kEachCorner) {
        if (!ctx.IsX(kCorners[k])) continue;
        for (const TEdgeLine& L : EdgeLines(k)) {
            if (!IsLegal(ctx, L[1])) continue;
            if (ctx.IsX(L[2])) {
                Propose(ctx, L[1]);
            } else if (ctx.IsM(L[2])) {
                int i = 2;
                while (i <= 6 && ctx.IsM(L[i]))
                    ++i;
                if (i == 7 || ctx.IsX(L[i])) Propose(ctx, L[1]);
            }
        }
    }
}

// An interior move that opens a corner to the mover with more than any corner
// gives now.
void CornerThreat(TSearchContext& ctx) {
    int most = 0;
    for (int corner : kCorners)
        most = std::max(most, ctx.W(corner));
    int last = 0;
    ForEachInnerCell([&](int cell) {
        if (!IsLegal(ctx, cell)) return;
        const TField after = PlayedByMover(ctx, cell);
        if (std::any_of(kCorners.begin(), kCorners.end(),
                        [&](int corner) { return FlipsAt(after, corner, ctx.Side) > most; }))
            last = cell;
    });
    if (last != 0) TryCornerSafe(ctx, last);
}

// An own edge run the opponent could attack at the C-square: the last move
// that takes that C-square from him.
void DefendOwnEdge(TSearchContext& ctx) {
    for (int k : kEachCorner) {
        if (!ctx.IsM(kCorners[k])) continue;
        for (const TEdgeLine& L : EdgeLines(k)) {
            if (!OwnRunUnderAttack(ctx, L)) continue;
            const int cell = LastCellClosing(ctx, L[1]);
            if (cell != 0) Propose(ctx, cell);
        }
    }
}

// The 4 x 4 block behind the first own corner, column by column outwards
// from the corner.
void BlockBehindOwnCorner(TSearchContext& ctx) {
    const int k = FirstOwnCorner(ctx);
    if (k < 0) return;
    const TCornerView q(ctx, k);
    for (int u = 1; u <= 4; ++u)
        for (int v = 1; v <= 4; ++v)
            if (q.Beats(u, v)) TryCornerSafe(ctx, q.Q(u, v));
}

} // namespace dorvane::corner_rules
