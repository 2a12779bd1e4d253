// Reading a file that someone named: only a regular file is read. A FIFO, a
// device or a socket under that name would block an open() or a read() for
// ever, so the file is opened without blocking and checked with fstat before
// a byte is read. Plain C++ (POSIX), so the engine tool shares it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dorvane {

enum class TReadFailure {
    Missing,    // no such file (or a link to none)
    NotRegular, // a folder, a FIFO, a device, a socket
    Unreadable, // no permission, an I/O error
    TooLarge,   // more than the caller's limit
};

struct TFileBytes {
    std::vector<char> bytes;             // when read
    std::optional<TReadFailure> failure; // set when nothing was read
    bool ok() const { return !failure.has_value(); }
};

// A regular file open for reading; the descriptor closes with the object. For
// readers that take a few pieces of a file that may be large (tags, headers)
// instead of all of it.
class TRegularFile {
public:
    // Opens path when it is a regular file (following links unless noFollow).
    static TRegularFile Open(const char* path, bool noFollow = false);
    static TRegularFile Open(const std::string& path, bool noFollow = false) {
        return Open(path.c_str(), noFollow);
    }

    TRegularFile(TRegularFile&& other) noexcept;
    TRegularFile& operator=(TRegularFile&& other) noexcept;
    TRegularFile(const TRegularFile&) = delete;
    TRegularFile& operator=(const TRegularFile&) = delete;
    ~TRegularFile();

    bool ok() const { return !failure_.has_value(); }
    std::optional<TReadFailure> failure() const { return failure_; }
    std::uint64_t size() const { return size_; } // at the time of opening
    int descriptor() const { return fd_; }

    // Reads up to n bytes at offset into out: the count read, which is short
    // at the end of the file and 0 on an error.
    std::size_t ReadAt(std::uint64_t offset, char* out, std::size_t n) const;

private:
    TRegularFile() = default;
    int fd_ = -1;
    std::uint64_t size_ = 0;
    std::optional<TReadFailure> failure_;
};

// Reads the whole file at path (the file system's own bytes) when it is a
// regular file of at most maxBytes bytes. With noFollow a symbolic link is
// not followed: the name itself must be a regular file.
TFileBytes ReadRegularFile(const std::string& path, std::size_t maxBytes, bool noFollow = false);

// Replaces the folder entry path by a new regular file holding data: the
// file is written under a fresh name beside it (created exclusively, mode
// 0600), flushed, and renamed over path. Whatever path was - a file, a
// symbolic link to anything - only the entry is replaced, nothing it pointed
// to is touched. False (and nothing changed) when any step fails.
bool ReplaceFileEntry(const std::string& path, const char* data, std::size_t size);

// What the name is, without opening it: a regular file (following links
// unless noFollow), and when ownedByUser also owned by the running user.
bool IsRegularFile(const std::string& path, bool noFollow = false, bool ownedByUser = false);

// Whether a save may go to path: anything but a symbolic link that another
// user made. In a shared sticky folder (/tmp) such a link may point at any
// of the user's files, and a save through it would overwrite that file.
bool MaySaveThrough(const std::string& path);

} // namespace dorvane
