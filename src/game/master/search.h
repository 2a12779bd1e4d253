// The master's search: iterative deepening of a negamax alpha-beta search
// with principal-variation windows and aspiration around the last score, a
// transposition table, and an exact solver for the last empty cells, all
// under one time budget and the caller's cancel flag.
//
// A search starts from an empty table, so a position the solver finishes
// gets the same move every time; only a search stopped by its budget depends
// on how far it got.
#pragma once

#include "bits.h"
#include "evaluation.h"
#include "transposition.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <vector>

namespace dorvane::master {

inline constexpr double kDefaultSeconds = 1.0;
inline constexpr double kMostSeconds = 2.0;

struct TLimits {
    double seconds = kDefaultSeconds; // clamped to kMostSeconds; 0 or less: no budget
    const std::atomic<bool>* cancel = nullptr;
    int maxDepth = 60;
    // Solve exactly from this many empty cells down; -1 picks by the budget.
    int solveEmpties = -1;
    // Score every move, not just the best (for hints and analysis).
    bool rankAll = false;
};

struct TMoveScore {
    int move = -1; // bit index
    int score = 0; // evaluation units for the mover
};

struct TSearchResult {
    int move = -1;        // bit index; -1 when the mover has no move or nothing was searched
    int score = 0;        // evaluation units for the mover (kDisc per disc)
    bool exact = false;   // score is the final margin under best play
    int depth = 0;        // the deepest completed iteration (the empties when exact)
    bool stopped = false; // the budget or the cancel flag ended it
    std::uint64_t nodes = 0;
    std::vector<TMoveScore> ranked; // with rankAll: every move, best first
};

class TMasterSearch {
public:
    explicit TMasterSearch(int tableBits = 20) : table_(tableBits) {}

    TSearchResult Search(const TPosition& position, const TLimits& limits = {});
    // The exact final margin for the mover, without a budget (the cancel
    // flag still ends it; the value is then meaningless).
    int Solve(const TPosition& position, const std::atomic<bool>* cancel = nullptr);

    std::uint64_t Nodes() const { return nodes_; }

private:
    struct TMove {
        TBits bit = 0;
        TBits flips = 0;
        int index = 0;
        int key = 0;
    };
    using TMoveList = std::array<TMove, 32>;

    void Start(const TLimits& limits);
    bool Stop();
    int OrderMoves(const TPosition& position, TBits moves, int hashMove, bool fastestFirst,
                   TMoveList& list) const;

    // Midgame: the iterations and one node.
    bool DeepenMidgame(const TPosition& position, const TLimits& limits, double share,
                       TSearchResult& result);
    int Root(const TPosition& position, int depth, int alpha, int beta, bool rankAll,
             std::vector<TMoveScore>& scores);
    int Pvs(const TPosition& position, int depth, int alpha, int beta, bool passed);

    // Endgame, in discs.
    bool SolveRoot(const TPosition& position, bool rankAll, TSearchResult& result);
    int SolveNode(const TPosition& position, int alpha, int beta, bool passed);
    int SolveSmall(const TPosition& position, int alpha, int beta, bool passed);
    int SolveLast(const TPosition& position);

    TTranspositionTable table_;
    std::uint64_t nodes_ = 0;
    std::chrono::steady_clock::time_point deadline_{};
    bool timed_ = false;
    const std::atomic<bool>* cancel_ = nullptr;
    bool stopped_ = false;
};

} // namespace dorvane::master
