// Reading playlist files: pure codecs. The lines of a list, the list's own
// path and a way to look at the file system go in; the entries come out in
// file order. Each line stands alone but for the titles and lengths of M3U
// and PLS; the list's extension decides the rule:
//
//   .m3u .m3u8   every line is a path; "#EXTINF:length,title" just above it
//   .pls .kpl    "File<N>=path"; "Title<N>=" and "Length<N>=" anywhere, and
//                "Title=" and "Length=" among the next two lines
//   .wpl         "<media ... src": the first quoted text is the path
//   .asx         "<ref ... href": the first quoted text is the path (both
//                with XML's entities decoded)
//   .plc         the text between the first two "|" is the path
//   other        every line is a path, and only sound files are taken
//
// A line that names no existing file adds nothing.
#pragma once

#include "music/file_lookup.h"
#include "music/playlist_entry.h"
#include "music/text_lines.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <optional>
#include <vector>

namespace dorvane {

// Longer lines are not paths: no file system takes them, and a hostile
// list's megabyte line must not cost a megabyte per try.
inline constexpr qsizetype kMaxListedPathLength = 4096;

// The most entries one list gives: the rest of a longer list is not read.
inline constexpr std::size_t kMaxListEntries = 100'000;

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

// The entry of a file as the folder search and the file dialog make it:
// the title is the name without extension, the length unknown.
FList EntryForFile(const TFoundFile& file);

// The text of a WPL or ASX attribute: the five named XML entities and
// numeric character references decoded; an unknown or malformed one, or one
// naming U+0000, stays as written.
QString DecodeXmlEntities(const QString& text);

struct TParsedList {
    std::vector<FList> entries;
    bool cut = false; // the list names more than kMaxListEntries files
};

// The entries of a list's lines by the list's lower-cased extension, read
// line by line. When cancel is set the reading ends with what it found.
TParsedList ParsePlaylist(TLineSource& lines, const QString& extension, const TListContext& context,
                          const std::atomic<bool>* cancel = nullptr);
// The same over lines in memory.
std::vector<FList> ParsePlaylistLines(const QStringList& lines, const QString& extension,
                                      const TListContext& context);
// The same from the list's bytes (see text_lines.h); nullopt when the bytes
// give no lines, which is a list that cannot be read.
std::optional<std::vector<FList>> DecodePlaylist(const QByteArray& bytes, const QString& extension,
                                                 const TListContext& context);

// What the player says of a list cut at kMaxListEntries.
QString LongListMessage(const QString& listPath);

} // namespace dorvane
