// The few questions the playlist asks the file system. The readers of
// playlists take the lookup as a function, so that they stay pure codecs:
// tests and the fuzz target answer for the file system.
#pragma once

#include "music/playlist_entry.h"

#include <QString>

#include <functional>
#include <optional>

namespace dorvane {

// The file under an absolute path, when it is a regular file (links
// followed). Folders, FIFOs, devices and sockets are not files here: a list
// that names them adds nothing, and the player never opens something that
// can block.
using TFileLookup = std::function<std::optional<TFoundFile>(const QString& path)>;

std::optional<TFoundFile> LookUpFile(const QString& path);
const TFileLookup& FileSystemLookup();

bool IsExistingFolder(const QString& path);

// 100-ns units since 1601-01-01 UTC from a POSIX time.
std::uint64_t FileTimeFromUnix(qint64 seconds, qint64 nanoseconds);

// The "drive" of a folder on Linux: the mount point of the file system that
// holds it (the folder itself or the nearest ancestor on the same device
// whose parent is on another one), "/" at worst. A list written on Windows
// names "\Music\a.mp3" from the root of its drive; on a stick that root is
// the stick's mount point.
QString DriveRootOf(const QString& folder);

// A symbolic link or a desktop link file (a ".desktop" file of Type=Link
// with a local URL) replaced by its target when that exists; any other path
// unchanged.
QString ResolveShellLink(const QString& path);

} // namespace dorvane
