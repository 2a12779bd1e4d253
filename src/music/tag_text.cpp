#include "music/tag_text.h"

#include "core/cp1251.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace dorvane {

namespace {

constexpr std::uint8_t kEncodingBom = 1;
constexpr std::uint8_t kEncodingUtf16Be = 2;
constexpr std::uint8_t kEncodingUtf8 = 3;

// Characters 0..32 (controls and the blank) at either end.
QString Trimmed(QString text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    if (begin == 0 && end == text.size()) return text;
    return text.mid(begin, end - begin);
}

// count UTF-16 units from bytes, in the given byte order, up to the first 0.
QString Utf16Untrimmed(TByteView bytes, bool bigEndian) {
    const std::size_t count = bytes.size() / 2;
    QString text(static_cast<qsizetype>(count), Qt::Uninitialized);
    QChar* out = text.data();
    std::size_t k = 0;
    for (; k < count; ++k) {
        const std::uint8_t first = bytes[2 * k];
        const std::uint8_t second = bytes[2 * k + 1];
        const char16_t unit =
            bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first);
        if (unit == 0) break;
        out[k] = QChar(unit);
    }
    text.truncate(static_cast<qsizetype>(k));
    return text;
}

QString Utf16(TByteView bytes, bool bigEndian) {
    return Trimmed(Utf16Untrimmed(bytes, bigEndian));
}

QString Utf16WithMark(TByteView text) {
    std::size_t skip = 0;
    while (skip < text.size() && text[skip] <= 32)
        ++skip;
    const TByteView rest = text.subspan(skip);
    if (rest.size() < 4) return {};
    if (rest[0] == 0xFF && rest[1] == 0xFE) return Utf16(rest.subspan(2), false);
    if (rest[0] == 0xFE && rest[1] == 0xFF) return Utf16(rest.subspan(2), true);
    return {};
}

QString SingleBytes(TByteView text, bool utf8) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] <= 32)
        ++begin;
    while (end > begin && text[end - 1] <= 32)
        --end;
    TByteView kept = text.subspan(begin, end - begin);
    // Most texts hold no control byte: decoded in place, without a copy.
    std::vector<std::uint8_t> without;
    if (std::any_of(kept.begin(), kept.end(), [](std::uint8_t b) { return b < 32; })) {
        std::copy_if(kept.begin(), kept.end(), std::back_inserter(without),
                     [](std::uint8_t b) { return b >= 32; });
        kept = without;
    }
    if (utf8)
        return QString::fromUtf8(reinterpret_cast<const char*>(kept.data()),
                                 static_cast<qsizetype>(kept.size()));
    return DecodeCp1251(kept);
}

} // namespace

QString DecodeText(std::uint8_t encoding, TByteView text) {
    switch (encoding) {
    case kEncodingBom:
        return Utf16WithMark(text);
    case kEncodingUtf16Be: {
        QString decoded = Utf16(text, true);
        // A writer that put a mark anyway.
        if (decoded.startsWith(QChar(0xFEFF))) decoded = Trimmed(decoded.mid(1));
        return decoded;
    }
    default:
        return SingleBytes(text, encoding == kEncodingUtf8);
    }
}

QString DecodeFrameText(TByteView body) {
    if (body.empty()) return {};
    const std::uint8_t encoding = body[0];
    return DecodeText(encoding, encoding <= kEncodingUtf8 ? body.subspan(1) : body);
}

QString DecodeUtf16Le(TByteView bytes) {
    return Utf16(bytes, false);
}

QString DecodeUtf16LeName(TByteView bytes) {
    return Utf16Untrimmed(bytes, false);
}

QString FirstLine(const QString& text) {
    for (qsizetype k = 0; k < text.size(); ++k)
        if (text.at(k) == u'\r' || text.at(k) == u'\n') return text.left(k);
    return text;
}

} // namespace dorvane
