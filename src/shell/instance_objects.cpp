#include "shell/instance_objects.h"

#include "core/hand_over_text.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace dorvane {

namespace {

constexpr int kBlockChars = kHandOverBlockBytes / 2;

// Opens a meeting point: never through a link, only a regular file of this
// user (a FIFO planted there must not block the start).
int OpenOwnFile(const QString& path, int flags) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          flags | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::getuid()) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

namespace {

// A folder only this user can enter: another user who could write there
// could remove the event and the socket, and two copies would run.
bool PrivateFolder(const QByteArray& path) {
    struct stat st {};
    return path.startsWith('/') && ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::getuid() && (st.st_mode & 07777) == 0700;
}

// Our own folder in the user's cache, made 0700 when missing (and put back
// to 0700 when it is ours with more access).
QByteArray CacheFolder() {
    QByteArray cache = qgetenv("XDG_CACHE_HOME");
    if (!cache.startsWith('/')) {
        const QByteArray home = qgetenv("HOME");
        if (!home.startsWith('/')) return {};
        cache = home + "/.cache";
    }
    const QByteArray kvo = cache + "/Kvo";
    const QByteArray folder = kvo + "/runtime";
    for (const QByteArray& level : {cache, kvo, folder})
        if (::mkdir(level.constData(), 0700) != 0 && errno != EEXIST) return {};
    struct stat st {};
    if (::lstat(folder.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid())
        ::chmod(folder.constData(), 0700);
    return PrivateFolder(folder) ? folder : QByteArray();
}

} // namespace

QString InstanceFolder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (PrivateFolder(runtime)) return QFile::decodeName(runtime);
    return QFile::decodeName(CacheFolder());
}

// --- The event --------------------------------------------------------------

TInstanceEvent::TInstanceEvent(QString path) : path_(std::move(path)) {}

TInstanceEvent::~TInstanceEvent() {
    Release();
}

bool TInstanceEvent::TryAcquire(std::chrono::milliseconds wait) {
    if (held_) return true;
    if (fd_ < 0) fd_ = OpenOwnFile(path_, O_RDWR | O_CREAT);
    if (fd_ < 0) return false;
    const auto until = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return held_ = true;
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void TInstanceEvent::Release() {
    if (fd_ >= 0) ::close(fd_); // closing drops the lock
    fd_ = -1;
    held_ = false;
}

// --- The hand-over block ----------------------------------------------------

THandOverBlock::~THandOverBlock() {
    Close();
}

void THandOverBlock::Close() {
    if (data_) ::munmap(data_, kHandOverBlockBytes);
    data_ = nullptr;
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (owner_) {
        // Only our own file goes: a copy that took over meanwhile has made a
        // new one at the same place.
        struct stat there {};
        const QByteArray name = QFile::encodeName(path_);
        if (::lstat(name.constData(), &there) == 0 && there.st_ino == inode_ &&
            there.st_dev == device_)
            ::unlink(name.constData());
        owner_ = false;
    }
}

bool THandOverBlock::Create(const QString& path, const QString& idleText) {
    Close();
    // A block left by a killed copy, or held by one that hangs, is replaced
    // by a new file; whoever still maps the old one keeps it to itself.
    const QByteArray name = QFile::encodeName(path);
    ::unlink(name.constData());
    const int fd = OpenOwnFile(path, O_RDWR | O_CREAT | O_EXCL);
    if (fd < 0) return false;
    void* map = MAP_FAILED;
    if (::ftruncate(fd, kHandOverBlockBytes) == 0 && ::flock(fd, LOCK_SH | LOCK_NB) == 0)
        map = ::mmap(nullptr, kHandOverBlockBytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (map == MAP_FAILED) {
        ::close(fd);
        ::unlink(name.constData());
        return false;
    }
    struct stat st {};
    ::fstat(fd, &st);
    inode_ = st.st_ino;
    device_ = st.st_dev;
    fd_ = fd;
    data_ = static_cast<char16_t*>(map);
    owner_ = true;
    path_ = path;
    return WriteText(idleText);
}

bool THandOverBlock::OpenExisting(const QString& path) {
    Close();
    const int fd = OpenOwnFile(path, O_RDWR);
    if (fd < 0) return false;
    struct stat st {};
    // A block nobody holds belongs to a copy that is gone.
    const bool live = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    void* map = MAP_FAILED;
    if (live && ::fstat(fd, &st) == 0 && st.st_size == kHandOverBlockBytes)
        map = ::mmap(nullptr, kHandOverBlockBytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (map == MAP_FAILED) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    data_ = static_cast<char16_t*>(map);
    path_ = path;
    return true;
}

QString THandOverBlock::ReadText() const {
    if (!data_) return {};
    // Another process may be writing: copy first, then look for the end.
    char16_t copy[kBlockChars];
    std::memcpy(copy, data_, sizeof copy);
    int length = 0;
    while (length < kBlockChars - 1 && copy[length] != 0)
        ++length;
    return QString::fromUtf16(copy, length);
}

bool THandOverBlock::WriteText(const QString& text) {
    if (!data_ || text.size() > kHandOverMostChars) return false;
    std::memset(data_, 0, kHandOverBlockBytes);
    std::memcpy(data_, text.utf16(), std::size_t(text.size()) * 2);
    return true;
}

} // namespace dorvane
