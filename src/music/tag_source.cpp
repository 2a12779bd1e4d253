#include "music/tag_source.h"

namespace dorvane {

namespace {

bool Inside(std::uint64_t size, std::uint64_t offset, std::size_t n) {
    return offset <= size && n <= size - offset;
}

} // namespace

std::optional<TByteView> TMemoryTagSource::bytes(std::uint64_t offset, std::size_t n) {
    if (!Inside(data_.size(), offset, n)) return std::nullopt;
    return data_.subspan(static_cast<std::size_t>(offset), n);
}

std::optional<TByteView> TFileTagSource::bytes(std::uint64_t offset, std::size_t n) {
    // The size was taken when the file was opened; a file that has shrunk
    // since gives a short read, which fails below.
    if (!Inside(file_.size(), offset, n)) return std::nullopt;
    const bool inWindow = offset >= windowStart_ && n <= window_.size() &&
                          offset - windowStart_ <= window_.size() - n;
    if (inWindow)
        return TByteView(window_).subspan(static_cast<std::size_t>(offset - windowStart_), n);
    auto readInto = [&](std::vector<std::uint8_t>& buffer, std::size_t want) -> bool {
        buffer.resize(want);
        const std::size_t got = file_.ReadAt(offset, reinterpret_cast<char*>(buffer.data()), want);
        buffer.resize(got);
        return got >= n;
    };
    if (n > kWindow) {
        // n is within the file's size, which the caller has bounded.
        if (!readInto(large_, n)) return std::nullopt;
        return TByteView(large_);
    }
    windowStart_ = offset;
    const std::uint64_t rest = file_.size() - offset;
    if (!readInto(window_, rest < kWindow ? static_cast<std::size_t>(rest) : kWindow)) {
        window_.clear();
        return std::nullopt;
    }
    return TByteView(window_).first(n);
}

} // namespace dorvane
