// The bytes a tag reader looks at: a file's size and the pieces of it the
// reader asks for. The readers parse a source, never a path, so tests and
// fuzzers hand them bytes in memory and the program a file that is read
// piece by piece: a reader takes a tag, a frame header and the last 128
// bytes of a file that may be large, never the whole of it.
#pragma once

#include "core/regular_file.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace dorvane {

using TByteView = std::span<const std::uint8_t>;

class TTagSource {
public:
    virtual ~TTagSource() = default;
    virtual std::uint64_t size() const = 0;
    // Exactly n bytes at offset, valid until the next call; nothing when the
    // source has fewer or the read fails. Never reads past size().
    virtual std::optional<TByteView> bytes(std::uint64_t offset, std::size_t n) = 0;
};

class TMemoryTagSource final : public TTagSource {
public:
    explicit TMemoryTagSource(TByteView data) : data_(data) {}
    std::uint64_t size() const override { return data_.size(); }
    std::optional<TByteView> bytes(std::uint64_t offset, std::size_t n) override;

private:
    TByteView data_;
};

// A regular file read through a window: the readers walk tags a byte at a
// time, and one read of a page serves many of those steps. The window lives
// in the object (no allocation for the common case: a tag's first frames
// and the last 128 bytes).
class TFileTagSource final : public TTagSource {
public:
    explicit TFileTagSource(TRegularFile file) : file_(std::move(file)) {}
    std::uint64_t size() const override { return file_.size(); }
    std::optional<TByteView> bytes(std::uint64_t offset, std::size_t n) override;

private:
    static constexpr std::size_t kWindow = 16384;
    TRegularFile file_;
    std::array<std::uint8_t, kWindow> window_; // the file's bytes from windowStart_
    std::size_t windowSize_ = 0;
    std::uint64_t windowStart_ = 0;
    std::vector<std::uint8_t> large_; // a piece larger than the window
};

} // namespace dorvane
