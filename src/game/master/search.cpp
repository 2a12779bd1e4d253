#include "search.h"

#include <algorithm>

namespace dorvane::master {

namespace {

constexpr TBits kQuadrants[4] = {0x000000000f0f0f0full, 0x00000000f0f0f0f0ull,
                                 0x0f0f0f0f00000000ull, 0xf0f0f0f000000000ull};

// Half a disc either side of the last score.
constexpr int kAspiration = 50;
// Below this many empty cells the solver plays without the table and orders
// only by the parity of the board's quarters.
constexpr int kSmallSolve = 6;
// From this many empty cells the solver keeps what it finds in the table.
constexpr int kTableSolve = 10;
// Up to this many empty cells the solver is sure to finish within any budget.
constexpr int kSureSolve = 14;

int SolveEmptiesFor(double seconds) {
    if (seconds <= 0) return 64;
    return seconds >= 1.9    ? 20
           : seconds >= 0.9  ? 18
           : seconds >= 0.3  ? 17
           : seconds >= 0.08 ? 15
                             : 14;
}

// A cell's worth for ordering moves no search has ranked yet.
int SquareKey(TBits bit) {
    if (bit & kCornerBits) return 40;
    if (bit & kXBits) return -30;
    if (bit & kCBits) return -10;
    if (bit & kEdgeBits) return 5;
    return 0;
}

// The principal-variation loop over a node's moves, best key first (the
// earlier on a tie, so the order depends on the keys alone): the first move
// with the whole window, the others with a null window first. `value` is the
// child's value from the child's side for a window.
template <class TList, class TValue>
int BestOf(const TPosition& position, TList& list, int count, int alpha, int beta, int& bestMove,
           const bool& stopped, TValue value) {
    int best = -kInfinity;
    int a = alpha;
    for (int i = 0; i < count; ++i) {
        auto& move = *std::max_element(list.begin() + i, list.begin() + count,
                                       [](const auto& x, const auto& y) { return x.key < y.key; });
        std::swap(list[static_cast<std::size_t>(i)], move);
        const auto& next = list[static_cast<std::size_t>(i)];
        const TPosition child = position.After(next.bit, next.flips);
        int score;
        if (i == 0) {
            score = -value(child, -beta, -a);
        } else {
            score = -value(child, -a - 1, -a);
            if (score > a && score < beta) score = -value(child, -beta, -a);
        }
        if (stopped) return 0;
        if (score > best) {
            best = score;
            bestMove = next.index;
            if (score > a) {
                a = score;
                if (a >= beta) break;
            }
        }
    }
    return best;
}

} // namespace

void TMasterSearch::Start(const TLimits& limits) {
    nodes_ = 0;
    stopped_ = false;
    cancel_ = limits.cancel;
    timed_ = limits.seconds > 0;
    const double seconds = std::min(limits.seconds, kMostSeconds);
    deadline_ = std::chrono::steady_clock::now() +
                std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                    std::chrono::duration<double>(seconds));
}

bool TMasterSearch::Stop() {
    if (stopped_) return true;
    if ((nodes_ & 1023) != 0) return false;
    if ((cancel_ != nullptr && cancel_->load(std::memory_order_relaxed)) ||
        (timed_ && std::chrono::steady_clock::now() >= deadline_))
        stopped_ = true;
    return stopped_;
}

int TMasterSearch::OrderMoves(const TPosition& position, TBits moves, int hashMove,
                              bool fastestFirst, TMoveList& list) const {
    int count = 0;
    for (; moves != 0; moves &= moves - 1) {
        TMove& move = list[static_cast<std::size_t>(count++)];
        move.index = std::countr_zero(moves);
        move.bit = TBits{1} << move.index;
        move.flips = FlipsOf(move.bit, position.own, position.opp);
        if (move.index == hashMove) {
            move.key = 1 << 20;
        } else if (fastestFirst) {
            // Fewest replies first: the line that leaves the opponent least
            // to do is the likeliest best, and the cheapest to refute.
            const TPosition child = position.After(move.bit, move.flips);
            const TBits replies = child.Moves();
            move.key = -64 * (std::popcount(replies) + std::popcount(replies & kCornerBits)) +
                       SquareKey(move.bit);
        } else {
            move.key = SquareKey(move.bit);
        }
    }
    return count;
}

