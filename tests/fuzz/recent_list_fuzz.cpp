// recently-used.xbel: any bytes either give a list with the document in it,
// which takes the document again, or are refused.
#include "desktop/recent_documents.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dorvane;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const TRecentDocument document{QStringLiteral("/home/u/g.dvn"),
                                   QStringLiteral("application/x-dorvane-game"),
                                   QStringLiteral("Dorvane"), QStringLiteral("/usr/bin/dorvane"),
                                   QDateTime::fromSecsSinceEpoch(1800000000, Qt::UTC)};
    const auto text = AddRecentBookmark(bytes, document);
    if (!text) return 0;
    if (!text->contains("file:///home/u/g.dvn")) std::abort();
    const auto again = AddRecentBookmark(*text, document);
    // Added again, it replaces its own bookmark: the address occurs as often
    // as before (other attributes may hold the same text).
    if (!again || again->count("file:///home/u/g.dvn") != text->count("file:///home/u/g.dvn"))
        std::abort();
    return 0;
}
