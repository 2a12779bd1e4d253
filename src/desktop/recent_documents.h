// The desktop's list of recently used files (recently-used.xbel in the data
// home, the XBEL bookmark file that GTK and KDE programs share): a game the
// program loads or saves is added, with the program as its application. The
// rest of the file (other programs' bookmarks, their metadata) is copied
// token by token; a file that is not well-formed XBEL is left alone and
// nothing is added.
#pragma once

#include "desktop/xdg_places.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

namespace dorvane {

struct TRecentDocument {
    QString path; // absolute
    QString mimeType;
    QString application; // "Dorvane"
    QString exec;        // the program's path
    QDateTime when;      // UTC
};

// The list's new text with the document added (or brought up to date), or
// nothing when the old text is not a well-formed XBEL document. An empty old
// text starts a new list.
std::optional<QByteArray> AddRecentBookmark(const QByteArray& old, const TRecentDocument& document);

// Adds the document to the user's list; silent on every failure.
void AddRecentDocument(const TRecentDocument& document, const TXdgPlaces& places);

} // namespace dorvane
