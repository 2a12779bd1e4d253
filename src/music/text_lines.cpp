#include "music/text_lines.h"

#include "core/file_name.h"
#include "core/cp1251.h"
#include "core/regular_file.h"

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

QString DecodeUtf16(QByteArrayView bytes, bool littleEndian) {
    QString out;
    out.resize(bytes.size() / 2);
    for (qsizetype k = 0; k < out.size(); ++k)
        out[k] = QChar(Utf16At(bytes, k, littleEndian));
    return out;
}

QString DecodeUtf8(QByteArrayView bytes) {
    return FileNameFromBytes(bytes.toByteArray());
}

// CR LF, LF and CR end a line; a last line needs no end.
QStringList SplitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\n') && c != QLatin1Char('\r')) continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ++i;
        start = i + 1;
    }
    if (start < n) lines.append(text.mid(start));
    return lines;
}

std::optional<QString> DecodeText(QByteArrayView bytes) {
    const qsizetype size = bytes.size();
    if (size >= 2) {
        const unsigned char a = At(bytes, 0), b = At(bytes, 1);
        if (a == '<' && b == '?') return DecodeUtf8(bytes);
        if (a == 0xFF && b == 0xFE) return DecodeUtf16(bytes.sliced(2), true);
        if (a == 0xFE && b == 0xFF) return DecodeUtf16(bytes.sliced(2), false);
        if (a == 0xEF && b == 0xBB && size >= 3 && At(bytes, 2) == 0xBF)
            return DecodeUtf8(bytes.sliced(3));
    }
    qsizetype sampleBytes = std::min(size, kSampleBytes);
    if (sampleBytes > 1) --sampleBytes;
    const QByteArrayView sample = bytes.first(sampleBytes);
    if (TextLike(sample)) {
        if (sample.size() >= 8 && LooksUtf8(sample, size > sampleBytes)) return DecodeUtf8(bytes);
        return DecodeWindows1251(bytes);
    }
    if (size % 2 != 0) return std::nullopt;
    for (const bool littleEndian : {true, false})
        if (LooksUtf16(bytes, sampleBytes, littleEndian)) return DecodeUtf16(bytes, littleEndian);
    return std::nullopt;
}

} // namespace

QString DecodeWindows1251(QByteArrayView bytes) {
    return DecodeCp1251(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), std::size_t(bytes.size())));
}

TTextLines DecodeTextLines(const QByteArray& bytes) {
    TTextLines result;
    if (bytes.isEmpty() || bytes.size() > kMaxTextFileBytes) return result;
    if (const std::optional<QString> text = DecodeText(bytes)) result.lines = SplitLines(*text);
    result.ok = !result.lines.isEmpty();
    return result;
}

TTextLines ReadTextLines(const QString& path) {
    const TFileBytes file = ReadRegularFile(NativeFileName(path), std::size_t(kMaxTextFileBytes));
    if (!file.ok()) return {};
    return DecodeTextLines(QByteArray(file.bytes.data(), qsizetype(file.bytes.size())));
}

} // namespace dorvane
