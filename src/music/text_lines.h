// The text reader of playlist files: decides the encoding from the bytes
// (an XML declaration, byte-order marks, a look at the first 8 KiB) and
// splits the text into lines at CR LF, LF or CR.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace dorvane {

// Playlists larger than this are not read.
inline constexpr qsizetype kMaxTextFileBytes = 268'435'456;

struct TTextLines {
    QStringList lines;
    bool ok = false; // at least one line
};

// The bytes of a whole file. Text that is UTF-8 keeps bytes that are not
// (in a name written by another program) as escaped bytes, the way file
// names do (core/file_name.h), so such a name still opens.
TTextLines DecodeTextLines(const QByteArray& bytes);
// Reads a regular file of 1 .. kMaxTextFileBytes bytes; anything else gives
// no lines.
TTextLines ReadTextLines(const QString& path);

// Windows-1251, the code page lists without a byte-order mark were written
// in when they are not UTF-8.
QString DecodeWindows1251(QByteArrayView bytes);

} // namespace dorvane
