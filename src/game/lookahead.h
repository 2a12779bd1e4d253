// The high strength: every candidate move is played out to the end of the game
// with the rule cascade for both sides, and the candidate whose best finished
// line ends with the largest disc margin is chosen. Near the end of the game
// the playouts branch over every move at a few plies, and the opponent's
// replies are themselves chosen by playouts. The best line also gives the
// forecast of the final score that the hint window shows.
#pragma once

#include "board.h"
#include "search_context.h"

#include <atomic>
#include <cstdint>

namespace dorvane {

// Disc totals above which the search goes deeper: above 46 the opponent's
// replies are searched, the first branching level runs and X- and C-squares
// become candidates; above 53 and 59 the second and third branching levels.
inline constexpr int kReplySearchAbove = 46;
inline constexpr int kLevel3Above = 53;
inline constexpr int kLevel4Above = 59;

// The state of one look-ahead, shared by all of its levels.
struct TLookAheadState {
    std::int32_t Best = -65;  // best margin so far, mine - theirs; 65 = the other side wiped out
    std::uint8_t Found = 0;   // a line has been recorded
    std::uint8_t CandCol = 0; // the move under examination at the level that owns the result
    std::uint8_t CandRow = 0;
    std::uint8_t BestCol = 0; // the candidate that produced Best
    std::uint8_t BestRow = 0;
    std::uint8_t Passes = 0;       // consecutive passes in the current line
    std::uint8_t ForecastLock = 0; // set while the opponent's replies are searched
    std::uint8_t Stop2 = 0;        // set by a branching level that has played out its caller's line
    std::uint8_t Stop3 = 0;
    std::uint8_t Stop4 = 0;

    // The recorded line: its margin, whether there is one, and its candidate.
    void TakeRecord(const TLookAheadState& from) {
        Best = from.Best;
        Found = from.Found;
        BestCol = from.BestCol;
        BestRow = from.BestRow;
    }
};

class TSearchPool;

// Where a look-ahead may spread its work. Without a pool it runs serially on
// the calling thread and remembers nothing. With one, the root lines and the
// opponent's replies in each of them run on the pool's threads, and the rule
// cascade's answers are remembered per thread. The answer does not depend on
// either. When cancel is set (from any thread) the search ends soon with an
// answer nobody should use.
struct TLookAheadEnv {
    TSearchPool* pool = nullptr;
    const std::atomic<bool>* cancel = nullptr;
};

// Expects the context as FindMove sets it up: Board, Side, Cand and OppGrid of
// the live position, the move register cleared, MoveGrid = Cand. live are the
// disc counts the game window kept for the live position. Leaves the answer in
// the move register (priority 1 for a move the look-ahead found) and sets the
// forecast when a line was recorded.
void LookAhead(TSearchContext& ctx, const TDiscCounts& live, const TLookAheadEnv& env = {});

} // namespace dorvane
