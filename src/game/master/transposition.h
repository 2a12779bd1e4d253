// A fixed-size table of what the searches learned about positions: bounds of
// their value and the best move, kept by the depth they were searched to (a
// solved position counts as the deepest of all). The whole position is the
// key, so a hit is never a different position.
#pragma once

#include "bits.h"

#include <cstdint>
#include <vector>

namespace dorvane::master {

struct TTableEntry {
    TBits own = 0;
    TBits opp = 0;
    std::int16_t lower = 0;
    std::int16_t upper = 0;
    std::uint8_t depth = 0; // 0: unused
    std::uint8_t move = 64; // 64: none
};

inline constexpr int kSolvedDepth = 255;

class TTranspositionTable {
public:
    explicit TTranspositionTable(int bits = 20)
        : entries_(std::size_t{1} << bits), mask_((std::size_t{1} << bits) - 1) {}

    void Clear();
    // The entry for the position, or nullptr.
    const TTableEntry* Find(const TPosition& position) const {
        const TTableEntry& entry = entries_[Index(position)];
        return entry.depth != 0 && entry.own == position.own && entry.opp == position.opp ? &entry
                                                                                          : nullptr;
    }
    // Stores the result of a search of the position to `depth` that returned
    // `score` in the window (alpha, beta). An entry gives way only to a
    // search at least as deep, of its own position or another.
    void Store(const TPosition& position, int depth, int alpha, int beta, int score, int move);

private:
    std::size_t Index(const TPosition& position) const {
        const std::uint64_t h =
            (position.own * 0x9e3779b97f4a7c15ull) ^ (position.opp * 0xc2b2ae3d27d4eb4full);
        return static_cast<std::size_t>(h ^ (h >> 29)) & mask_;
    }

    std::vector<TTableEntry> entries_;
    std::size_t mask_;
};

} // namespace dorvane::master
