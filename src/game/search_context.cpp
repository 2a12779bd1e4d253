#include "search_context.h"

namespace dorvane {

namespace {

// Line directions as index steps, column step -1..+1 outer and row step
// -1..+1 inner. The edge-danger override below replaces what earlier runs
// have added to a cell; the runs into one cell start from different discs, so
// the column-major scan of the discs decides which of them come first.
constexpr int kCandidateDirections[8] = {-11, -10, -9, -1, 1, 9, 10, 11};

// A run along an edge: the opponent disc lies on an outer column and the line
// is vertical, or on an outer row and the line is horizontal.
bool RunsAlongEdge(int cell, int step) {
    const int column = ColumnOf(cell);
    const int row = RowOf(cell);
    const bool vertical = step == -1 || step == 1;
    const bool horizontal = step == -10 || step == 10;
    return ((column == 1 || column == 8) && vertical) || ((row == 1 || row == 8) && horizontal);
}

// After an edge move, a row of own discs that runs on into an opponent disc
// can be taken back at once along the edge. Looks at up to four cells past the
// closing disc; own discs are passed over, an empty cell or the end of the
// edge (the empty border ring) ends the look.
bool OpponentBeyondClosingDisc(const TSearchContext& ctx, int closing, int step) {
    int q = closing;
    for (int k = 0; k < 4; ++k) {
        q += step;
        const std::uint8_t value = ctx.Board[q];
        if (value == ctx.Opponent) return true;
        if (value != ctx.Mover) return false;
    }
    return false;
}

} // namespace

void ComputeCandidates(TSearchContext& ctx) {
    ctx.Cand.fill(0);
    ctx.game.ClearMoveRegister();
    const TField& board = ctx.Board;
    for (int p = 11; p <= 88; ++p) {
        if (board[p] != ctx.Opponent) continue;
        for (int d : kCandidateDirections) {
            const int e = p + d;
            if (board[e] != 0) continue;
            int m = 1;
            int q = p - d;
            while (board[q] == ctx.Opponent) {
                ++m;
                q -= d;
            }
            if (board[q] != ctx.Mover) continue;
            const bool edge = RunsAlongEdge(p, d);
            ctx.Cand[e] = static_cast<std::uint8_t>(ctx.Cand[e] + m + (edge ? 100 : 0));
            if (edge && OpponentBeyondClosingDisc(ctx, q, -d)) ctx.Cand[e] = 1;
        }
    }
    const TDiscCounts counts = CountDiscs(board);
    ctx.game.DiscCount1 = counts.side1;
    ctx.game.DiscCount2 = counts.side2;
    CountFlips(ctx.OppGrid, board, OtherSide(ctx.Side));
}

const std::array<TEdgeLine, 2>& EdgeLines(int corner) {
    static constexpr std::array<std::array<TEdgeLine, 2>, 4> kLines = [] {
        std::array<std::array<TEdgeLine, 2>, 4> lines{};
        // (corner cell, first step, second step), steps in the standard order.
        constexpr int kSetup[4][3] = {{11, 10, 1}, {81, -10, 1}, {88, -1, -10}, {18, -1, 10}};
        for (int k = 0; k < 4; ++k) {
            for (int l = 0; l < 2; ++l) {
                for (int i = 0; i < 8; ++i)
                    lines[k][l].L[i] = kSetup[k][0] + i * kSetup[k][1 + l];
            }
        }
        return lines;
    }();
    return kLines[corner];
}

TCornerWindow CornerWindow(int corner) {
    const int cell = corner < 4 ? kCorners[corner] : corner;
    return TCornerWindow{cell, ColumnOf(cell) == 1 ? 1 : -1, RowOf(cell) == 1 ? 1 : -1};
}

bool MatchesLine(const TSearchContext& ctx, const TEdgeLine& line, const char (&pattern)[9]) {
    for (int k = 0; k < 8; ++k) {
        const std::uint8_t value = ctx.Board[line[k]];
        bool ok = true;
        switch (pattern[k]) {
        case 'M':
            ok = value == ctx.Mover;
            break;
        case 'X':
            ok = value == ctx.Opponent;
            break;
        case '.':
        case 'T':
            ok = value == 0;
            break;
        case '-':
            ok = value != ctx.Mover;
            break;
        case '+':
            ok = value != ctx.Opponent;
            break;
        case 'o':
            ok = value != 0;
            break;
        default:
            break; // '?'
        }
        if (!ok) return false;
    }
    return true;
}

} // namespace dorvane
