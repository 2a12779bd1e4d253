#include "shell/process_list.h"

#include <QFile>

#include <cstdlib>
#include <dirent.h>
#include <limits.h>
#include <memory>
#include <unistd.h>

namespace dorvane {

QString ProcessImagePath(pid_t pid) {
    if (pid <= 0) return {};
    const QByteArray link = "/proc/" + QByteArray::number(pid) + "/exe";
    char target[PATH_MAX];
    const ssize_t length = ::readlink(link.constData(), target, sizeof target);
    if (length <= 0 || length >= ssize_t(sizeof target)) return {};
    QByteArray bytes(target, int(length));
    static constexpr char kDeleted[] = " (deleted)";
    if (bytes.endsWith(kDeleted)) bytes.chop(int(sizeof kDeleted) - 1);
    return QFile::decodeName(bytes);
}

int CountRunningCopies(const QString& path) {
    if (path.isEmpty()) return 0;
    const std::unique_ptr<DIR, int (*)(DIR*)> proc(::opendir("/proc"), ::closedir);
    if (!proc) return 0;
    int count = 0;
    while (const dirent* entry = ::readdir(proc.get())) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0') continue; // not a process
        // Another user's process cannot be read; it is not one of ours anyway.
        if (ProcessImagePath(pid_t(pid)) == path) ++count;
    }
    return count;
}

} // namespace dorvane
