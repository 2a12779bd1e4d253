// The second rule group: the squares of the edges and of the board's inner
// rings, tried after the corner patterns have found nothing.
#include "board_cells.h"
#include "proposals.h"
#include "rules.h"

namespace dorvane {

namespace {

// A cell on an edge seen along that edge: p is its position (the column for
// the top and bottom rows, the row for the outer columns), n(k) the cell k
// steps towards higher p. Positions past the ends of the edge read as empty.
class TEdgeView {
public:
    TEdgeView(const TSearchContext& ctx, int cell)
        : ctx_(ctx), cell_(cell), alongRow_(RowOf(cell) == 1 || RowOf(cell) == 8),
          p_(alongRow_ ? ColumnOf(cell) : RowOf(cell)) {}

    int p() const { return p_; }
    bool M(int k) const { return Value(k) == ctx_.Mover; }
    bool X(int k) const { return Value(k) == ctx_.Opponent; }
    bool Empty(int k) const { return Value(k) == 0; }

private:
    std::uint8_t Value(int k) const {
        if (p_ + k < 1 || p_ + k > 8) return 0;
        return ctx_.Board[cell_ + k * (alongRow_ ? 10 : 1)];
    }

    const TSearchContext& ctx_;
    int cell_;
    bool alongRow_;
    int p_;
};

// The new disc would join an own disc that backs onto an opponent disc while
// the cell on its other side stays empty: the opponent plays there and takes
// both.
bool LeavesWedge(const TEdgeView& n) {
    return (n.Empty(+1) && n.M(-1) && n.X(-2)) || (n.Empty(-1) && n.M(+1) && n.X(+2));
}

// Reasons not to play an edge cell even though it is legal.
bool SafeEdgeRefused(const TSearchContext& ctx, int s) {
    const TEdgeView n(ctx, s);
    const int p = n.p();
    const bool emptyCToOwnCorner =
        (p == 3 && n.Empty(-1) && n.M(-2)) || (p == 6 && n.Empty(+1) && n.M(+2));
    const bool wedgedBetweenOpponents =
        (p == 4 && n.X(-1) && n.X(+1) && n.Empty(+2) && n.M(+3) && n.Empty(+4)) ||
        (p == 5 && n.X(+1) && n.X(-1) && n.Empty(-2) && n.M(-3) && n.Empty(-4));
    const bool completesTakeableRun =
        n.M(-1) && n.M(+1) && ((n.X(-2) && n.Empty(+2)) || (n.X(+2) && n.Empty(-2)));
    const int w = ctx.W(s);
    const int xNeighbours = (n.X(-1) ? 1 : 0) + (n.X(+1) ? 1 : 0);
    const bool weakAlongEdge =
        (xNeighbours == 1 && w <= 100) || (xNeighbours == 2 && w > 100 && w <= 200);
    return emptyCToOwnCorner || LeavesWedge(n) || wedgedBetweenOpponents || completesTakeableRun ||
           XSquareTrap(ctx, s) || weakAlongEdge;
}

void SafeEdgeMove(TSearchContext& ctx, int s) {
    if (ctx.W(s) <= ctx.P() || SafeEdgeRefused(ctx, s)) return;
    TryEdgeSafe(ctx, s);
}

void CautiousEdgeMove(TSearchContext& ctx, int s) {
    if (ctx.W(s) <= ctx.P()) return;
    const TEdgeView n(ctx, s);
    const bool gapToOwnDisc = (n.Empty(-1) && n.M(-2)) || (n.Empty(+1) && n.M(+2));
    if (gapToOwnDisc || LeavesWedge(n) || XSquareTrap(ctx, s)) return;
    TryCornerSafe(ctx, s);
}

enum class TPrepareKind { AllEdges, CornersOnly };

// The interior moves and the grids after each, built once per run of the
// group: the preparation steps ask the same question of up to twenty targets,
// and the answers depend only on the board, which no rule changes.
class TInteriorReplies {
public:
    template <typename Visit> void ForEach(const TSearchContext& ctx, Visit visit) {
        if (!built_) Build(ctx);
        for (int i = 0; i < count_; ++i)
            visit(entries_[i]);
    }

