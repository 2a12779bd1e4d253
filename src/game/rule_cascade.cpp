// The rule cascade of the average strength: the corner patterns, the square
// rules, a corner preparation, and the simple method as the last resort.
#include "proposals.h"
#include "rules.h"

namespace dorvane {

namespace {

// The chosen move would hand the opponent a corner, or a larger capture at
// one, that it does not have now.
bool GivesAwayCorner(const TSearchContext& ctx) {
    TField after = ctx.Board;
    ApplyMove(after, ctx.game.MoveColumn, ctx.game.MoveRow, ctx.Side);
    return OpensCornerOn(ctx, after);
}

} // namespace

void CornerPreparation(TSearchContext& ctx) {
    const int kept = ctx.P();
    ctx.game.MovePriority = 0;
    for (int k : kCorners) {
        if (ctx.W(k) == 0 && ctx.O(k) == 0) PrepareFor(ctx, k);
    }
    // The register's cell was never cleared, so restoring P restores the move.
    if (ctx.P() == 0) ctx.game.MovePriority = kept;
}

void ChooseByRules(TSearchContext& ctx) {
    ctx.Mode = kModeRules;
    CornerRules(ctx);
    if (ctx.P() != 0) return;
    SquareRules(ctx);
    if (ctx.P() > 0 && GivesAwayCorner(ctx)) CornerPreparation(ctx);
    if (ctx.P() != 0) return;
    CornerPreparation(ctx);
    if (ctx.P() == 0) ChooseSimple(ctx);
}

} // namespace dorvane