int TMasterSearch::Pvs(const TPosition& position, int depth, int alpha, int beta, bool passed) {
    ++nodes_;
    if (Stop()) return 0;
    if (depth <= 0)
        return position.Empty() == 0 ? FinalMargin(position) * kDisc : Evaluate(position);
    const TBits moves = position.Moves();
    if (moves == 0) {
        if (passed) return FinalMargin(position) * kDisc;
        return -Pvs(position.Passed(), depth, -beta, -alpha, true);
    }
    int hashMove = 64;
    if (const TTableEntry* entry = table_.Find(position)) {
        hashMove = entry->move;
        if (entry->depth >= depth) {
            if (entry->lower >= beta) return entry->lower;
            if (entry->upper <= alpha) return entry->upper;
            if (entry->lower == entry->upper) return entry->lower;
        }
    }
    TMoveList list;
    const int count = OrderMoves(position, moves, hashMove, depth >= 3, list);
    int bestMove = 64;
    const int best = BestOf(position, list, count, alpha, beta, bestMove, stopped_,
                            [this, depth](const TPosition& child, int lo, int hi) {
                                return Pvs(child, depth - 1, lo, hi, false);
                            });
    if (stopped_) return 0;
    table_.Store(position, depth, alpha, beta, best, bestMove);
    return best;
}

int TMasterSearch::Root(const TPosition& position, int depth, int alpha, int beta, bool rankAll,
                        std::vector<TMoveScore>& scores) {
    // The moves come in the order of the last iteration's scores.
    std::stable_sort(scores.begin(), scores.end(),
                     [](const TMoveScore& x, const TMoveScore& y) { return x.score > y.score; });
    int best = -kInfinity;
    std::size_t bestAt = 0;
    int a = alpha;
    for (std::size_t i = 0; i < scores.size(); ++i) {
        const TBits bit = TBits{1} << scores[i].move;
        const TPosition child = position.After(bit, FlipsOf(bit, position.own, position.opp));
        int score;
        if (rankAll) {
            score = -Pvs(child, depth - 1, -kInfinity, kInfinity, false);
        } else if (i == 0) {
            score = -Pvs(child, depth - 1, -beta, -a, false);
        } else {
            score = -Pvs(child, depth - 1, -a - 1, -a, false);
            if (score > a && score < beta) score = -Pvs(child, depth - 1, -beta, -a, false);
        }
        if (stopped_) return 0;
        scores[i].score = score;
        if (score > best) {
            best = score;
            bestAt = i;
            if (score > a) a = score;
            if (!rankAll && a >= beta) break;
        }
    }
    std::rotate(scores.begin(), scores.begin() + static_cast<std::ptrdiff_t>(bestAt),
                scores.begin() + static_cast<std::ptrdiff_t>(bestAt) + 1);
    return best;
}

