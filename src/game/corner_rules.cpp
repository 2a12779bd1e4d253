// The corner and edge rule group: the driver, the trial-board helpers the
// steps share, and the steps that fight over the corners themselves.
#include "corner_rules_internal.h"
#include "proposals.h"
#include "rules.h"

#include <algorithm>

namespace dorvane {

namespace corner_rules {

namespace {

int CountCode(const TField& board, std::uint8_t code) {
    const TDiscCounts counts = CountDiscs(board);
    return code == 1 ? counts.side1 : counts.side2;
}

} // namespace

TField PlayedByMover(const TSearchContext& ctx, int cell) {
    TField after = ctx.Board;
    ApplyMove(after, ColumnOf(cell), RowOf(cell), ctx.Side);
    return after;
}

TFlipGrid MoverGridOn(const TSearchContext& ctx, const TField& board) {
    TFlipGrid grid;
    CountFlips(grid, board, ctx.Side);
    return grid;
}

TFlipGrid OpponentGridOn(const TSearchContext& ctx, const TField& board) {
    TFlipGrid grid;
    CountFlips(grid, board, OtherSide(ctx.Side));
    return grid;
}

int LastCellClosing(const TSearchContext& ctx, int target) {
    int last = 0;
    ForEachLegalRowMajor(ctx.Cand, [&](int cell) {
        if (FlipsAt(PlayedByMover(ctx, cell), target, OtherSide(ctx.Side)) == 0) last = cell;
    });
    return last;
}

bool OwnRunUnderAttack(const TSearchContext& ctx, const TEdgeLine& L) {
    if (ctx.O(L[1]) == 0) return false;
    for (int i = 2; i <= 5; ++i)
        if (!ctx.IsM(L[i])) return false;
    const bool closedAtOwnCorner = (ctx.IsX(L[6]) || ctx.O(L[6]) != 0) && ctx.IsM(L[7]);
    const bool openTowardsEmptyCorner = ctx.IsM(L[6]) && ctx.IsEmpty(L[7]);
    return closedAtOwnCorner || openTowardsEmptyCorner;
}

int FirstOwnCorner(const TSearchContext& ctx) {
    for (int k : kEachCorner)
        if (ctx.IsM(kCorners[k])) return k;
    return -1;
}

// Wins the game on the spot: a move after which the opponent has no disc left.
void WipeOut(TSearchContext& ctx) {
    // A move leaves the opponent without a disc when it flips all of them.
    const int theirs = CountCode(ctx.Board, ctx.Opponent);
    ForEachLegalRowMajor(ctx.Cand, [&](int cell) {
        if (MostFlipsAt(cell) >= theirs && FlipsAt(ctx.Board, cell, ctx.Side) == theirs)
            TryPlain(ctx, cell);
    });
}

// With two cells left, plays each move out against every reply the opponent
// has and keeps the one that leaves the mover the most discs.
void LastTwoCells(TSearchContext& ctx) {
    if (ctx.game.DiscCount1 + ctx.game.DiscCount2 != 62) return;
    const std::uint8_t opponentSide = OtherSide(ctx.Side);
    int best = 0;
    int bestCount = 0;
    ForEachLegalColumnMajor(ctx.Cand, [&](int cell) {
        TField after = PlayedByMover(ctx, cell);
        // The replies are read from the grid before any of them is played; one
        // that no longer flips after an earlier reply changes nothing.
        const TFlipGrid replies = OpponentGridOn(ctx, after);
        ForEachLegalRowMajor(replies, [&](int reply) {
            ApplyMove(after, ColumnOf(reply), RowOf(reply), opponentSide);
        });
        const int count = CountCode(after, ctx.Mover);
        if (count > bestCount) {
            best = cell;
            bestCount = count;
        }
    });
    if (best != 0) Propose(ctx, best);
}

// The opponent holds a corner and both A-squares of its edge while the far
// corner is still out of his reach: break into the edge between them.
void OpponentCornerFarCornerFree(TSearchContext& ctx) {
    for (int k : kEachCorner) {
        if (!ctx.IsX(kCorners[k])) continue;
        for (const TEdgeLine& L : EdgeLines(k)) {
            if (!(ctx.IsX(L[2]) && ctx.IsX(L[6]) && ctx.IsEmpty(L[7]) && ctx.O(L[7]) == 0))
                continue;
            if (IsLegal(ctx, L[1]) && IsLegal(ctx, L[4]) && ctx.IsEmpty(L[3]) && ctx.IsEmpty(L[5]))
                TryPlain(ctx, L[4]);
            else if (IsLegal(ctx, L[1]) && IsLegal(ctx, L[5]) && ctx.IsEmpty(L[3]) && ctx.IsM(L[4]))
                TryPlain(ctx, L[5]);
            else if (IsLegal(ctx, L[1]) && ctx.IsM(L[4]) && ctx.IsM(L[5]))
                TryPlain(ctx, L[1]);
            else if (IsLegal(ctx, L[3]) && ctx.IsM(L[1]) && ctx.IsEmpty(L[4]) && ctx.IsEmpty(L[5]))
                TryPlain(ctx, L[3]);
        }
    }
}

// A free corner the opponent cannot take yet, his discs on its C-square and
// at L5: move in between them.
void FreeCornerOpponentOnCSquare(TSearchContext& ctx) {
    for (int k : kEachCorner) {
        const int corner = kCorners[k];
        if (!(ctx.IsEmpty(corner) && ctx.O(corner) == 0)) continue;
        for (const TEdgeLine& L : EdgeLines(k)) {
            if (!(ctx.IsX(L[1]) && ctx.IsX(L[5]))) continue;
            if (ctx.IsM(L[6]) && !ctx.IsM(L[7])) continue;
            if (IsLegal(ctx, L[2]) && ctx.IsEmpty(L[3]) && ctx.IsEmpty(L[4]))
                TryPlain(ctx, L[2]);
            else if (IsLegal(ctx, L[3]) && ctx.IsM(L[2]) && ctx.IsX(L[4]))
                TryPlain(ctx, L[3]);
            else if (IsLegal(ctx, L[4]) && ctx.IsX(L[2]) && ctx.IsX(L[3]))
                TryPlain(ctx, L[4]);
        }
    }
}

// The same free corner with the opponent on its C-square and A-square and at L6.
void FreeCornerOpponentPair(TSearchContext& ctx) {
    for (int k : kEachCorner) {
        const int corner = kCorners[k];
        if (!(ctx.IsEmpty(corner) && ctx.O(corner) == 0)) continue;
        for (const TEdgeLine& L : EdgeLines(k)) {
            if (!(ctx.IsX(L[1]) && ctx.IsX(L[2]) && ctx.IsX(L[6]))) continue;
            if (IsLegal(ctx, L[3]) && ctx.IsEmpty(L[4]) && ctx.IsEmpty(L[5]))
                TryPlain(ctx, L[3]);
            else if (IsLegal(ctx, L[4]) && ctx.IsM(L[3]) && ctx.IsX(L[5]))
                TryPlain(ctx, L[4]);
            else if (IsLegal(ctx, L[5]) && ctx.IsX(L[3]) && ctx.IsX(L[4]))
                TryPlain(ctx, L[5]);
        }
    }
}

void CSquareAtOwnCorner(TSearchContext& ctx, int k) {
    for (const TEdgeLine& L : EdgeLines(k))
        if (Beats(ctx, L[1]) && ctx.IsOccupied(L[2])) TryPlain(ctx, L[1]);
}

// Taking corners: a corner whose C-squares are both filled, C-squares beside
// own corners, then each corner's own decision and the set-ups for later.
void CornerGroup(TSearchContext& ctx) {
    for (int k : kEachCorner) {
        const TCornerView q(ctx, k);
        if (q.Beats(0, 0) && q.Occupied(0, 1) && q.Occupied(1, 0)) Propose(ctx, q.Q(0, 0));
    }
    if (HasProposal(ctx)) return;
    for (int k : kEachCorner)
        if (ctx.IsM(kCorners[k])) CSquareAtOwnCorner(ctx, k);
    if (HasProposal(ctx)) return;
    for (int k : kEachCorner)
        CornerDecision(ctx, k);
    if (HasProposal(ctx)) return;
    for (int k : kEachCorner)
        CornerSetUp(ctx, k);
}

// The opponent on the C-square of a free corner: L4 behind an empty gap, or
// L2 right beside him when an own disc at L4 backs it.
void OpponentNextToFreeCorner(TSearchContext& ctx) {
    for (int k : kEachCorner) {
        if (!ctx.IsEmpty(kCorners[k])) continue;
        for (const TEdgeLine& L : EdgeLines(k)) {
            if (!ctx.IsX(L[1])) continue;
            if (ctx.IsEmpty(L[2]) && ctx.IsEmpty(L[3]) && Beats(ctx, L[4]) && !ctx.IsX(L[5]))
                TryPlain(ctx, L[4]);
            else if (Beats(ctx, L[2]) && ctx.IsEmpty(L[3]) && ctx.IsM(L[4]) && !ctx.IsX(L[5]))
                TryPlain(ctx, L[2]);
        }
    }
}

// Take every corner the opponent could take next, if it is safe on the edges.
void CornerRace(TSearchContext& ctx) {
    for (int corner : kCorners)
        if (ctx.O(corner) != 0) TryEdgeSafe(ctx, corner);
}

// Shut the opponent out of the corner where he would flip the most.
void BlockOpponentBestCorner(TSearchContext& ctx) {
    int target = 0;
    int most = 0;
    for (int corner : kCorners) {
        if (ctx.O(corner) > most) {
            most = ctx.O(corner);
            target = corner;
        }
    }
    if (target == 0) return;
    const int cell = LastCellClosing(ctx, target);
    if (cell != 0) TryCornerSafe(ctx, cell);
}

// An edge between two opponent corners with one cell left that is not ours.
void FillEdgeBetweenOpponentCorners(TSearchContext& ctx) {
    for (int k : kK1AndK3) {
        if (!ctx.IsX(kCorners[k])) continue;
        for (const TEdgeLine& L : EdgeLines(k)) {
            if (!ctx.IsX(L[7])) continue;
            int own = 0;
            int last = 0;
            for (int i = 1; i <= 6; ++i) {
                if (ctx.IsM(L[i]))
                    ++own;
                else if (Beats(ctx, L[i]))
                    last = L[i];
            }
            if (own == 5 && last != 0) TryPlain(ctx, last);
        }
    }
}

// Late in the game: an edge held five times by the side owning its corner,
// with the far corner free. The corners of side 2 are looked at before those
// of side 1, whoever moves.
void NearlyFullEdge(TSearchContext& ctx) {
    if (ctx.game.DiscCount1 + ctx.game.DiscCount2 <= 32) return;
    for (std::uint8_t code : {std::uint8_t{2}, std::uint8_t{1}}) {
        for (int k : kEachCorner) {
            if (ctx.B(kCorners[k]) != code) continue;
            for (const TEdgeLine& L : EdgeLines(k)) {
                if (!ctx.IsEmpty(L[7])) continue;
                int held = 0;
                int last = 0;
                for (int i = 1; i <= 6; ++i) {
                    if (ctx.B(L[i]) == code)
                        ++held;
                    else if (i <= 4 && Beats(ctx, L[i]))
                        last = L[i];
                }
                if (held == 5 && last != 0) TryPlain(ctx, last);
            }
        }
    }
}

} // namespace corner_rules

int RunCornerRules(TSearchContext& ctx) {
    using namespace corner_rules;
    using TStep = void (*)(TSearchContext&);
    // The order decides every tie: the first step that leaves a proposal wins.
    static constexpr TStep kSteps[] = {
        WipeOut,
        LastTwoCells,
        OpponentCornerFarCornerFree,
        FreeCornerOpponentOnCSquare,
        FreeCornerOpponentPair,
        CornerGroup,
        OpponentNextToFreeCorner,
        CornerRace,
        BlockOpponentBestCorner,
        FillEdgeBetweenOpponentCorners,
        NearlyFullEdge,
        CloseBeforeOpponentFour,
        CloseBeforeOpponentThree,
        CloseBeforeOpponentTwo,
        CloseBeforeOpponentOne,
        LastGapOnOwnEdge,
        OwnCornerDiagonalBlock,
        RunAlongOwnEdge,
        ReachFromOwnCorner,
        OpponentRunFromFreeCorner,
        CSquareAtOpponentCorner,
        CornerThreat,
        DefendOwnEdge,
        SplitOpponentPair,
        SplitOwnPair,
        ExtendFromEmptyCorner,
        OpenEdgeMoves,
        CSquareBesideOpponentRun,
        CloseBeforeOpponentAfterGap,
        BlockBehindOwnCorner,
    };
    int number = 0;
    for (TStep step : kSteps) {
        ++number;
        step(ctx);
        if (HasProposal(ctx)) return number;
    }
    return 0;
}

void CornerRules(TSearchContext& ctx) {
    RunCornerRules(ctx);
}

} // namespace dorvane
