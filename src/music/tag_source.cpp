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
    const TByteView window(window_.data(), windowSize_);
    if (offset >= windowStart_ && n <= windowSize_ && offset - windowStart_ <= windowSize_ - n)
        return window.subspan(static_cast<std::size_t>(offset - windowStart_), n);
    if (n > kWindow) {
        // n is within the file's size, which the caller has bounded.
        large_.resize(n);
        if (file_.ReadAt(offset, reinterpret_cast<char*>(large_.data()), n) != n)
            return std::nullopt;
        return TByteView(large_);
    }
    const std::uint64_t rest = file_.size() - offset;
    const std::size_t want = rest < kWindow ? static_cast<std::size_t>(rest) : kWindow;
    windowStart_ = offset;
    windowSize_ = file_.ReadAt(offset, reinterpret_cast<char*>(window_.data()), want);
    if (windowSize_ < n) return std::nullopt;
    return TByteView(window_.data(), n);
}

} // namespace dorvane