bool TMasterSearch::DeepenMidgame(const TPosition& position, const TLimits& limits, double share,
                                  TSearchResult& result) {
    const auto start = std::chrono::steady_clock::now();
    const double budget = std::min(limits.seconds, kMostSeconds) * share;
    TMoveList list;
    const int count = OrderMoves(position, position.Moves(), 64, true, list);
    std::vector<TMoveScore> scores;
    for (int i = 0; i < count; ++i)
        scores.push_back(
            {list[static_cast<std::size_t>(i)].index, list[static_cast<std::size_t>(i)].key});
    const int most = std::min(limits.maxDepth, position.Empties());
    int last = 0;
    bool any = false;
    for (int depth = 1; depth <= most; ++depth) {
        int alpha = -kInfinity;
        int beta = kInfinity;
        if (depth >= 3 && !limits.rankAll) {
            alpha = last - kAspiration;
            beta = last + kAspiration;
        }
        int score = 0;
        for (;;) {
            score = Root(position, depth, alpha, beta, limits.rankAll, scores);
            if (stopped_) break;
            if (score <= alpha)
                alpha = -kInfinity;
            else if (score >= beta)
                beta = kInfinity;
            else
                break;
        }
        if (stopped_) break;
        any = true;
        last = score;
        result.move = scores.front().move;
        result.score = score;
        result.depth = depth;
        result.exact = depth == position.Empties();
        if (limits.rankAll) {
            result.ranked = scores;
            std::stable_sort(
                result.ranked.begin(), result.ranked.end(),
                [](const TMoveScore& x, const TMoveScore& y) { return x.score > y.score; });
        }
        // An iteration takes some times longer than the last; one that is
        // unlikely to finish is not begun.
        const double spent =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (limits.seconds > 0 && spent > budget * 0.4) break;
    }
    return any;
}

int TMasterSearch::SolveLast(const TPosition& position) {
    const TBits bit = position.Empty();
    if (const TBits flips = FlipsOf(bit, position.own, position.opp); flips != 0)
        return 2 * (std::popcount(position.own) + std::popcount(flips) + 1) - 64;
    if (const TBits flips = FlipsOf(bit, position.opp, position.own); flips != 0)
        return 64 - 2 * (std::popcount(position.opp) + std::popcount(flips) + 1);
    return FinalMargin(position);
}

int TMasterSearch::SolveSmall(const TPosition& position, int alpha, int beta, bool passed) {
    ++nodes_;
    if (Stop()) return 0;
    const TBits empty = position.Empty();
    if (empty == 0) return FinalMargin(position);
    if ((empty & (empty - 1)) == 0) return SolveLast(position);
    // A move into a quarter with an odd number of empty cells first: the
    // side that plays last in a region tends to keep it.
    TBits odd = 0;
    for (const TBits quadrant : kQuadrants)
        if (std::popcount(empty & quadrant) & 1) odd |= quadrant;
    int best = -kInfinity;
    int a = alpha;
    for (const TBits group : {empty & odd, empty & ~odd}) {
        for (TBits cells = group; cells != 0; cells &= cells - 1) {
            const TBits bit = cells & (~cells + 1);
            const TBits flips = FlipsOf(bit, position.own, position.opp);
            if (flips == 0) continue;
            const int score = -SolveSmall(position.After(bit, flips), -beta, -a, false);
            if (score > best) {
                best = score;
                if (score > a) {
                    a = score;
                    if (a >= beta) return best;
                }
            }
        }
    }
    if (best != -kInfinity) return best;
    if (passed) return FinalMargin(position);
    return -SolveSmall(position.Passed(), -beta, -alpha, true);
}

int TMasterSearch::SolveNode(const TPosition& position, int alpha, int beta, bool passed) {
    if (position.Empties() <= kSmallSolve) return SolveSmall(position, alpha, beta, passed);
    ++nodes_;
    if (Stop()) return 0;
    const TBits moves = position.Moves();
    if (moves == 0) {
        if (passed) return FinalMargin(position);
        return -SolveNode(position.Passed(), -beta, -alpha, true);
    }
    // The opponent's stable discs stay his: the mover can do no better
    // than take every other disc.
    if (alpha > 0) {
        const int most = 64 - 2 * std::popcount(StableDiscs(position.opp, position.own));
        if (most <= alpha) return most;
    }
    int hashMove = 64;
    const bool useTable = position.Empties() >= kTableSolve;
    if (const TTableEntry* entry = useTable ? table_.Find(position) : nullptr) {
        hashMove = entry->move;
        if (entry->depth == kSolvedDepth) {
            const int lower = entry->lower / kDisc;
            const int upper = entry->upper / kDisc;
            if (lower >= beta) return lower;
            if (upper <= alpha) return upper;
            if (lower == upper) return lower;
        }
    }
    TMoveList list;
    const int count = OrderMoves(position, moves, hashMove, true, list);
    int bestMove = 64;
    const int best = BestOf(
        position, list, count, alpha, beta, bestMove, stopped_,
        [this](const TPosition& child, int lo, int hi) { return SolveNode(child, lo, hi, false); });
    if (stopped_) return 0;
    if (useTable)
        table_.Store(position, kSolvedDepth, alpha * kDisc, beta * kDisc, best * kDisc, bestMove);
    return best;
}

