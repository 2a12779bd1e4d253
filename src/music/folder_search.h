// The search of a folder for sound files. It runs on a worker thread (see
// music_loader.h), never on the UI thread, and stops soon after its cancel
// flag is set; what it found until then is kept.
#pragma once

#include "music/playlist_entry.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <vector>

namespace dorvane {

// The regular files (links followed) under folder whose extension matches
// masks ("*.mp3;*.wav;"), with every subfolder when withSubfolders; names
// starting with "." only when includeHidden. A folder reached twice (a link
// back up the tree, a second link to the same place) is searched once, so
// loops end. FIFOs, devices and sockets are never taken. Sorted by full path
// without regard to letter case in the user's locale. Thread-safe.
QStringList FindMusicFiles(const QString& folder, const QString& masks, bool withSubfolders,
                           bool includeHidden, const std::atomic<bool>* cancel = nullptr);

// The same with each file's size and last-write time, taken while walking
// (the entries of a searched folder need them).
std::vector<TFoundFile> FindMusicFileFacts(const QString& folder, const QString& masks,
                                           bool withSubfolders, bool includeHidden,
                                           const std::atomic<bool>* cancel = nullptr);

// The order of the search's result: case-insensitive collation of the
// user's locale, ties by the plain text, so the order never depends on the
// order the folders were read in.
void SortPathsForUser(QStringList& paths);
// The same order as indices into paths.
std::vector<qsizetype> UserOrder(const QStringList& paths);

} // namespace dorvane
