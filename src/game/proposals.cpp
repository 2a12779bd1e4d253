#include "proposals.h"

#include "board_cells.h"

#include <cassert>

namespace dorvane {

namespace {

void Play(TField& board, int cell, std::uint8_t sideFlag) {
    ApplyMove(board, ColumnOf(cell), RowOf(cell), sideFlag);
}

TField After(const TField& board, int cell, std::uint8_t sideFlag) {
    TField copy = board;
    Play(copy, cell, sideFlag);
    return copy;
}

TFlipGrid GridOf(const TField& board, std::uint8_t sideFlag) {
    TFlipGrid grid;
    CountFlips(grid, board, sideFlag);
    return grid;
}

bool SharesLine(int a, int b) {
    return ColumnOf(a) == ColumnOf(b) || RowOf(a) == RowOf(b);
}

int OwnDiscs(const TField& board, std::uint8_t code) {
    const TDiscCounts counts = CountDiscs(board);
    return code == 1 ? counts.side1 : counts.side2;
}

// Some reply of the opponent after the mover plays cell leaves the mover
// without a single disc: a reply that flips every disc the mover then has.
bool OpponentCanWipeOut(const TSearchContext& ctx, int cell) {
    // The mover gains at least the disc played and one flipped; with more
    // discs than any move can flip, no reply takes them all.
    if (OwnDiscs(ctx.Board, ctx.Mover) + 2 > kMostFlips) return false;
    const TField b1 = After(ctx.Board, cell, ctx.Side);
    const TFlipGrid g1 = GridOf(b1, OtherSide(ctx.Side));
    const int mine = OwnDiscs(b1, ctx.Mover);
    bool wiped = false;
    ForEachLegalRowMajor(g1, [&](int reply) { wiped = wiped || g1[reply] == mine; });
    return wiped;
}

// The opponent's edge replies in the line of a move, and the corners they
// would open: the heart of the edge test. Returns the final state of the flag.
bool EdgeRepliesSafe(const TSearchContext& ctx, int cell, const TField& b1, const TFlipGrid& g1) {
    const std::uint8_t opponentSide = OtherSide(ctx.Side);
    // Each assignment below overwrites the flag: a later remedy can restore it
    // after an earlier failure and a later reply can clear it again.
    bool ok = true;
    ForEachLegalRowMajor(g1, [&](int r1) {
        if (!IsEdgeCell(r1) || !SharesLine(r1, cell)) return;
        const TField b2 = After(b1, r1, opponentSide);
        if (!OpensCornerOn(ctx, b2)) return;
        ok = false;
        ForEachLegalRowMajor(GridOf(b2, ctx.Side), [&](int m2) {
            if (!IsEdgeCell(m2)) return;
            const TField b3 = After(b2, m2, ctx.Side);
            const TFlipGrid g3 = GridOf(b3, opponentSide);
            if (OpensCorner(ctx, g3)) return;
            ok = true;
            ForEachLegalColumnMajor(g3, [&](int r3) {
                if (!IsEdgeCell(r3) || !SharesLine(r3, m2)) return;
                if (OpensCornerOn(ctx, After(b3, r3, opponentSide))) ok = false;
            });
        });
    });
    return ok;
}

// The other C-square of the same corner, or 0 for a cell that is no C-square.
int PartnerCSquare(int cell) {
    switch (cell) {
    case 21:
        return 12;
    case 12:
        return 21;
    case 71:
        return 82;
    case 82:
        return 71;
    case 78:
        return 87;
    case 87:
        return 78;
    case 28:
        return 17;
    case 17:
        return 28;
    default:
        return 0;
    }
}

struct TTrap {
    int aSquare, xSquare, closing, corner;
};

constexpr TTrap kTraps[8] = {
    {31, 22, 13, 11}, {61, 72, 83, 81}, {38, 27, 16, 18}, {68, 77, 86, 88},
    {13, 22, 31, 11}, {83, 72, 61, 81}, {16, 27, 38, 18}, {86, 77, 68, 88},
};

} // namespace

bool OpensCorner(const TSearchContext& ctx, const TFlipGrid& oppAfter) {
    for (int k : kCorners) {
        if (ctx.O(k) < oppAfter[k]) return true;
    }
    return false;
}

bool OpensCornerOn(const TSearchContext& ctx, const TField& after) {
    for (int k : kCorners) {
        if (ctx.O(k) < FlipsAt(after, k, OtherSide(ctx.Side))) return true;
    }
    return false;
}

void Accept(TSearchContext& ctx, int cell) {
    // Every rule tests W before proposing; a zero weight here is a rule bug.
    assert(ctx.W(cell) != 0);
    ctx.game.MovePriority = ctx.W(cell);
    ctx.game.MoveColumn = ColumnOf(cell);
    ctx.game.MoveRow = RowOf(cell);
}

void Propose(TSearchContext& ctx, int cell) {
    if (ctx.Mode == kModeRules) {
        if (ctx.P() >= ctx.W(cell)) return;
        if (OpponentCanWipeOut(ctx, cell)) return;
    }
    Accept(ctx, cell);
}

void TryPlain(TSearchContext& ctx, int cell) {
    if (ctx.W(cell) > ctx.P()) Propose(ctx, cell);
}

void TryCornerSafe(TSearchContext& ctx, int cell) {
    if (ctx.W(cell) <= ctx.P()) return;
    if (!OpensCornerOn(ctx, After(ctx.Board, cell, ctx.Side))) Propose(ctx, cell);
}

void TryEdgeSafe(TSearchContext& ctx, int cell) {
    if (ctx.W(cell) <= ctx.P()) return;
    const TField b1 = After(ctx.Board, cell, ctx.Side);
    const TFlipGrid g1 = GridOf(b1, OtherSide(ctx.Side));
    if (OpensCorner(ctx, g1)) return;
    if (EdgeRepliesSafe(ctx, cell, b1, g1)) Propose(ctx, cell);
}

void TryEdgeSafeWatch(TSearchContext& ctx, int cell, int watched) {
    if (ctx.W(cell) <= ctx.P()) return;
    if (ctx.O(watched) != 0) {
        TryEdgeSafe(ctx, cell);
        return;
    }
    if (FlipsAt(After(ctx.Board, cell, ctx.Side), watched, OtherSide(ctx.Side)) == 0)
        TryEdgeSafe(ctx, cell);
}

void TryEdgeSafeKeep(TSearchContext& ctx, int cell, int watched) {
    if (ctx.W(cell) <= ctx.P()) return;
    if (After(ctx.Board, cell, ctx.Side)[watched] == ctx.Board[watched]) TryEdgeSafe(ctx, cell);
}

void TryCSquare(TSearchContext& ctx, int cell) {
    const int partner = PartnerCSquare(cell);
    if (partner != 0)
        TryEdgeSafeWatch(ctx, cell, partner);
    else
        TryEdgeSafe(ctx, cell);
}

void PrepareFor(TSearchContext& ctx, int target) {
    int best = 0;
    int bestCount = 0;
    ForEachLegalRowMajor(ctx.Cand, [&](int cell) {
        const int count = FlipsAt(After(ctx.Board, cell, ctx.Side), target, ctx.Side);
        if (count > bestCount) {
            bestCount = count;
            best = cell;
        }
    });
    if (best != 0) Propose(ctx, best);
}

bool XSquareTrap(const TSearchContext& ctx, int aSquare) {
    for (const TTrap& trap : kTraps) {
        if (trap.aSquare == aSquare)
            return ctx.IsX(trap.xSquare) && ctx.IsM(trap.closing) && ctx.IsEmpty(trap.corner);
    }
    return false;
}

} // namespace dorvane