bool TMasterSearch::SolveRoot(const TPosition& position, bool rankAll, TSearchResult& result) {
    TMoveList list;
    const TTableEntry* entry = table_.Find(position);
    const int count = OrderMoves(position, position.Moves(), entry ? entry->move : 64, true, list);
    std::stable_sort(list.begin(), list.begin() + count,
                     [](const TMove& x, const TMove& y) { return x.key > y.key; });
    std::vector<TMoveScore> scores;
    int best = -kInfinity;
    int bestMove = -1;
    int a = -64;
    for (int i = 0; i < count; ++i) {
        const TMove& move = list[static_cast<std::size_t>(i)];
        const TPosition child = position.After(move.bit, move.flips);
        int score;
        if (rankAll) {
            score = -SolveNode(child, -64, 64, false);
        } else if (i == 0) {
            score = -SolveNode(child, -64, -a, false);
        } else {
            score = -SolveNode(child, -a - 1, -a, false);
            if (score > a) score = -SolveNode(child, -64, -a, false);
        }
        if (stopped_) return false;
        scores.push_back({move.index, score * kDisc});
        if (score > best) {
            best = score;
            bestMove = move.index;
            a = std::max(a, score);
        }
    }
    result.move = bestMove;
    result.score = best * kDisc;
    result.exact = true;
    result.depth = position.Empties();
    if (rankAll) {
        std::stable_sort(
            scores.begin(), scores.end(),
            [](const TMoveScore& x, const TMoveScore& y) { return x.score > y.score; });
        result.ranked = scores;
    }
    return true;
}

TSearchResult TMasterSearch::Search(const TPosition& position, const TLimits& limits) {
    Start(limits);
    TSearchResult result;
    const TBits moves = position.Moves();
    if (moves == 0) return result;
    const int empties = position.Empties();
    const int solveFrom =
        limits.solveEmpties >= 0 ? limits.solveEmpties : SolveEmptiesFor(limits.seconds);
    table_.Clear();
    bool done = false;
    if (empties <= solveFrom) {
        // A midgame answer to fall back on should the solver not finish.
        // Without a budget the solver always finishes.
        if (empties > kSureSolve && limits.seconds > 0)
            DeepenMidgame(position, limits, 0.2, result);
        // The solver starts from a table that only a search of fixed depth
        // has filled, so a solved position always gets the same move.
        TSearchResult solved;
        table_.Clear();
        std::vector<TMoveScore> scores;
        TMoveList list;
        const int count = OrderMoves(position, moves, 64, true, list);
        for (int i = 0; i < count; ++i)
            scores.push_back(
                {list[static_cast<std::size_t>(i)].index, list[static_cast<std::size_t>(i)].key});
        const int prepDepth = std::clamp(empties - 12, 0, 8);
        for (int depth = 1; depth <= prepDepth && !stopped_; ++depth)
            Root(position, depth, -kInfinity, kInfinity, false, scores);
        if (!stopped_ && SolveRoot(position, limits.rankAll, solved)) {
            solved.nodes = nodes_;
            return solved;
        }
        done = result.move >= 0;
    } else {
        done = DeepenMidgame(position, limits, 1.0, result);
    }
    result.stopped = stopped_;
    result.nodes = nodes_;
    if (!done) result.move = std::countr_zero(moves);
    return result;
}

int TMasterSearch::Solve(const TPosition& position, const std::atomic<bool>* cancel) {
    TLimits limits;
    limits.seconds = 0;
    limits.cancel = cancel;
    Start(limits);
    table_.Clear();
    return SolveNode(position, -64, 64, false);
}

} // namespace dorvane::master
