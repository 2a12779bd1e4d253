// The history of one game: every position from the start, the cell of every
// move and who made it. Saved games carry this record byte for byte, so its
// layout is fixed: 61 positions of 100 bytes, 61 moves of 2 bytes (column,
// row) and 61 side flags, with no gaps - 6283 bytes.
#pragma once

#include "game/board.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace dorvane {

struct TMarch {
    static constexpr int kEntries = 61; // the start position and at most 60 moves

    std::array<TField, kEntries> Fields{};                     // position after move k
    std::array<std::array<std::uint8_t, 2>, kEntries> Moves{}; // column, row of move k
    std::array<std::uint8_t, kEntries> Who{};                  // side flag of move k's mover
};

static_assert(sizeof(TMarch) == 6283, "saved games store TMarch byte for byte");
static_assert(offsetof(TMarch, Moves) == 6100);
static_assert(offsetof(TMarch, Who) == 6222);

} // namespace dorvane
