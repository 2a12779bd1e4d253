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

} // namespace dorvane
