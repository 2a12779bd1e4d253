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
    out.writeEmptyElement(kMimeNs, QStringLiteral("mime-type"));
    out.writeAttribute(QStringLiteral("type"), document.mimeType);
    out.writeStartElement(kBookmarkNs, QStringLiteral("applications"));
    out.writeEmptyElement(kBookmarkNs, QStringLiteral("application"));
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
    QXmlStreamReader in(old);
    int depth = 0;
    bool rootSeen = false;
    QString added;
    int count = 0;
    while (!in.atEnd()) {
        const auto token = in.readNext();
        if (token == QXmlStreamReader::DTD || token == QXmlStreamReader::EntityReference) {
            // No document type or entities of its own in a bookmark list:
            // they could make the copy grow without bound.
            return std::nullopt;
        }
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
    if (in.hasError() || !rootSeen) return std::nullopt;
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
