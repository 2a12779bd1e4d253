// The methods of the computer player. Each leaves its answer in the move
// register of the context's game state: P > 0 and the cell, or P = 0 when the
// mover has no legal cell.
#pragma once

#include "search_context.h"

namespace dorvane {

void ChooseByRules(TSearchContext& ctx); // the "average" strength: the whole cascade
void CornerRules(TSearchContext& ctx);   // the cascade's first group: corners and edges
void SquareRules(TSearchContext& ctx);   // the cascade's second group
void ChooseSimple(TSearchContext& ctx);  // the "low" strength and the cascade's last resort

// SquareRules, telling which of its steps (counted from 1) made the proposal;
// 0 when none did.
int RunSquareRules(TSearchContext& ctx);
// CornerRules, telling likewise which of its thirty steps proposed.
int RunCornerRules(TSearchContext& ctx);

// Before the simple method takes over: a move that brings a corner nobody can
// take yet within the mover's reach. Keeps the register as it was when no such
// move is found.
void CornerPreparation(TSearchContext& ctx);

} // namespace dorvane
