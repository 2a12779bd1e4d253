#include "transposition.h"

#include <algorithm>

namespace dorvane::master {

void TTranspositionTable::Clear() {
    std::fill(entries_.begin(), entries_.end(), TTableEntry{});
}

void TTranspositionTable::Store(const TPosition& position, int depth, int alpha, int beta,
                                int score, int move) {
    TTableEntry& entry = entries_[Index(position)];
    const bool same = entry.depth != 0 && entry.own == position.own && entry.opp == position.opp;
    if (entry.depth > depth) return;
    if (!same || entry.depth != depth) {
        entry = TTableEntry{
            position.own, position.opp, -32000, 32000, static_cast<std::uint8_t>(depth), 64};
    }
    // A fail-low gives an upper bound, a fail-high a lower one, a score
    // inside the window both.
    if (score < beta) entry.upper = static_cast<std::int16_t>(std::min<int>(entry.upper, score));
    if (score > alpha) entry.lower = static_cast<std::int16_t>(std::max<int>(entry.lower, score));
    if (move < 64 && (score > alpha || entry.move == 64))
        entry.move = static_cast<std::uint8_t>(move);
}

} // namespace dorvane::master
