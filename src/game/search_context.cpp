#include "search_context.h"

#include "bitboard.h"

#include <bit>

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

// The weight of one empty cell exactly as a scan of the opponent's discs in
// index order builds it: the discs next to e are met in descending order of
// the step d from the disc to e, and the edge-danger override replaces what
// the earlier runs added.
std::uint8_t WeightByScan(const TSearchContext& ctx, int e) {
    const TField& board = ctx.Board;
    std::uint8_t weight = 0;
    for (int i = 7; i >= 0; --i) {
        const int d = kCandidateDirections[i];
        const int p = e - d;
        if (board[p] != ctx.Opponent) continue;
        int m = 1;
        int q = p - d;
        while (board[q] == ctx.Opponent) {
            ++m;
            q -= d;
        }
        if (board[q] != ctx.Mover) continue;
        const bool edge = RunsAlongEdge(p, d);
        weight = static_cast<std::uint8_t>(weight + m + (edge ? 100 : 0));
        if (edge && OpponentBeyondClosingDisc(ctx, q, -d)) weight = 1;
    }
    return weight;
}

// The cells of the outer ring: the only ones a run along an edge can reach.
constexpr TBits kOuterRing = 0xFF818181818181FFull;

} // namespace

void ComputeCandidates(TSearchContext& ctx) {
    ctx.game.ClearMoveRegister();
    const TBits mover = DiscBits(ctx.Board, ctx.Mover);
    const TBits opponent = DiscBits(ctx.Board, ctx.Opponent);
    // Away from the edges a weight is the plain flip count. An edge cell may
    // have runs along its edge, with their bonus and override, so its weight
    // is built the long way.
    const TBits legal = FillFlipCounts(ctx.Cand, mover, opponent);
    for (TBits edge = legal & kOuterRing; edge != 0; edge &= edge - 1) {
        const int cell = CellOfBit(std::countr_zero(edge));
        ctx.Cand[static_cast<std::size_t>(cell)] = WeightByScan(ctx, cell);
    }
    const int moverCount = std::popcount(mover);
    const int opponentCount = std::popcount(opponent);
    ctx.game.DiscCount1 = ctx.Mover == 1 ? moverCount : opponentCount;
    ctx.game.DiscCount2 = ctx.Mover == 1 ? opponentCount : moverCount;
    FillFlipCounts(ctx.OppGrid, opponent, mover);
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
