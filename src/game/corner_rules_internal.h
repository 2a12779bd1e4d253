// The pieces of the corner and edge rule group, shared by its source files.
// Each step looks for one arrangement around a corner or along an edge and
// offers a cell through the proposal operations; the driver stops the group
// as soon as a step leaves a proposal in the move register.
#pragma once

#include "board_cells.h"
#include "search_context.h"

#include <array>

namespace dorvane::corner_rules {

// Corner numbers 0..3 (K1..K4) for the steps that visit every corner, and for
// those that start only from K1 and K3, which between them reach all four edges.
inline constexpr std::array<int, 4> kEachCorner = {0, 1, 2, 3};
inline constexpr std::array<int, 2> kK1AndK3 = {0, 2};

inline bool HasProposal(const TSearchContext& ctx) {
    return ctx.P() != 0;
}
inline bool IsLegal(const TSearchContext& ctx, int cell) {
    return ctx.W(cell) != 0;
}
inline bool Beats(const TSearchContext& ctx, int cell) {
    return ctx.W(cell) > ctx.P();
}

// Board with the mover's disc played at cell (the cell must be legal).
TField PlayedByMover(const TSearchContext& ctx, int cell);
// The flip grid of the mover (own) or of the opponent on a trial board.
TFlipGrid MoverGridOn(const TSearchContext& ctx, const TField& board);
TFlipGrid OpponentGridOn(const TSearchContext& ctx, const TField& board);

// The last legal cell (row-major) after which the opponent can no longer
// play at target, or 0 when there is none.
int LastCellClosing(const TSearchContext& ctx, int target);

// The corner window Q(u, v) of one corner, read on the working board.
class TCornerView {
public:
    TCornerView(const TSearchContext& ctx, int k) : ctx_(ctx), window_(CornerWindow(k)) {}

    int Q(int u, int v) const { return window_.Q(u, v); }
    bool M(int u, int v) const { return ctx_.IsM(Q(u, v)); }
    bool X(int u, int v) const { return ctx_.IsX(Q(u, v)); }
    bool Empty(int u, int v) const { return ctx_.IsEmpty(Q(u, v)); }
    bool Occupied(int u, int v) const { return ctx_.IsOccupied(Q(u, v)); }
    bool Beats(int u, int v) const { return ctx_.W(Q(u, v)) > ctx_.P(); }
    // Both C-squares and both A-squares of the corner hold the mover's discs.
    bool OwnEdgeShoulders() const { return M(1, 0) && M(0, 1) && M(2, 0) && M(0, 2); }

private:
    const TSearchContext& ctx_;
    TCornerWindow window_;
};

// The first corner in the standard order that holds the mover's disc, or -1.
int FirstOwnCorner(const TSearchContext& ctx);

// The C-squares of an own corner k whose A-square is taken.
void CSquareAtOwnCorner(TSearchContext& ctx, int k);

// The own edge run from L2 to L5 that the opponent can attack at L1 and that
// ends either against an own corner (through an opponent disc or a cell the
// opponent can take) or in an open own L6 before an empty far corner.
bool OwnRunUnderAttack(const TSearchContext& ctx, const TEdgeLine& line);

// The steps of the group, in the order the driver runs them.
void WipeOut(TSearchContext& ctx);
void LastTwoCells(TSearchContext& ctx);
void OpponentCornerFarCornerFree(TSearchContext& ctx);
void FreeCornerOpponentOnCSquare(TSearchContext& ctx);
void FreeCornerOpponentPair(TSearchContext& ctx);
void CornerGroup(TSearchContext& ctx);
void OpponentNextToFreeCorner(TSearchContext& ctx);
void CornerRace(TSearchContext& ctx);
void BlockOpponentBestCorner(TSearchContext& ctx);
void FillEdgeBetweenOpponentCorners(TSearchContext& ctx);
void NearlyFullEdge(TSearchContext& ctx);
void CloseBeforeOpponentFour(TSearchContext& ctx);
void CloseBeforeOpponentThree(TSearchContext& ctx);
void CloseBeforeOpponentTwo(TSearchContext& ctx);
void CloseBeforeOpponentOne(TSearchContext& ctx);
void LastGapOnOwnEdge(TSearchContext& ctx);
void OwnCornerDiagonalBlock(TSearchContext& ctx);
void RunAlongOwnEdge(TSearchContext& ctx);
void ReachFromOwnCorner(TSearchContext& ctx);
void OpponentRunFromFreeCorner(TSearchContext& ctx);
void CSquareAtOpponentCorner(TSearchContext& ctx);
void CornerThreat(TSearchContext& ctx);
void DefendOwnEdge(TSearchContext& ctx);
void SplitOpponentPair(TSearchContext& ctx);
void SplitOwnPair(TSearchContext& ctx);
void ExtendFromEmptyCorner(TSearchContext& ctx);
void OpenEdgeMoves(TSearchContext& ctx);
void CSquareBesideOpponentRun(TSearchContext& ctx);
void CloseBeforeOpponentAfterGap(TSearchContext& ctx);
void BlockBehindOwnCorner(TSearchContext& ctx);

// The corner decision for corner k (0..3): whether and how to take it now.
void CornerDecision(TSearchContext& ctx, int k);
// Prepares an own edge run for the corner k; true when a line fitted.
bool CornerSetUp(TSearchContext& ctx, int k);

} // namespace dorvane::corner_rules
