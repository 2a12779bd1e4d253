#include "desktop/own_files.h"

#include "core/file_name.h"
#include "core/regular_file.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <sys/stat.h>
#include <unistd.h>

namespace dorvane {

namespace {

std::string Native(const QString& path) {
    return FileNameToBytes(path).toStdString();
}

} // namespace

std::optional<QByteArray> ReadOutsideFile(const QString& path, std::size_t maxBytes) {
    const TFileBytes read = ReadRegularFile(Native(path), maxBytes);
    if (!read.ok()) return std::nullopt;
    return QByteArray(read.bytes.data(), qsizetype(read.bytes.size()));
}

bool EntryExists(const QString& path) {
    struct stat info {};
    return ::lstat(Native(path).c_str(), &info) == 0;
}

bool MayWriteOver(const QString& path) {
    struct stat info {};
    if (::lstat(Native(path).c_str(), &info) != 0) return true;
    return S_ISREG(info.st_mode);
}

bool WriteOwnFile(const QString& path, const QByteArray& bytes,
                  QFileDevice::Permissions permissions) {
    if (!MayWriteOver(path)) return false;
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    QSaveFile file(path);
    // Unbuffered, so that a short write (a full disk) shows in write()'s
    // count: a buffered QSaveFile commits the cut file as a success.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) return false;
    QFile::setPermissions(path, permissions);
    return true;
}

bool RemoveEntry(const QString& path) {
    const std::string native = Native(path);
    return ::unlink(native.c_str()) == 0 || !EntryExists(path);
}

} // namespace dorvane
