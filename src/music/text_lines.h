// The text reader of playlist files: decides the encoding from the bytes
// (an XML declaration, byte-order marks, a look at the first 8 KiB) and
// splits the text into lines at CR LF, LF or CR.
#pragma once

#include "core/regular_file.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace dorvane {

// Playlists larger than this are not read.
inline constexpr qsizetype kMaxTextFileBytes = 268'435'456;

// The longest line kept, in characters; the rest of a longer line is passed
// over. No path or title is that long, and a hostile list's endless line
// must not cost its length.
inline constexpr qsizetype kMaxLineLength = 65'536;

// Lines one at a time, and again from the first.
class TLineSource {
public:
    virtual ~TLineSource() = default;
    // The next line; false after the last.
    virtual bool Next(QString& line) = 0;
    virtual void Rewind() = 0;
};

// The lines of a list's bytes, decoded as they are read: the encoding is
// decided from the first 8 KiB and the size, and a file is read in pieces,
// so that a huge list costs no more than one piece and one line at a time.
class TTextLineReader final : public TLineSource {
public:
    // Over bytes in memory, which must outlive the reader.
    explicit TTextLineReader(QByteArrayView bytes);
    // Over a regular file of 1 .. kMaxTextFileBytes bytes; anything else
    // gives no lines.
    static TTextLineReader OpenFile(const QString& path);

    // An encoding was found and the text has at least one line.
    bool ok() const;
    bool Next(QString& line) override;
    void Rewind() override;

private:
    enum class TEncoding { Utf8, Windows1251, Utf16Le, Utf16Be };
    TTextLineReader() = default;
    void Decide(QByteArrayView head);
    bool Fill();
    char16_t UnitAt(qsizetype i) const;
    QString DecodeLine() const;

    QByteArrayView memory_;
    std::optional<TRegularFile> file_;
    qint64 begin_ = 0; // after a byte-order mark
    qint64 end_ = 0;
    std::optional<TEncoding> encoding_;
    QByteArray chunk_;
    qsizetype at_ = 0; // in chunk_
    qint64 next_ = 0;  // the file offset of the next chunk
    QByteArray line_;  // the current line's bytes, cut at kMaxLineLength
    bool skipLf_ = false;
};

struct TTextLines {
    QStringList lines;
    bool ok = false; // at least one line
};

// All lines of a whole file's bytes at once, for small texts. Text that is
// UTF-8 keeps bytes that are not (in a name written by another program) as
// escaped bytes, the way file names do (core/file_name.h), so such a name
// still opens.
TTextLines DecodeTextLines(const QByteArray& bytes);
// Reads a regular file of 1 .. kMaxTextFileBytes bytes; anything else gives
// no lines.
TTextLines ReadTextLines(const QString& path);

// Windows-1251, the code page lists without a byte-order mark were written
// in when they are not UTF-8.
QString DecodeWindows1251(QByteArrayView bytes);

} // namespace dorvane
