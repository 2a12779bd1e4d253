// The bytes of a fuzz input as a tag reader's source, which aborts on a
// request the reader should never make: a piece larger than its limit.
#pragma once

#include "music/tag_source.h"

#include <cstdlib>

namespace dorvane::fuzz {

class TCheckedSource final : public TTagSource {
public:
    TCheckedSource(TByteView data, std::size_t largestPiece)
        : memory_(data), largestPiece_(largestPiece) {}
    std::uint64_t size() const override { return memory_.size(); }
    std::optional<TByteView> bytes(std::uint64_t offset, std::size_t n) override {
        if (n > largestPiece_) std::abort();
        ++requests;
        return memory_.bytes(offset, n);
    }
    std::size_t requests = 0;

private:
    TMemoryTagSource memory_;
    std::size_t largestPiece_;
};

} // namespace dorvane::fuzz
