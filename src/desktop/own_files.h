// The files of the desktop that the program reads and writes: other
// programs' files (mimeapps.list, launchers, the recently-used list) are read
// only when they are regular files of a bounded size, and the program writes
// only over a regular file or a free name, never through a symbolic link it
// did not make, always whole (QSaveFile).
#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <optional>

namespace dorvane {

// Limits of the outside files: far beyond any real one.
inline constexpr std::size_t kMaxDesktopFile = 1u << 20; // launchers, lists
inline constexpr std::size_t kMaxRecentList = 16u << 20; // recently-used.xbel

// The bytes of the regular file at path (links followed), or nothing when it
// is missing, not a regular file, unreadable or larger than maxBytes.
std::optional<QByteArray> ReadOutsideFile(const QString& path, std::size_t maxBytes);
// True when nothing is at path or a regular file is (a link is neither).
bool MayWriteOver(const QString& path);
// Writes the whole file through QSaveFile, creating its folder; refused
// (false, nothing changed) when the name is taken by anything but a regular
// file.
bool WriteOwnFile(const QString& path, const QByteArray& bytes,
                  QFileDevice::Permissions permissions = QFileDevice::ReadOwner |
                                                         QFileDevice::WriteOwner);
// Removes the folder entry (a link itself, never what it points to); true
// when nothing is there afterwards.
bool RemoveEntry(const QString& path);
// Whether anything, a dangling link included, is at path.
bool EntryExists(const QString& path);

} // namespace dorvane
