#include "core/regular_file.h"

#include <cerrno>
#include <cstdlib>
#include <limits>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dorvane {

namespace {

TReadFailure FailureOf(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return TReadFailure::Missing;
    case ELOOP: // O_NOFOLLOW met a link
        return TReadFailure::NotRegular;
    default:
        return TReadFailure::Unreadable;
    }
}

} // namespace

TRegularFile TRegularFile::Open(const char* path, bool noFollow) {
    TRegularFile file;
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (noFollow ? O_NOFOLLOW : 0);
    file.fd_ = ::open(path, flags);
    if (file.fd_ < 0) {
        file.failure_ = FailureOf(errno);
        return file;
    }
    struct stat info {};
    if (::fstat(file.fd_, &info) != 0) {
        file.failure_ = TReadFailure::Unreadable;
    } else if (!S_ISREG(info.st_mode)) {
        file.failure_ = TReadFailure::NotRegular;
    } else if (info.st_size < 0) {
        file.failure_ = TReadFailure::Unreadable;
    } else {
        file.size_ = static_cast<std::uint64_t>(info.st_size);
        return file;
    }
    ::close(file.fd_);
    file.fd_ = -1;
    return file;
}

TRegularFile::TRegularFile(TRegularFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(other.size_), failure_(other.failure_) {}

TRegularFile& TRegularFile::operator=(TRegularFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        size_ = other.size_;
        failure_ = other.failure_;
    }
    return *this;
}

TRegularFile::~TRegularFile() {
    if (fd_ >= 0) ::close(fd_);
}

std::size_t TRegularFile::ReadAt(std::uint64_t offset, char* out, std::size_t n) const {
    if (fd_ < 0 || offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return 0;
    std::size_t have = 0;
    while (have < n) {
        const ssize_t got = ::pread(fd_, out + have, n - have, static_cast<off_t>(offset + have));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return 0;
        if (got == 0) break;
        have += static_cast<std::size_t>(got);
    }
    return have;
}

TFileBytes ReadRegularFile(const std::string& path, std::size_t maxBytes, bool noFollow) {
    TFileBytes out;
    const TRegularFile file = TRegularFile::Open(path, noFollow);
    if (!file.ok()) {
        out.failure = file.failure();
        return out;
    }
    if (file.size() > maxBytes) {
        out.failure = TReadFailure::TooLarge;
        return out;
    }
    // The size may change while reading: read to the end, but never past the
    // limit.
    out.bytes.resize(static_cast<std::size_t>(file.size()));
    std::size_t have = 0;
    for (;;) {
        if (have == out.bytes.size()) {
            if (out.bytes.size() > maxBytes) break;
            out.bytes.resize(out.bytes.size() + 4096);
        }
        const ssize_t got =
            ::read(file.descriptor(), out.bytes.data() + have, out.bytes.size() - have);
        if (got < 0) {
            if (errno == EINTR) continue;
            out.bytes.clear();
            out.failure = TReadFailure::Unreadable;
            return out;
        }
        if (got == 0) break;
        have += static_cast<std::size_t>(got);
    }
    out.bytes.resize(have);
    if (have > maxBytes) {
        out.bytes.clear();
        out.failure = TReadFailure::TooLarge;
    }
    return out;
}

bool ReplaceFileEntry(const std::string& path, const char* data, std::size_t size) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temporary = folder + "/." + name + ".XXXXXX";
    // mkstemp creates the file exclusively (O_EXCL) with mode 0600.
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return false;
    bool written = true;
    for (std::size_t done = 0; written && done < size;) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        written = n > 0;
        if (written) done += static_cast<std::size_t>(n);
    }
    written = written && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool MaySaveThrough(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return true;
    return info.st_uid == ::geteuid();
}

bool IsRegularFile(const std::string& path, bool noFollow, bool ownedByUser) {
    struct stat info {};
    const int result = noFollow ? ::lstat(path.c_str(), &info) : ::stat(path.c_str(), &info);
    if (result != 0 || !S_ISREG(info.st_mode)) return false;
    return !ownedByUser || info.st_uid == ::geteuid();
}

} // namespace dorvane
