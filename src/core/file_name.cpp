#include "core/file_name.h"

#include <unistd.h>

namespace dorvane {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

bool IsEscapedByte(char16_t unit) {
    return unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF;
}

void AppendCodePoint(QString& out, char32_t cp) {
    if (cp < 0x10000) {
        out += QChar(char16_t(cp));
    } else {
        cp -= 0x10000;
        out += QChar(char16_t(0xD800 + (cp >> 10)));
        out += QChar(char16_t(0xDC00 + (cp & 0x3FF)));
    }
}

void AppendUtf8(QByteArray& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// The code point of the well-formed UTF-8 sequence at bytes[i] and its
// length; 0 when no well-formed sequence starts there (overlong forms,
// surrogates and values above U+10FFFF are not well-formed).
int DecodeAt(const QByteArray& bytes, qsizetype i, char32_t& cp) {
    const auto b = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = b(i);
    int length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size()) return 0;
    for (int k = 1; k < length; ++k) {
        const unsigned char next = b(i + k);
        if ((next & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

} // namespace

QString FileNameFromBytes(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t cp = 0;
        const int length = DecodeAt(bytes, i, cp);
        if (length == 0) {
            out += QChar(char16_t(kEscapeBase + static_cast<unsigned char>(bytes[i])));
            ++i;
        } else {
            AppendCodePoint(out, cp);
            i += length;
        }
    }
    return out;
}

QByteArray FileNameToBytes(const QString& name) {
    QByteArray out;
    out.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        if (IsEscapedByte(unit)) {
            out += char(unit - kEscapeBase);
        } else if (QChar::isHighSurrogate(unit) && i + 1 < name.size() &&
                   QChar::isLowSurrogate(name[i + 1].unicode())) {
            AppendUtf8(out, QChar::surrogateToUcs4(unit, name[i + 1].unicode()));
            ++i;
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

std::string NativeFileName(const QString& name) {
    return FileNameToBytes(name).toStdString();
}

QString DisplayFileName(const QString& name) {
    QString shown = name;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const char16_t unit = shown[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < shown.size() &&
            QChar::isLowSurrogate(shown[i + 1].unicode()))
            ++i; // a character beyond the BMP, whose low half may look like a byte
        else if (IsEscapedByte(unit))
            shown[i] = QChar::ReplacementCharacter;
    }
    return shown;
}

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

bool NamedFileOpens(const QString& name) {
    return !name.isEmpty() && ::access(NativeFileName(name).c_str(), R_OK) == 0;
}

QString LocalPathFromArgument(const QString& argument) {
    static const QString scheme = QStringLiteral("file:");
    if (!argument.startsWith(scheme, Qt::CaseInsensitive)) return argument;
    QByteArray rest = FileNameToBytes(argument.mid(scheme.size()));
    // The authority: none (file:/path), empty (file:///path) or localhost.
    if (rest.startsWith("//")) {
        const qsizetype slash = rest.indexOf('/', 2);
        if (slash < 0) return argument;
        const QByteArray host = rest.mid(2, slash - 2);
        if (!host.isEmpty() && host.compare("localhost", Qt::CaseInsensitive) != 0) return argument;
        rest = rest.mid(slash);
    }
    // A fragment is no part of a file's name; a file manager escapes "#".
    if (!rest.startsWith('/') || rest.contains('#')) return argument;
    QByteArray bytes;
    bytes.reserve(rest.size());
    for (qsizetype i = 0; i < rest.size(); ++i) {
        if (rest[i] != '%') {
            bytes += rest[i];
            continue;
        }
        const int high = i + 2 < rest.size() ? HexDigit(rest[i + 1]) : -1;
        const int low = high >= 0 ? HexDigit(rest[i + 2]) : -1;
        if (low < 0) return argument;
        const char c = char(high * 16 + low);
        // An escaped NUL would cut the name short; an escaped "/" would
        // make one name of two.
        if (c == '\0' || c == '/') return argument;
        bytes += c;
        i += 2;
    }
    return FileNameFromBytes(bytes);
}

} // namespace dorvane