    struct Entry {
        int cell;
        TField after;
        TFlipGrid own;    // the mover's grid after the move
        TFlipGrid theirs; // the opponent's, filled on first use
        bool theirsReady;
    };

private:
    void Build(const TSearchContext& ctx) {
        built_ = true;
        ForEachInnerCell([&](int m) {
            if (ctx.W(m) == 0) return;
            Entry& e = entries_[count_++];
            e.cell = m;
            e.after = ctx.Board;
            ApplyMove(e.after, ColumnOf(m), RowOf(m), ctx.Side);
            CountFlips(e.own, e.after, ctx.Side);
            e.theirsReady = false;
        });
    }

    bool built_ = false;
    int count_ = 0;
    std::array<Entry, 32> entries_; // rows and columns 2..7 without the X-squares
};

// An interior move that brings the target within the mover's reach, provided
// it gives the opponent nothing more on the edges (or at the corners).
void InteriorPreparation(TSearchContext& ctx, TInteriorReplies& replies, int target,
                         TPrepareKind kind) {
    replies.ForEach(ctx, [&](TInteriorReplies::Entry& e) {
        if (e.own[target] <= ctx.W(target)) return;
        if (!e.theirsReady) {
            CountFlips(e.theirs, e.after, OtherSide(ctx.Side));
            e.theirsReady = true;
        }
        const auto noWorse = [&](int cell) { return e.theirs[cell] <= ctx.O(cell); };
        const bool safe =
            kind == TPrepareKind::AllEdges ? AllEdgeCells(noWorse) : AllOf(kCorners, noWorse);
        if (safe) TryPlain(ctx, e.cell);
    });
}

// The cell of the second row (or column) with its line running away from the
// near edge: e is the edge cell in front of it, s[1..4] the next four cells.
void SecondRowPush(TSearchContext& ctx, int s) {
    if (ctx.W(s) <= ctx.P()) return;
    const int column = ColumnOf(s);
    const int row = RowOf(s);
    int away = 0;
    if (row == 2)
        away = 1;
    else if (row == 7)
        away = -1;
    else if (column == 2)
        away = 10;
    else
        away = -10;
    const int e = s - away;
    const bool opened = ctx.IsX(s + away) && ctx.IsM(s + 2 * away) && ctx.IsEmpty(s + 3 * away) &&
                        ctx.IsEmpty(s + 4 * away);
    if (ctx.IsOccupied(e) || opened) TryPlain(ctx, s);
}

// A cell of the centre's outer ring, looked at along its side of the ring.
void InnerRingMove(TSearchContext& ctx, int s) {
    if (ctx.W(s) <= ctx.P()) return;
    const int row = RowOf(s);
    const int along = (row == 3 || row == 6) ? 10 : 1;
    const int a = s - along;
    const int b = s + along;
    const bool halfOpen = (ctx.IsX(a) && ctx.IsEmpty(b)) || (ctx.IsX(b) && ctx.IsEmpty(a));
    if (!halfOpen) TryPlain(ctx, s);
}

void DiagonalXSquare(TSearchContext& ctx, int corner) {
    const TCornerWindow q = CornerWindow(corner);
    if (ctx.W(q.Q(1, 1)) <= ctx.P() || ctx.IsOccupied(corner)) return;
    for (int k = 2; k <= 5; ++k) {
        if (ctx.IsEmpty(q.Q(k, k))) return;
    }
    TryCornerSafe(ctx, q.Q(1, 1));
}

// Edge by edge: top, right, bottom, left.
constexpr TRotatedCells kASquaresRotated = {{{31, 61}, {83, 86}, {68, 38}, {16, 13}}};
constexpr TRotatedCells kBSquaresRotated = {{{41, 51}, {84, 85}, {58, 48}, {15, 14}}};
constexpr TRotatedCells kSecondRowRotated = {{{32, 62}, {73, 76}, {67, 37}, {26, 23}}};
constexpr TRotatedCells kInnerRingRotated = {{{43, 53}, {64, 65}, {56, 46}, {35, 34}}};
constexpr TRotatedCells kSecondRowMiddleRotated = {{{42, 52}, {74, 75}, {57, 47}, {25, 24}}};

constexpr std::array<int, 8> kCSquares = {21, 12, 71, 82, 78, 87, 28, 17};
constexpr std::array<int, 8> kSecondRow = {32, 62, 73, 76, 67, 37, 26, 23};
constexpr std::array<int, 4> kInnerCorners = {33, 63, 66, 36}; // beside X-squares 22, 72, 77, 27

using TStep = void (*)(TSearchContext&, TInteriorReplies&);

constexpr TStep kSteps[] = {
    [](TSearchContext& ctx, TInteriorReplies&) {
        ForRotated(ctx.Draw4, kASquaresRotated, [&](int s) { SafeEdgeMove(ctx, s); });
    },
    [](TSearchContext& ctx, TInteriorReplies& replies) {
        for (int t : kASquares)
            InteriorPreparation(ctx, replies, t, TPrepareKind::AllEdges);
    },
    [](TSearchContext& ctx, TInteriorReplies&) {
        ForRotated(ctx.Draw4, kBSquaresRotated, [&](int s) { SafeEdgeMove(ctx, s); });
    },
    [](TSearchContext& ctx, TInteriorReplies& replies) {
        for (int t : kBSquares)
            InteriorPreparation(ctx, replies, t, TPrepareKind::AllEdges);
    },
    [](TSearchContext& ctx, TInteriorReplies& replies) {
        for (int k = 0; k < 4; ++k) {
            if (ctx.IsX(kXSquares[k]) && ctx.IsEmpty(kCorners[k]))
                InteriorPreparation(ctx, replies, kCorners[k], TPrepareKind::CornersOnly);
        }
    },
    [](TSearchContext& ctx, TInteriorReplies&) {
        ForRotated(ctx.Draw4, kSecondRowRotated, [&](int s) { SecondRowPush(ctx, s); });
    },
    [](TSearchContext& ctx, TInteriorReplies&) {
        for (int s : kInnerCorners)
            TryPlain(ctx, s);
    },
    [](TSearchContext& ctx, TInteriorReplies&) {
        ForRotated(ctx.Draw4, kInnerRingRotated, [&](int s) { InnerRingMove(ctx, s); });
    },
    [](TSearchContext& ctx, TInteriorReplies&) {
        ForRotated(ctx.Draw4, kInnerRingRotated, [&](int s) { TryPlain(ctx, s); });
    },
    [](TSearchContext& ctx, TInteriorReplies&) {
        ForRotated(ctx.Draw4, kSecondRowMiddleRotated, [&](int s) { TryPlain(ctx, s); });
    },
    [](TSearchContext& ctx, TInteriorReplies&) {
        for (int s : kCSquares)
            TryEdgeSafe(ctx, s);
    },
    [](TSearchContext& ctx, TInteriorReplies&) {
        for (int s : kSecondRow)
            TryPlain(ctx, s);
    },
    [](TSearchContext& ctx, TInteriorReplies&) {
        for (int s : kASquares)
            CautiousEdgeMove(ctx, s);
    },
    [](TSearchContext& ctx, TInteriorReplies&) {
        for (int s : kBSquares)
            CautiousEdgeMove(ctx, s);
    },
    [](TSearchContext& ctx, TInteriorReplies&) {
        for (int s : kASquares)
            TryCornerSafe(ctx, s);
    },
    [](TSearchContext& ctx, TInteriorReplies&) {
        for (int s : kBSquares)
            TryCornerSafe(ctx, s);
    },
    [](TSearchContext& ctx, TInteriorReplies&) {
        for (int k : kCorners)
            DiagonalXSquare(ctx, k);
    },
    [](TSearchContext& ctx, TInteriorReplies&) {
        for (int k = 0; k < 4; ++k) {
            if (ctx.IsOccupied(kCorners[k]) && ctx.IsOccupied(kInnerCorners[k]))
                TryPlain(ctx, kXSquares[k]);
        }
    },
};

} // namespace

int RunSquareRules(TSearchContext& ctx) {
    TInteriorReplies replies;
    int number = 0;
    for (TStep step : kSteps) {
        ++number;
        step(ctx, replies);
        if (ctx.P() != 0) return number;
    }
    return 0;
}

void SquareRules(TSearchContext& ctx) {
    RunSquareRules(ctx);
}

} // namespace dorvane
