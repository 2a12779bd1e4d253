// The simple method: corners, then the middle of the edges, then whatever
// flips most. The low strength plays it; the cascade falls back on it.
#include "board_cells.h"
#include "proposals.h"
#include "rules.h"

namespace dorvane {

namespace {

// Positions 3..6 of one edge, in the order the scan visits them.
using TEdgeRun = std::array<int, 4>;

constexpr TEdgeRun kRow1Up = {31, 41, 51, 61};
constexpr TEdgeRun kRow8Up = {38, 48, 58, 68};
constexpr TEdgeRun kColumn1Up = {13, 14, 15, 16};
constexpr TEdgeRun kColumn8Up = {83, 84, 85, 86};
constexpr TEdgeRun kRow1Down = {61, 51, 41, 31};
constexpr TEdgeRun kRow8Down = {68, 58, 48, 38};
constexpr TEdgeRun kColumn1Down = {16, 15, 14, 13};
constexpr TEdgeRun kColumn8Down = {86, 85, 84, 83};

// Draw2 picks the direction and the cycle of edges, Draw4 where in the cycle
// the scan starts.
constexpr std::array<TEdgeRun, 4> kAscendingCycle = {kRow1Up, kRow8Up, kColumn1Up, kColumn8Up};
constexpr std::array<TEdgeRun, 4> kDescendingCycle = {kColumn8Down, kColumn1Down, kRow8Down,
                                                      kRow1Down};

void TryCorners(TSearchContext& ctx) {
    for (int corner : {11, 81, 18, 88})
        TryPlain(ctx, corner);
}

void TryEdgeMiddles(TSearchContext& ctx) {
    const auto& cycle = ctx.Draw2 == 1 ? kDescendingCycle : kAscendingCycle;
    for (int i = 0; i < 4; ++i) {
        for (int s : cycle[(ctx.Draw4 + i) % 4]) {
            if (ctx.W(s) > ctx.P() && !XSquareTrap(ctx, s)) TryPlain(ctx, s);
        }
    }
}

// Every cell, the scan direction set by Draw4. A later cell must beat the best
// strictly, so among equal weights the first in this order wins.
void FullScan(TSearchContext& ctx) {
    const bool columnsDown = ctx.Draw4 == 1 || ctx.Draw4 == 3;
    const bool rowsDown = ctx.Draw4 >= 2;
    for (int i = 1; i <= 8; ++i) {
        const int column = columnsDown ? 9 - i : i;
        for (int j = 1; j <= 8; ++j)
            TryPlain(ctx, CellIndex(column, rowsDown ? 9 - j : j));
    }
}

} // namespace

void ChooseSimple(TSearchContext& ctx) {
    ctx.Mode = kModeSimple;
    TryCorners(ctx);
    if (ctx.P() != 0) return;
    TryEdgeMiddles(ctx);
    if (ctx.P() != 0) return;
    ctx.Mode = kModeFullScan;
    FullScan(ctx);
}

} // namespace dorvane
