// The answers of the rule cascade that a look-ahead has already worked out.
//
// Inside one search the lines meet the same positions again and again (the
// same moves in another order), and the cascade's answer depends on nothing
// but the position, the side to move and the search's two draws. So the
// look-ahead asks here first; the key is the whole position, so an answer
// found is exactly the one the cascade would give. A slot is overwritten by
// the next position that hashes to it. Made once; a search never allocates.
#pragma once

#include "bitboard.h"

#include <cstdint>
#include <memory>

namespace dorvane {

class TRulesCache {
public:
    struct TKey {
        TBits side1 = 0;
        TBits side2 = 0;
        std::uint8_t side = 0; // the mover, as SideToMove
        std::uint8_t draw2 = 0;
        std::uint8_t draw4 = 0;
    };
    struct TAnswer {
        std::int32_t priority = 0;
        std::uint8_t column = 0;
        std::uint8_t row = 0;
    };

    TRulesCache();
    bool Find(const TKey& key, TAnswer& answer) const;
    void Store(const TKey& key, const TAnswer& answer);

private:
    static constexpr int kIndexBits = 15;
    struct TEntry {
        TBits side1 = 0;
        TBits side2 = 0;
        std::int32_t priority = 0;
        std::uint8_t tag = 0; // 0 empty, else 1 | side << 1 | draw2 << 2 | draw4 << 3
        std::uint8_t column = 0;
        std::uint8_t row = 0;
    };
    static std::uint8_t TagOf(const TKey& key);
    static std::size_t IndexOf(const TKey& key);

    std::unique_ptr<TEntry[]> entries_;
};

} // namespace dorvane
