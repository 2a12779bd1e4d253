#include "core/regular_file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dorvane {

namespace {

// The descriptor is closed whatever way the read ends.
class TDescriptor {
public:
    explicit TDescriptor(int fd) : fd_(fd) {}
    ~TDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

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

TFileBytes ReadRegularFile(const std::string& path, std::size_t maxBytes, bool noFollow) {
    TFileBytes out;
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (noFollow ? O_NOFOLLOW : 0);
    const TDescriptor fd(::open(path.c_str(), flags));
    if (fd.get() < 0) {
        out.failure = FailureOf(errno);
        return out;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        out.failure = TReadFailure::Unreadable;
        return out;
    }
    if (!S_ISREG(info.st_mode)) {
        out.failure = TReadFailure::NotRegular;
        return out;
    }
    if (info.st_size < 0 || static_cast<std::size_t>(info.st_size) > maxBytes) {
        out.failure = TReadFailure::TooLarge;
        return out;
    }
    // The size may change while reading: read to the end, but never past the
    // limit.
    out.bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t have = 0;
    for (;;) {
        if (have == out.bytes.size()) {
            if (out.bytes.size() > maxBytes) break;
            out.bytes.resize(out.bytes.size() + 4096);
        }
        const ssize_t got = ::read(fd.get(), out.bytes.data() + have, out.bytes.size() - have);
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

bool IsRegularFile(const std::string& path, bool noFollow, bool ownedByUser) {
    struct stat info {};
    const int result = noFollow ? ::lstat(path.c_str(), &info) : ::stat(path.c_str(), &info);
    if (result != 0 || !S_ISREG(info.st_mode)) return false;
    return !ownedByUser || info.st_uid == ::geteuid();
}

} // namespace dorvane
