// The recently-used list: a game is added with the program as its
// application, added again it is one bookmark counted twice, other
// programs' bookmarks stay, and a list that is not well-formed is left alone.
#include "desktop_home.h"

#include "desktop/recent_documents.h"

#include <QTimeZone>
#include <QUrl>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace dorvane::test {

namespace {

TRecentDocument Game(const QString& path, int minute) {
    return {path, QStringLiteral("application/x-dorvane-game"), QStringLiteral("Dorvane"),
            QStringLiteral("/usr/bin/dorvane"),
            QDateTime(QDate(2026, 12, 10), QTime(20, minute), Qt::UTC)};
}

struct TBookmark {
    QString href, added, modified, mimeType, application, count;
};

// The bookmarks of a list, read with namespaces as a desktop reads them.
std::vector<TBookmark> Bookmarks(const QByteArray& text) {
    std::vector<TBookmark> found;
    QXmlStreamReader in(text);
    const QString bookmarkNs =
        QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
    while (!in.atEnd()) {
        if (in.readNext() != QXmlStreamReader::StartElement) continue;
        const auto a = in.attributes();
        if (in.name() == QStringLiteral("bookmark"))
            found.push_back({a.value(QStringLiteral("href")).toString(),
                             a.value(QStringLiteral("added")).toString(),
                             a.value(QStringLiteral("modified")).toString(),
                             {},
                             {},
                             {}});
        else if (in.name() == QStringLiteral("mime-type") && !found.empty())
            found.back().mimeType = a.value(QStringLiteral("type")).toString();
        else if (in.name() == QStringLiteral("application") && in.namespaceUri() == bookmarkNs &&
                 !found.empty()) {
            found.back().application = a.value(QStringLiteral("name")).toString();
            found.back().count = a.value(QStringLiteral("count")).toString();
        }
    }
    EXPECT_FALSE(in.hasError()) << in.errorString().toStdString();
    return found;
}

TEST(RecentDocuments, AGameIsAddedOnceAndCounted) {
    TDesktopHome home;
    const QString path = home.Path(QStringLiteral("игры/a b.dvn"));
    AddRecentDocument(Game(path, 1), home.Places());
    AddRecentDocument(Game(path, 2), home.Places());
    const auto bookmarks = Bookmarks(ReadBytes(home.Places().RecentlyUsed()));
    ASSERT_EQ(bookmarks.size(), 1u);
    EXPECT_EQ(bookmarks[0].href, QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded()));
    EXPECT_EQ(bookmarks[0].added, QStringLiteral("2026-12-10T20:01:00.000Z"));
    EXPECT_EQ(bookmarks[0].modified, QStringLiteral("2026-12-10T20:02:00.000Z"));
    EXPECT_EQ(bookmarks[0].mimeType, QStringLiteral("application/x-dorvane-game"));
    EXPECT_EQ(bookmarks[0].application, QStringLiteral("Dorvane"));
    EXPECT_EQ(bookmarks[0].count, QStringLiteral("2"));
}

TEST(RecentDocuments, OtherProgramsBookmarksStay) {
    const QByteArray old =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<xbel version=\"1.0\"\n"
        "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
        "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <bookmark href=\"file:///home/u/a.txt\" added=\"2020-01-01T00:00:00Z\">\n"
        "    <info><metadata owner=\"http://freedesktop.org\">"
        "<mime:mime-type type=\"text/plain\"/>"
        "<bookmark:applications><bookmark:application name=\"gedit\" exec=\"'gedit %u'\" "
        "count=\"3\"/></bookmark:applications></metadata></info>\n"
        "  </bookmark>\n"
        "</xbel>\n";
    const auto text = AddRecentBookmark(old, Game(QStringLiteral("/home/u/g.dvn"), 5));
    ASSERT_TRUE(text);
    const auto bookmarks = Bookmarks(*text);
    ASSERT_EQ(bookmarks.size(), 2u);
    EXPECT_EQ(bookmarks[0].href, QStringLiteral("file:///home/u/a.txt"));
    EXPECT_EQ(bookmarks[0].application, QStringLiteral("gedit"));
    EXPECT_EQ(bookmarks[0].count, QStringLiteral("3"));
    EXPECT_EQ(bookmarks[1].href, QStringLiteral("file:///home/u/g.dvn"));
    EXPECT_TRUE(text->contains(
        "xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\""));
}

