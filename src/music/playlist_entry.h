// One entry of the music player's playlist, and the file facts it is made
// from. Plain values: the playlist owns its entries, a worker only ever sees
// copies.
#pragma once

#include <QString>

#include <cstdint>

namespace dorvane {

struct FList {
    qint64 Size = 0;        // bytes; 0 when the file was not found
    std::uint64_t Time = 0; // last write, 100-ns units since 1601-01-01 UTC; 0 when not found
    QString S1;             // the title shown in the list
    QString S2;             // the file's full path
    QString S3;             // the length in whole seconds as decimal text; empty until known
    QString Ext;            // the extension of S2 with its dot, letter case as in the path
};

// Titles and length texts longer than this are cut where they are read: a
// list's or a tag's megabyte title must not become a megabyte caption.
inline constexpr qsizetype kMaxTitleLength = 1024;

inline QString CutTitle(QString text) {
    if (text.size() <= kMaxTitleLength) return text;
    qsizetype keep = kMaxTitleLength;
    if (text.at(keep - 1).isHighSurrogate()) --keep; // not half a character
    text.truncate(keep);
    return text;
}

// What a look at the file system says of one name.
struct TFoundFile {
    QString path; // absolute and clean
    qint64 size = 0;
    std::uint64_t time = 0;
};

} // namespace dorvane
