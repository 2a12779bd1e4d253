#include "music/file_lookup.h"

#include "core/file_name.h"
#include "core/regular_file.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <sys/stat.h>

namespace dorvane {

namespace {

// A desktop link file is a few lines; anything larger is not one.
constexpr std::size_t kMaxLinkFileBytes = 64 * 1024;

std::optional<QString> DesktopLinkTarget(const QString& path) {
    const TFileBytes file = ReadRegularFile(NativeFileName(path), kMaxLinkFileBytes);
    if (!file.ok()) return std::nullopt;
    const QStringList lines =
        FileNameFromBytes(QByteArray(file.bytes.data(), qsizetype(file.bytes.size())))
            .split(QLatin1Char('\n'));
    bool inEntry = false;
    bool isLink = false;
    QString url;
    for (QString line : lines) {
        line = line.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QLatin1String("[Desktop Entry]");
        } else if (inEntry && line == QLatin1String("Type=Link")) {
            isLink = true;
        } else if (inEntry && line.startsWith(QLatin1String("URL="))) {
            url = line.mid(4);
        }
    }
    if (!isLink || url.isEmpty()) return std::nullopt;
    if (url.startsWith(QLatin1Char('/'))) return url;
    const QUrl parsed(url);
    if (!parsed.isLocalFile()) return std::nullopt;
    return parsed.toLocalFile();
}

} // namespace

std::optional<TFoundFile> LookUpFile(const QString& path) {
    // A NUL would cut the name short for the kernel and find another file.
    if (path.isEmpty() || path.contains(QChar(0))) return std::nullopt;
    struct stat info {};
    if (::stat(NativeFileName(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return TFoundFile{path, qint64(info.st_size),
                      FileTimeFromUnix(info.st_mtim.tv_sec, info.st_mtim.tv_nsec)};
}

const TFileLookup& FileSystemLookup() {
    static const TFileLookup lookup = [](const QString& path) { return LookUpFile(path); };
    return lookup;
}

bool IsExistingFolder(const QString& path) {
    struct stat info {};
    return !path.isEmpty() && !path.contains(QChar(0)) &&
           ::stat(NativeFileName(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::uint64_t FileTimeFromUnix(qint64 seconds, qint64 nanoseconds) {
    constexpr qint64 kSecondsFrom1601To1970 = 11644473600;
    const qint64 since1601 = seconds + kSecondsFrom1601To1970;
    if (since1601 < 0) return 0;
    return std::uint64_t(since1601) * 10'000'000u + std::uint64_t(nanoseconds / 100);
}

QString DriveRootOf(const QString& folder) {
    QString current = QDir::cleanPath(QDir(folder).absolutePath());
    struct stat info {};
    if (::stat(NativeFileName(current).c_str(), &info) != 0) return QStringLiteral("/");
    const dev_t device = info.st_dev;
    while (current != QLatin1String("/")) {
        const QString parent = QFileInfo(current).path();
        struct stat up {};
        if (::stat(NativeFileName(parent).c_str(), &up) != 0 || up.st_dev != device) break;
        current = parent;
    }
    return current;
}

QString ResolveShellLink(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.symLinkTarget();
        return QFileInfo::exists(target) ? target : path;
    }
    if (path.endsWith(QLatin1String(".desktop"), Qt::CaseInsensitive)) {
        const std::optional<QString> target = DesktopLinkTarget(path);
        if (target && QFileInfo::exists(*target)) return *target;
    }
    return path;
}

} // namespace dorvane
