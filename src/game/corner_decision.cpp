// Whether to take a corner now, and how to prepare one for later.
#include "corner_rules_internal.h"
#include "proposals.h"

namespace dorvane::corner_rules {

namespace {

// An own run from L2 to L5 against an opponent disc at L6, the far corner out
// of his reach: the corner makes the run safe.
bool CornerSealsOwnRun(const TSearchContext& ctx, const TEdgeLine& L) {
    return MatchesLine(ctx, L, "T.MMMMX.") && ctx.O(L[7]) == 0;
}

// An opponent run from the C-square that ends on an own disc before the far
// corner: the corner takes it back.
bool CornerTurnsOpponentRun(const TSearchContext& ctx, const TEdgeLine& L) {
    if (!ctx.IsX(L[1])) return false;
    int i = 2;
    while (i < 7 && ctx.IsX(L[i]))
        ++i;
    return i < 7 && ctx.IsM(L[i]);
}

// A line on which taking the corner now gives nothing away: the C-square is
// empty and the edge beyond it is open, or an own run ends on an occupied
// cell in front of a gap.
bool CornerLineOpen(const TSearchContext& ctx, const TEdgeLine& L) {
    if (!ctx.IsEmpty(L[1])) return false;
    if (ctx.IsEmpty(L[2]) || ctx.IsEmpty(L[3])) return true;
    return MatchesLine(ctx, L, "T.Mo.???") || MatchesLine(ctx, L, "T.MMo.??") ||
           MatchesLine(ctx, L, "T.MMMo.?");
}

} // namespace

void CornerDecision(TSearchContext& ctx, int k) {
    const int corner = kCorners[k];
    if (!Beats(ctx, corner)) return;
    const auto& lines = EdgeLines(k);

    for (const TEdgeLine& L : lines)
        if (CornerSealsOwnRun(ctx, L)) Propose(ctx, corner);
    if (HasProposal(ctx)) return;

    // An own run the opponent could attack from the C-square is better left
    // as it is, however much the corner would flip.
    for (const TEdgeLine& L : lines)
        if (OwnRunUnderAttack(ctx, L)) return;

    for (const TEdgeLine& L : lines)
        if (CornerTurnsOpponentRun(ctx, L)) TryEdgeSafe(ctx, corner);
    if (HasProposal(ctx)) return;

    if (CornerSetUp(ctx, k)) return;

    // Own discs around two empty C-squares: the corner can wait.
    const TCornerView q(ctx, k);
    if (q.Empty(0, 1) && q.Empty(1, 0) && q.M(0, 2) && q.M(2, 0) && q.M(1, 2) && q.M(2, 1)) return;

    for (const TEdgeLine& L : lines)
        if (CornerLineOpen(ctx, L)) TryEdgeSafe(ctx, corner);
    if (HasProposal(ctx)) return;

    // One C-square empty in front of an own A-square: take the corner only if
    // that keeps the C-square closed to the opponent.
    if (q.Empty(0, 1) && q.Occupied(1, 0) && q.M(0, 2))
        TryEdgeSafeWatch(ctx, corner, q.Q(0, 1));
    else if (q.Empty(1, 0) && q.Occupied(0, 1) && q.M(2, 0))
        TryEdgeSafeWatch(ctx, corner, q.Q(1, 0));
}

bool CornerSetUp(TSearchContext& ctx, int k) {
    const TCornerView q(ctx, k);
    if (!(q.Empty(0, 0) && q.Empty(0, 1) && q.Empty(1, 0) && q.M(1, 2) && q.M(2, 1))) return false;
    bool acted = false;
    for (const TEdgeLine& L : EdgeLines(k)) {
        if (!ctx.IsEmpty(L[1])) continue;
        bool ownRun = true;
        for (int i = 2; i <= 5; ++i)
            ownRun = ownRun && ctx.IsM(L[i]);
        const bool farEndSafe =
            (ctx.IsM(L[6]) && !ctx.IsX(L[7])) || (ctx.IsEmpty(L[6]) && ctx.IsEmpty(L[7]));
        if (!(ownRun && farEndSafe)) continue;
        // Fill the C-square without giving up the X-square, or work towards it.
        if (IsLegal(ctx, L[1]))
            TryEdgeSafeKeep(ctx, L[1], q.Q(1, 1));
        else
            PrepareFor(ctx, L[1]);
        acted = true;
    }
    return acted;
}

} // namespace dorvane::corner_rules
