#include "music/text_lines.h"

#include "core/file_name.h"
#include "core/cp1251.h"
#include "core/regular_file.h"

#include <algorithm>
#include <array>

namespace dorvane {

namespace {

constexpr qsizetype kSampleBytes = 8192;

unsigned char At(QByteArrayView bytes, qsizetype i) {
    return static_cast<unsigned char>(bytes[i]);
}

bool TextLikeByte(unsigned char b) {
    return b == 9 || b == 10 || b == 13 || b >= 32;
}

bool TextLike(QByteArrayView sample) {
    for (qsizetype i = 0; i < sample.size(); ++i)
        if (!TextLikeByte(At(sample, i))) return false;
    return true;
}

// The length of the well-formed sequence at i, 0 when none starts there.
// The lead-byte ranges are those of the usual validity test.
int SequenceAt(QByteArrayView s, qsizetype i) {
    const unsigned char lead = At(s, i);
    if (lead < 0x80) return 1;
    int length = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead == 0xE0) {
        length = 3;
        low = 0xA0;
    } else if (lead >= 0xE1 && lead <= 0xEF) {
        length = 3;
    } else if (lead == 0xF0) {
        length = 4;
        low = 0x90;
    } else if (lead >= 0xF1 && lead <= 0xF3) {
        length = 4;
    } else if (lead == 0xF4) {
        length = 4;
        high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > s.size()) return 0;
    if (At(s, i + 1) < low || At(s, i + 1) > high) return 0;
    for (int k = 2; k < length; ++k)
        if ((At(s, i + k) & 0xC0) != 0x80) return 0;
    return length;
}

// Valid UTF-8 with at least one multi-byte sequence. When the sample is cut
// from a longer file, a sequence that breaks within its last 5 bytes is
// taken as one the cut went through.
bool LooksUtf8(QByteArrayView sample, bool cut) {
    bool multiByte = false;
    for (qsizetype i = 0; i < sample.size();) {
        const int length = SequenceAt(sample, i);
        if (length == 0) {
            if (cut && i >= sample.size() - 5) break;
            return false;
        }
        multiByte = multiByte || length > 1;
        i += length;
    }
    return multiByte;
}

char16_t Utf16At(QByteArrayView bytes, qsizetype k, bool littleEndian) {
    const unsigned char a = At(bytes, 2 * k), b = At(bytes, 2 * k + 1);
    return littleEndian ? char16_t(a | (b << 8)) : char16_t((a << 8) | b);
}

bool Utf16TextUnit(char16_t unit) {
    const unsigned high = unit >> 8;
    return high == 0x04 || (high == 0 && TextLikeByte(static_cast<unsigned char>(unit & 0xFF)));
}

// UTF-16 without a mark: Cyrillic or Latin-1 text, nothing else.
bool LooksUtf16(QByteArrayView bytes, qsizetype sampleBytes, bool littleEndian) {
    for (qsizetype k = 2; k < sampleBytes / 2; ++k)
        if (!Utf16TextUnit(Utf16At(bytes, k, littleEndian))) return false;
    for (qsizetype k = 0; k < std::min<qsizetype>(4, bytes.size() / 2); ++k)
        if (!Utf16TextUnit(Utf16At(bytes, k, littleEndian))) return false;
    return true;
}

} // namespace

QString DecodeWindows1251(QByteArrayView bytes) {
    return DecodeCp1251(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), std::size_t(bytes.size())));
}

void TTextLineReader::Decide(QByteArrayView head) {
    const qint64 size = end_;
    if (size <= 0 || size > kMaxTextFileBytes) return;
    if (head.size() >= 2) {
        const unsigned char a = At(head, 0), b = At(head, 1);
        if (a == '<' && b == '?') {
            encoding_ = TEncoding::Utf8;
            return;
        }
        if ((a == 0xFF && b == 0xFE) || (a == 0xFE && b == 0xFF)) {
            encoding_ = a == 0xFF ? TEncoding::Utf16Le : TEncoding::Utf16Be;
            begin_ = 2;
            return;
        }
        if (a == 0xEF && b == 0xBB && head.size() >= 3 && At(head, 2) == 0xBF) {
            encoding_ = TEncoding::Utf8;
            begin_ = 3;
            return;
        }
    }
    qsizetype sampleBytes = head.size();
    if (sampleBytes > 1) --sampleBytes;
    const QByteArrayView sample = head.first(sampleBytes);
    if (TextLike(sample)) {
        const bool utf8 = sample.size() >= 8 && LooksUtf8(sample, size > sampleBytes);
        encoding_ = utf8 ? TEncoding::Utf8 : TEncoding::Windows1251;
        return;
    }
    if (size % 2 != 0) return;
    for (const bool littleEndian : {true, false}) {
        if (LooksUtf16(head, sampleBytes, littleEndian)) {
            encoding_ = littleEndian ? TEncoding::Utf16Le : TEncoding::Utf16Be;
            return;
        }
    }
}

