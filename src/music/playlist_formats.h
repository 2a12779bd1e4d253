// Reading playlist files: pure codecs. The lines of a list, the list's own
// path and a way to look at the file system go in; the entries come out in
// file order. Each line stands alone; the list's extension decides the rule:
//
//   .m3u .m3u8   every line is a path; "#EXTINF:length,title" just above it
//   .pls .kpl    "File..=path"; "Title..=" and "Length..=" among the next two
//   .wpl         "<media ... src": the first quoted text is the path
//   .asx         "<ref ... href": the first quoted text is the path
//   .plc         the text between the first two "|" is the path
//   other        every line is a path, and only sound files are taken
//
// A line that names no existing file adds nothing.
#pragma once

#include "music/file_lookup.h"
#include "music/playlist_entry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace dorvane {

// Longer lines are not paths: no file system takes them, and a hostile
// list's megabyte line must not cost a megabyte per try.
inline constexpr qsizetype kMaxListedPathLength = 4096;

enum class TEntryKind {
    Plain, // no extra data
    M3u,   // title and length from an "#EXTINF:" line above
    Pls,   // title and length from the two lines below
};

struct TListContext {
    QString listFolder;    // absolute
    QString driveRoot;     // DriveRootOf(listFolder)
    QString currentFolder; // the process's current folder
    TFileLookup lookup = FileSystemLookup();
};

// The context of a list file on the real file system.
TListContext ContextForList(const QString& listPath);

// The text between the first open and the next close character, when the
// lower-cased line contains both tag and attribute and the text is longer
// than 3 characters; empty otherwise. Taken verbatim from the line.
QString ExtractQuoted(const QString& line, const QString& tag, const QString& attribute, QChar open,
                      QChar close);

// The full paths a listed path may mean, in the order they are tried.
QStringList ListedPathCandidates(const QString& line, const TListContext& context);
// The first candidate that is an existing file.
std::optional<TFoundFile> ResolveListedPath(const QString& line, const TListContext& context);

// Appends the entry for a found file; lines and index (the path's line) give
// the extra data of its kind. With typeCheck only sound files are added.
void AddPlaylistEntry(const TFoundFile& file, TEntryKind kind, bool typeCheck,
                      const QStringList& lines, qsizetype index, std::vector<FList>& entries);

// The entry of a file as the folder search and the file dialog make it:
// the title is the name without extension, the length unknown.
FList EntryForFile(const TFoundFile& file);

// The entries of a list's lines by the list's lower-cased extension.
std::vector<FList> ParsePlaylistLines(const QStringList& lines, const QString& extension,
                                      const TListContext& context);
// The same from the list's bytes (see text_lines.h); nullopt when the bytes
// give no lines, which is a list that cannot be read.
std::optional<std::vector<FList>> DecodePlaylist(const QByteArray& bytes, const QString& extension,
                                                 const TListContext& context);

} // namespace dorvane
