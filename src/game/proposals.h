// The proposal operations through which every rule offers a cell. A rule
// never writes the move register itself. Unless said otherwise each is a
// no-op for a cell whose weight W does not beat the current best P.
#pragma once

#include "search_context.h"

namespace dorvane {

// P := W(c) and the register := c.
void Accept(TSearchContext& ctx, int cell);
// In rule mode: refuses when P >= W(c) or when some opponent reply after c
// would leave the mover without a disc (the wipe-out veto); otherwise Accept.
// In any other mode: Accept at once, without comparing with P.
void Propose(TSearchContext& ctx, int cell);
void TryPlain(TSearchContext& ctx, int cell);
// Proposes c only when the move gives the opponent no new or larger capture at
// any corner.
void TryCornerSafe(TSearchContext& ctx, int cell);
// The four-ply edge test.
void TryEdgeSafe(TSearchContext& ctx, int cell);
// TryEdgeSafe, provided the move does not open the watched cell to the opponent.
void TryEdgeSafeWatch(TSearchContext& ctx, int cell, int watched);
// TryEdgeSafe, provided the move does not flip the watched cell.
void TryEdgeSafeKeep(TSearchContext& ctx, int cell, int watched);
// For a C-square TryEdgeSafeWatch against the other C-square of its corner,
// for any other cell TryEdgeSafe.
void TryCSquare(TSearchContext& ctx, int cell);
// Proposes the legal cell that most raises the mover's own count at target.
void PrepareFor(TSearchContext& ctx, int target);
// After a move, the opponent's grid oppAfter shows a corner it could not take
// before, or a larger capture at one.
bool OpensCorner(const TSearchContext& ctx, const TFlipGrid& oppAfter);
// The same for the board after the move, without its whole grid.
bool OpensCornerOn(const TSearchContext& ctx, const TField& after);
// Playing the A-square would flip its X-square along the diagonal while the
// corner is empty.
bool XSquareTrap(const TSearchContext& ctx, int aSquare);

} // namespace dorvane
