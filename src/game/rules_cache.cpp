#include "rules_cache.h"

namespace dorvane {

TRulesCache::TRulesCache() : entries_(std::make_unique<TEntry[]>(std::size_t{1} << kIndexBits)) {}

std::uint8_t TRulesCache::TagOf(const TKey& key) {
    return static_cast<std::uint8_t>(1 | key.side << 1 | key.draw2 << 2 | key.draw4 << 3);
}

std::size_t TRulesCache::IndexOf(const TKey& key) {
    std::uint64_t h = key.side1 * 0x9E3779B97F4A7C15ull ^ key.side2 * 0xC2B2AE3D27D4EB4Full;
    h ^= TagOf(key);
    h *= 0x94D049BB133111EBull;
    return static_cast<std::size_t>(h >> (64 - kIndexBits));
}

bool TRulesCache::Find(const TKey& key, TAnswer& answer) const {
    const TEntry& entry = entries_[IndexOf(key)];
    if (entry.tag != TagOf(key) || entry.side1 != key.side1 || entry.side2 != key.side2)
        return false;
    answer = {entry.priority, entry.column, entry.row};
    return true;
}

void TRulesCache::Store(const TKey& key, const TAnswer& answer) {
    entries_[IndexOf(key)] = {key.side1,  key.side2,     answer.priority,
                              TagOf(key), answer.column, answer.row};
}

} // namespace dorvane