TTextLineReader::TTextLineReader(QByteArrayView bytes) : memory_(bytes), end_(bytes.size()) {
    Decide(bytes.first(std::min(bytes.size(), kSampleBytes)));
    Rewind();
}

TTextLineReader TTextLineReader::OpenFile(const QString& path) {
    TTextLineReader reader;
    TRegularFile file = TRegularFile::Open(NativeFileName(path));
    if (!file.ok() || file.size() > std::uint64_t(kMaxTextFileBytes)) return reader;
    reader.end_ = qint64(file.size());
    QByteArray head(std::min(reader.end_, qint64(kSampleBytes)), Qt::Uninitialized);
    const std::size_t got = file.ReadAt(0, head.data(), std::size_t(head.size()));
    if (got != std::size_t(head.size())) return reader;
    reader.file_.emplace(std::move(file));
    reader.Decide(head);
    reader.Rewind();
    return reader;
}

bool TTextLineReader::ok() const {
    if (!encoding_) return false;
    const bool wide = *encoding_ == TEncoding::Utf16Le || *encoding_ == TEncoding::Utf16Be;
    return end_ - begin_ >= (wide ? 2 : 1);
}

void TTextLineReader::Rewind() {
    chunk_.clear();
    at_ = 0;
    next_ = begin_;
    skipLf_ = false;
}

// A piece of 1 MiB, an even count so that UTF-16 units never straddle two.
bool TTextLineReader::Fill() {
    constexpr qint64 kChunkBytes = qint64(1) << 20;
    const bool wide = *encoding_ == TEncoding::Utf16Le || *encoding_ == TEncoding::Utf16Be;
    qint64 n = std::min(kChunkBytes, end_ - next_);
    if (wide) n &= ~qint64(1);
    at_ = 0;
    if (n <= 0) {
        chunk_.clear();
        return false;
    }
    if (file_) {
        chunk_.resize(qsizetype(n));
        const std::size_t got = file_->ReadAt(std::uint64_t(next_), chunk_.data(), std::size_t(n));
        chunk_.resize(qsizetype(wide ? got & ~std::size_t(1) : got));
    } else {
        chunk_ = memory_.sliced(qsizetype(next_), qsizetype(n)).toByteArray();
    }
    next_ += chunk_.size();
    return !chunk_.isEmpty();
}

char16_t TTextLineReader::UnitAt(qsizetype i) const {
    if (*encoding_ == TEncoding::Utf8 || *encoding_ == TEncoding::Windows1251) return At(chunk_, i);
    return Utf16At(chunk_, i / 2, *encoding_ == TEncoding::Utf16Le);
}

QString TTextLineReader::DecodeLine() const {
    switch (*encoding_) {
    case TEncoding::Utf8:
        return FileNameFromBytes(line_);
    case TEncoding::Windows1251:
        return DecodeWindows1251(line_);
    default: {
        QString out(line_.size() / 2, Qt::Uninitialized);
        for (qsizetype k = 0; k < out.size(); ++k)
            out[k] = QChar(Utf16At(line_, k, *encoding_ == TEncoding::Utf16Le));
        return out;
    }
    }
}

// CR LF, LF and CR end a line; a last line needs no end.
bool TTextLineReader::Next(QString& line) {
    if (!ok()) return false;
    const bool wide = *encoding_ == TEncoding::Utf16Le || *encoding_ == TEncoding::Utf16Be;
    const qsizetype width = wide ? 2 : 1;
    const qsizetype keep = kMaxLineLength * width;
    line_.clear();
    bool inLine = false;
    for (;;) {
        if (at_ >= chunk_.size() && !Fill()) {
            if (!inLine) return false;
            line = DecodeLine();
            return true;
        }
        // The LF of a CR LF that ended the line before, in a new piece.
        if (skipLf_) {
            skipLf_ = false;
            if (UnitAt(at_) == u'\n') {
                at_ += width;
                continue;
            }
        }
        qsizetype i = at_;
        while (i < chunk_.size() && UnitAt(i) != u'\n' && UnitAt(i) != u'\r')
            i += width;
        if (i > at_) inLine = true;
        if (line_.size() < keep)
            line_.append(chunk_.constData() + at_, std::min(i - at_, keep - line_.size()));
        at_ = i;
        if (i >= chunk_.size()) continue;
        skipLf_ = UnitAt(i) == u'\r';
        at_ = i + width;
        if (skipLf_ && at_ < chunk_.size()) {
            skipLf_ = false;
            if (UnitAt(at_) == u'\n') at_ += width;
        }
        line = DecodeLine();
        return true;
    }
}

namespace {

TTextLines AllLines(TTextLineReader&& reader) {
    TTextLines result;
    for (QString line; reader.Next(line);)
        result.lines.append(line);
    result.ok = !result.lines.isEmpty();
    return result;
}

} // namespace

TTextLines DecodeTextLines(const QByteArray& bytes) {
    return AllLines(TTextLineReader(bytes));
}

TTextLines ReadTextLines(const QString& path) {
    return AllLines(TTextLineReader::OpenFile(path));
}

} // namespace dorvane
