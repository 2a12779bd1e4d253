#include "desktop/recent_documents.h"

#include "desktop/own_files.h"

#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>

namespace dorvane {

namespace {

const QString kBookmarkNs =
    QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
const QString kMimeNs = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");
// Nesting beyond this is no bookmark list: refused rather than followed.
constexpr int kMaxDepth = 64;

// The names and texts XML allows. Qt's reader lets some through that XML
// does not (control characters in a prefix), and a copy that carried them
// would be a list no other program can read.
bool IsNameStart(char32_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
           (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
           (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) || c == 0x200C ||
           c == 0x200D || (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF) ||
           (c >= 0x3001 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFDCF) ||
           (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

bool IsNameChar(char32_t c) {
    return IsNameStart(c) || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == 0xB7 ||
           (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

// A name without a colon; an empty one is none.
bool IsNcName(QStringView name) {
    const QList<uint> points = name.toUcs4();
    if (points.isEmpty() || !IsNameStart(points.first())) return false;
    return std::all_of(points.begin(), points.end(), [](uint c) { return IsNameChar(c); });
}

// A name with at most one prefix.
bool IsQName(QStringView name) {
    const qsizetype colon = name.indexOf(u':');
    if (colon < 0) return IsNcName(name);
    return IsNcName(name.left(colon)) && IsNcName(name.mid(colon + 1));
}

bool IsXmlText(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 >= text.size() || !QChar::isLowSurrogate(text[i + 1].unicode())) return false;
            ++i;
            continue;
        }
        const bool allowed = c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
                             (c >= 0xE000 && c <= 0xFFFD);
        if (!allowed) return false;
    }
    return true;
}

// Whether the token the reader stands on can be written again as it is.
bool TokenIsSound(const QXmlStreamReader& in) {
    switch (in.tokenType()) {
    case QXmlStreamReader::StartElement: {
        if (!IsQName(in.qualifiedName())) return false;
        for (const QXmlStreamNamespaceDeclaration& ns : in.namespaceDeclarations())
            if ((!ns.prefix().isEmpty() && !IsNcName(ns.prefix())) || !IsXmlText(ns.namespaceUri()))
                return false;
        for (const QXmlStreamAttribute& attribute : in.attributes())
            if (!IsQName(attribute.qualifiedName()) || !IsXmlText(attribute.value())) return false;
        return true;
    }
    case QXmlStreamReader::Characters:
        return IsXmlText(in.text());
    case QXmlStreamReader::Comment:
        return IsXmlText(in.text()) && !in.text().contains(QLatin1String("--")) &&
               !in.text().endsWith(u'-');
    case QXmlStreamReader::ProcessingInstruction:
        return IsNcName(in.processingInstructionTarget()) &&
               in.processingInstructionTarget().compare(QLatin1String("xml"),
                                                        Qt::CaseInsensitive) != 0 &&
               IsXmlText(in.processingInstructionData()) &&
               !in.processingInstructionData().contains(QLatin1String("?>"));
    case QXmlStreamReader::DTD:
    case QXmlStreamReader::EntityReference:
        // No document type or entities of its own in a bookmark list: they
        // could make the copy grow without bound.
        return false;
    default:
        return true;
    }
}

// A bookmark list that XML and the bookmark readers of the desktop accept:
// every token sound, one root, nesting bounded.
bool IsSoundList(const QByteArray& text) {
    QXmlStreamReader in(text);
    int depth = 0;
    int roots = 0;
    while (!in.atEnd()) {
        const auto token = in.readNext();
        if (token == QXmlStreamReader::Invalid) break;
        if (!TokenIsSound(in)) return false;
        if (token == QXmlStreamReader::StartElement) {
            if (++depth > kMaxDepth) return false;
            if (depth == 1 && (++roots > 1 || in.name() != QStringLiteral("xbel"))) return false;
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
    return !in.hasError() && roots == 1;
}

QString Stamp(const QDateTime& when) {
    return when.toUTC().toString(Qt::ISODateWithMs);
}

// False when the list binds one of the two prefixes the bookmark uses to
// another namespace: such a list is nobody's to rewrite.
bool WriteRoot(QXmlStreamWriter& out, const QXmlStreamReader* in) {
    // GLib resolves the prefixes only from the root's declarations, so the
    // two the bookmark uses are always declared there.
    out.writeStartElement(QStringLiteral("xbel"));
    bool bookmarkNs = false;
    bool mimeNs = false;
    if (in) {
        QStringList prefixes;
        for (const QXmlStreamNamespaceDeclaration& ns : in->namespaceDeclarations()) {
            const QString prefix = ns.prefix().toString();
            const QString uri = ns.namespaceUri().toString();
            if ((prefix == QStringLiteral("bookmark") && uri != kBookmarkNs) ||
                (prefix == QStringLiteral("mime") && uri != kMimeNs))
                return false;
            // A prefix declared twice would make the copy ill-formed.
            if (prefixes.contains(prefix)) continue;
            prefixes << prefix;
            if (prefix.isEmpty())
                out.writeDefaultNamespace(uri);
            else
                out.writeNamespace(uri, prefix);
            bookmarkNs = bookmarkNs || prefix == QStringLiteral("bookmark");
            mimeNs = mimeNs || prefix == QStringLiteral("mime");
        }
        for (const QXmlStreamAttribute& attribute : in->attributes())
            out.writeAttribute(attribute);
    } else {
        out.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    }
    if (!bookmarkNs) out.writeNamespace(kBookmarkNs, QStringLiteral("bookmark"));
    if (!mimeNs) out.writeNamespace(kMimeNs, QStringLiteral("mime"));
    if (!in) out.writeCharacters(QStringLiteral("\n"));
    return true;
}

void WriteBookmark(QXmlStreamWriter& out, const TRecentDocument& document, const QString& href,
                   const QString& added, int count) {
    const QString now = Stamp(document.when);
    out.writeCharacters(QStringLiteral("  "));
    out.writeStartElement(QStringLiteral("bookmark"));
    out.writeAttribute(QStringLiteral("href"), href);
    out.writeAttribute(QStringLiteral("added"), added.isEmpty() ? now : added);
    out.writeAttribute(QStringLiteral("modified"), now);
    out.writeAttribute(QStringLiteral("visited"), now);
    out.writeStartElement(QStringLiteral("info"));
    out.writeStartElement(QStringLiteral("metadata"));
    out.writeAttribute(QStringLiteral("owner"), QStringLiteral("http://freedesktop.org"));
    // Under the two prefixes the root binds to these namespaces, whatever
    // other prefixes the list binds to them too.
    out.writeEmptyElement(QStringLiteral("mime:mime-type"));
    out.writeAttribute(QStringLiteral("type"), document.mimeType);
    out.writeStartElement(QStringLiteral("bookmark:applications"));
    out.writeEmptyElement(QStringLiteral("bookmark:application"));
    out.writeAttribute(QStringLiteral("name"), document.application);
    out.writeAttribute(QStringLiteral("exec"),
                       QLatin1Char('\'') + document.exec + QStringLiteral(" %u'"));
    out.writeAttribute(QStringLiteral("modified"), now);
    out.writeAttribute(QStringLiteral("count"), QString::number(count));
    out.writeEndElement(); // applications
    out.writeEndElement(); // metadata
    out.writeEndElement(); // info
    out.writeEndElement(); // bookmark
    out.writeCharacters(QStringLiteral("\n"));
}

// The count of the program's application entry inside a bookmark being
// replaced; the reader stands on the bookmark's start and ends on its end.
int SkipBookmark(QXmlStreamReader& in, const QString& application) {
    int count = 0;
    int depth = 1;
    while (depth > 0 && !in.atEnd()) {
        const auto token = in.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (++depth > kMaxDepth) {
                in.raiseError(QStringLiteral("too deep"));
                return 0;
            }
            if (in.name() == QStringLiteral("application") &&
                in.attributes().value(QStringLiteral("name")) == application)
                count = in.attributes().value(QStringLiteral("count")).toInt();
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
    return std::clamp(count, 0, 1 << 30);
}

} // namespace

std::optional<QByteArray> AddRecentBookmark(const QByteArray& old,
                                            const TRecentDocument& document) {
    const QString href = QString::fromUtf8(QUrl::fromLocalFile(document.path).toEncoded());
    QByteArray text;
    QXmlStreamWriter out(&text);
    if (old.trimmed().isEmpty()) {
        out.writeStartDocument(QStringLiteral("1.0"));
        out.writeCharacters(QStringLiteral("\n"));
        WriteRoot(out, nullptr);
        WriteBookmark(out, document, href, {}, 1);
        out.writeEndElement();
        out.writeEndDocument();
        return text;
    }
    if (!IsSoundList(old)) return std::nullopt;
    QXmlStreamReader in(old);
    int depth = 0;
    bool rootSeen = false;
    QString added;
    int count = 0;
    while (!in.atEnd()) {
        const auto token = in.readNext();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (depth > kMaxDepth) return std::nullopt;
            if (depth == 1) {
                if (in.name() != QStringLiteral("xbel") || rootSeen) return std::nullopt;
                rootSeen = true;
                if (!WriteRoot(out, &in)) return std::nullopt;
                continue;
            }
            if (depth == 2 && in.name() == QStringLiteral("bookmark") &&
                in.attributes().value(QStringLiteral("href")) == href) {
                added = in.attributes().value(QStringLiteral("added")).toString();
                count = SkipBookmark(in, document.application);
                --depth;
                continue;
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (depth == 1) WriteBookmark(out, document, href, added, count + 1);
            --depth;
        }
        if (token != QXmlStreamReader::Invalid) out.writeCurrentToken(in);
    }
    // What cannot be read back as sound as it was read is not written.
    if (in.hasError() || !rootSeen || out.hasError() || !IsSoundList(text)) return std::nullopt;
    return text;
}

void AddRecentDocument(const TRecentDocument& document, const TXdgPlaces& places) {
    const QString path = places.RecentlyUsed();
    QByteArray old;
    if (EntryExists(path)) {
        const auto read = ReadOutsideFile(path, kMaxRecentList);
        if (!read) return;
        old = *read;
    }
    const auto text = AddRecentBookmark(old, document);
    if (text) WriteOwnFile(path, *text);
}

} // namespace dorvane