TEST(RecentDocuments, AListThatIsNotWellFormedIsLeftAlone) {
    const QByteArray cases[] = {
        "<?xml version=\"1.0\"?><xbel><bookmark href=\"file:///a\">", // cut short
        "<xbel></xbel><xbel></xbel>",
        "<html><body/></html>",
        "<!DOCTYPE xbel [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]><xbel>&b;</xbel>",
        "\xef\xbb\xbf<xbel><bookmark href='x'><info><info><info></bookmark></xbel>",
        QByteArray(100, '<'),
        // The prefix the bookmark needs, bound to another namespace.
        "<xbel xmlns:mime=\"http://example.org/other\"><bookmark href=\"file:///a\"/></xbel>",
    };
    for (const QByteArray& text : cases)
        EXPECT_FALSE(AddRecentBookmark(text, Game(QStringLiteral("/g.dvn"), 0)))
            << text.left(40).constData();

    TDesktopHome home;
    const QString list = home.Places().RecentlyUsed();
    ASSERT_TRUE(WriteBytes(list, cases[0]));
    AddRecentDocument(Game(QStringLiteral("/g.dvn"), 0), home.Places());
    EXPECT_EQ(ReadBytes(list), cases[0]);
}

// Names and texts that XML does not allow but Qt's reader lets through: a
// copy would carry them into a list that no other program can read, so the
// list is left alone.
TEST(RecentDocuments, NamesAndTextsOutsideXmlAreRefused) {
    const QByteArray ns = "\"http://www.freedesktop.org/standards/desktop-bookmarks\"";
    const QByteArray cases[] = {
        "<xbel xmlns:book\x01\x01rk=" + ns + "><bookmark href=\"file:///a\"/></xbel>",
        "<xbel xmlns:b\x7f=" + ns + "/>",
        // Beside the proper prefix: the copy came out ill-formed.
        "<xbel xmlns:bookmark=" + ns + " xmlns:book\x01\x01rk=" + ns + "></xbel>",
        "<xbel><bo\x02ok href=\"file:///a\"/></xbel>",
        "<xbel><bookmark h\x03ref=\"file:///a\"/></xbel>",
        "<xbel><!-- a -- b --></xbel>",
        "<xbel><?Xml data?></xbel>",
    };
    for (const QByteArray& text : cases)
        EXPECT_FALSE(AddRecentBookmark(text, Game(QStringLiteral("/g.dvn"), 0)))
            << text.toPercentEncoding().constData();
}

// A list that binds a second prefix to the bookmark namespace: the
// program's bookmark is written under "bookmark:" all the same, and the
// list stays well-formed when the game is added again.
TEST(RecentDocuments, TheBookmarkUsesTheProgramsOwnPrefixes) {
    const QByteArray old = "<?xml version=\"1.0\"?>\n"
                           "<xbel version=\"1.0\" "
                           "xmlns:bk=\"http://www.freedesktop.org/standards/desktop-bookmarks\" "
                           "xmlns:mt=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                           "</xbel>\n";
    const auto once = AddRecentBookmark(old, Game(QStringLiteral("/g.dvn"), 0));
    ASSERT_TRUE(once);
    const auto twice = AddRecentBookmark(*once, Game(QStringLiteral("/g.dvn"), 1));
    ASSERT_TRUE(twice);
    for (const QByteArray& text : {*once, *twice}) {
        EXPECT_TRUE(text.contains("<bookmark:applications>")) << text.constData();
        EXPECT_TRUE(text.contains("<mime:mime-type ")) << text.constData();
        const auto bookmarks = Bookmarks(text);
        ASSERT_EQ(bookmarks.size(), 1u);
        EXPECT_EQ(bookmarks[0].application, QStringLiteral("Dorvane"));
    }
    EXPECT_EQ(Bookmarks(*twice)[0].count, QStringLiteral("2"));
}

TEST(RecentDocuments, DeepNestingInsideABookmarkIsRefused) {
    QByteArray deep = "<xbel><bookmark href=\"file:///g.dvn\">";
    for (int i = 0; i < 100; ++i)
        deep += "<i>";
    for (int i = 0; i < 100; ++i)
        deep += "</i>";
    deep += "</bookmark></xbel>";
    EXPECT_FALSE(AddRecentBookmark(deep, Game(QStringLiteral("/g.dvn"), 0)));
}

} // namespace

} // namespace dorvane::test
