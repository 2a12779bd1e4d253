// The edge-line patterns of the corner group: moves along an edge judged by
// the discs around them, each line read from one of its corners.
#include "corner_rules_internal.h"
#include "proposals.h"

#include <span>

namespace dorvane::corner_rules {

namespace {

using TPattern = char[9];

// The cell a pattern proposes: its 'T'.
int ProposedStep(const TPattern& pattern) {
    for (int k = 0; k < 8; ++k)
        if (pattern[k] == 'T') return k;
    return 0;
}

// Each corner, each edge line matching one of the patterns (which all propose
// the same step of the line): TryPlain that cell if it beats P.
void TryPatterns(TSearchContext& ctx, std::span<const TPattern> patterns) {
    const int t = ProposedStep(patterns.front());
    for (int k : kEachCorner) {
        for (const TEdgeLine& L : EdgeLines(k)) {
            if (!Beats(ctx, L[t])) continue;
            for (const TPattern& pattern : patterns) {
                if (MatchesLine(ctx, L, pattern)) {
                    TryPlain(ctx, L[t]);
                    break;
                }
            }
        }
    }
}

// Lines whose ends at L2 and L5 hold `ends`: take L3 beside a `middle` disc
// at L4, or else L4 beside a `middle` disc at L3.
void SplitPair(TSearchContext& ctx, std::uint8_t ends, std::uint8_t middle) {
    for (int k : kK1AndK3) {
        for (const TEdgeLine& L : EdgeLines(k)) {
            if (!(ctx.B(L[2]) == ends && ctx.B(L[5]) == ends)) continue;
            if (Beats(ctx, L[3]) && ctx.B(L[4]) == middle)
                TryPlain(ctx, L[3]);
            else if (Beats(ctx, L[4]) && ctx.B(L[3]) == middle)
                TryPlain(ctx, L[4]);
        }
    }
}

} // namespace

// Own corner, empty C-square, and an opponent run of four from L3 on.
void CloseBeforeOpponentFour(TSearchContext& ctx) {
    static constexpr TPattern kPatterns[] = {"M.TXXXX?"};
    TryPatterns(ctx, kPatterns);
}

// An opponent run of three up to an empty L7, with an own disc behind L3.
void CloseBeforeOpponentThree(TSearchContext& ctx) {
    static constexpr TPattern kPatterns[] = {".M.TXXX.", "M.MTXXX."};
    TryPatterns(ctx, kPatterns);
}

// An opponent pair at L5 and L6 with own discs on the corner side of L4.
void CloseBeforeOpponentTwo(TSearchContext& ctx) {
    static constexpr TPattern kPatterns[] = {"?+M.TXX?", "M.MMTXX?", "MM.MTXX?"};
    TryPatterns(ctx, kPatterns);
}

// A lone opponent disc at L6 with own discs on the corner side of L5.
void CloseBeforeOpponentOne(TSearchContext& ctx) {
    static constexpr TPattern kPatterns[] = {"??.M.TX?", "?.MM.TX?", "+MMM.TX?",
                                             "M.MMMTX?", "MM.MMTX?", "MMM.MTX?"};
    TryPatterns(ctx, kPatterns);
}

// A lone opponent disc at L6 before an empty far corner, own discs beyond a gap.
void CloseBeforeOpponentAfterGap(TSearchContext& ctx) {
    static constexpr TPattern kPatterns[] = {"..M.MTX.", ".MM.MTX.", "MMM.MTX."};
    TryPatterns(ctx, kPatterns);
}

// An own corner's edge with a single gap left: fill it.
void LastGapOnOwnEdge(TSearchContext& ctx) {
    for (int k : kK1AndK3) {
        if (!ctx.IsM(kCorners[k])) continue;
        for (const TEdgeLine& L : EdgeLines(k)) {
            int gaps = 0;
            int gap = 0;
            for (int i = 1; i <= 7; ++i) {
                if (ctx.IsEmpty(L[i])) {
                    ++gaps;
                    gap = L[i];
                }
            }
            if (gaps == 1) TryCSquare(ctx, gap);
        }
    }
}

// Opponent discs at L2 and L5 with one of ours between them: join it.
void SplitOpponentPair(TSearchContext& ctx) {
    SplitPair(ctx, ctx.Opponent, ctx.Mover);
}

// Own discs at L2 and L5 with an opponent disc between them: close beside it.
void SplitOwnPair(TSearchContext& ctx) {
    SplitPair(ctx, ctx.Mover, ctx.Opponent);
}

// Next to an empty corner and C-square, extend an own run from the A-square
// by one, when the cell after it is empty and the next one not the mover's.
void ExtendFromEmptyCorner(TSearchContext& ctx) {
    for (int k : kEachCorner) {
        for (const TEdgeLine& L : EdgeLines(k)) {
            if (!(ctx.IsEmpty(L[0]) && ctx.IsEmpty(L[1]))) continue;
            if (ctx.IsM(L[2]) && Beats(ctx, L[3]) && ctx.IsEmpty(L[4]) && !ctx.IsM(L[5]))
                TryPlain(ctx, L[3]);
            else if (ctx.IsM(L[2]) && ctx.IsM(L[3]) && Beats(ctx, L[4]) && ctx.IsEmpty(L[5]) &&
                     !ctx.IsM(L[6]))
                TryPlain(ctx, L[4]);
        }
    }
}

// An edge with both corners and both C-squares still empty.
void OpenEdgeMoves(TSearchContext& ctx) {
    for (int k : kK1AndK3) {
        for (const TEdgeLine& L : EdgeLines(k)) {
            if (!(ctx.IsEmpty(L[0]) && ctx.IsEmpty(L[1]) && ctx.IsEmpty(L[6]) && ctx.IsEmpty(L[7])))
                continue;
            if (Beats(ctx, L[6]) && ctx.IsEmpty(L[4]) && ctx.IsEmpty(L[5]) && ctx.IsM(L[2]))
                TryPlain(ctx, L[6]);
            else if (Beats(ctx, L[3]) && ctx.IsEmpty(L[4]) && ctx.IsM(L[5]))
                TryPlain(ctx, L[3]);
            else if (ctx.IsM(L[2]) && ctx.IsEmpty(L[3]) && Beats(ctx, L[4]))
                TryPlain(ctx, L[4]);
            else if (Beats(ctx, L[2]) && ctx.IsM(L[3]) && ctx.IsM(L[5]))
                TryCornerSafe(ctx, L[2]);
            else if (ctx.IsM(L[2]) && ctx.IsM(L[4]) && Beats(ctx, L[5]))
                TryCornerSafe(ctx, L[5]);
        }
    }
}

// The C-square in front of an opponent disc at L2, when the discs beyond it
// take one of five shapes. Not beside an empty corner whose X-square the
// opponent holds.
void CSquareBesideOpponentRun(TSearchContext& ctx) {
    for (int k : kEachCorner) {
        if (ctx.IsEmpty(kCorners[k]) && ctx.IsX(kXSquares[k])) continue;
        for (const TEdgeLine& L : EdgeLines(k)) {
            if (!(Beats(ctx, L[1]) && ctx.IsX(L[2]))) continue;
            const bool fits = (ctx.IsM(L[3]) && ctx.IsEmpty(L[4]) &&
                               (ctx.IsEmpty(L[5]) || (!IsLegal(ctx, L[4]) && ctx.IsX(L[5])))) ||
                              (ctx.IsOccupied(L[3]) && ctx.IsM(L[4]) && ctx.IsEmpty(L[5]) &&
                               (ctx.IsEmpty(L[6]) || (!IsLegal(ctx, L[5]) && ctx.IsX(L[6])))) ||
                              (ctx.IsOccupied(L[3]) && ctx.IsM(L[4]) && ctx.IsM(L[5]) &&
                               ctx.IsEmpty(L[6]) && ctx.IsEmpty(L[7])) ||
                              (ctx.IsOccupied(L[3]) && ctx.IsM(L[4]) && ctx.IsM(L[5]) &&
                               ctx.IsM(L[6]) && !ctx.IsX(L[7])) ||
                              (ctx.IsX(L[3]) && ctx.IsX(L[4]) && ctx.IsM(L[5]) &&
                               ctx.IsEmpty(L[6]) && ctx.IsEmpty(L[7]));
            if (fits) TryPlain(ctx, L[1]);
        }
    }
}

} // namespace dorvane::corner_rules
