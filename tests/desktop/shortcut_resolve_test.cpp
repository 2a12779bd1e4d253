// Files handed to the program through links: a symbolic link and a link
// launcher resolve to their targets; a link to nothing, any other launcher
// and a FIFO under a launcher's name stay themselves.
#include "desktop_home.h"

#include "desktop/shortcut_resolve.h"

#include <QUrl>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace dorvane::test {

namespace {

TEST(ResolveShortcut, SymbolicLinksAndLinkLaunchersGiveTheirTargets) {
    TDesktopHome home;
    const QString game = home.Path(QStringLiteral("games/партия 1.dvn"));
    ASSERT_TRUE(WriteBytes(game, "x"));
    const QString link = home.Path(QStringLiteral("link.dvn"));
    ASSERT_TRUE(QFile::link(game, link));
    const QString chain = home.Path(QStringLiteral("chain.dvn"));
    ASSERT_TRUE(QFile::link(link, chain));
    EXPECT_EQ(ResolveShortcut(link), game);
    EXPECT_EQ(ResolveShortcut(chain), game);

    const QString launcher = home.Path(QStringLiteral("Desktop/game.desktop"));
    ASSERT_TRUE(WriteBytes(launcher, "[Desktop Entry]\nType=Link\nName=game\nURL=" +
                                         QUrl::fromLocalFile(game).toEncoded() + "\n"));
    EXPECT_EQ(ResolveShortcut(launcher), game);
    const QString plainPath = home.Path(QStringLiteral("plain.desktop"));
    ASSERT_TRUE(WriteBytes(plainPath, "[Desktop Entry]\nType=Link\nURL=" + game.toUtf8() + "\n"));
    EXPECT_EQ(ResolveShortcut(plainPath), game);
}

TEST(ResolveShortcut, AnythingElseIsItself) {
    TDesktopHome home;
    const QString dangling = home.Path(QStringLiteral("gone.dvn"));
    ASSERT_TRUE(QFile::link(home.Path(QStringLiteral("nothing.dvn")), dangling));
    EXPECT_EQ(ResolveShortcut(dangling), dangling);

    const struct {
        const char* name;
        QByteArray text;
    } cases[] = {
        {"missing.desktop", "[Desktop Entry]\nType=Link\nURL=file:///no/such/file.dvn\n"},
        {"web.desktop", "[Desktop Entry]\nType=Link\nURL=http://example.org/a.dvn\n"},
        {"app.desktop", "[Desktop Entry]\nType=Application\nExec=/bin/true\n"},
        {"cut.desktop", "[Desktop Entry]\nType=Li"},
        {"junk.desktop", QByteArray("\0\xff[Desktop Entry]\nURL=\x80", 22)},
    };
    for (const auto& c : cases) {
        const QString path = home.Path(QString::fromLatin1(c.name));
        ASSERT_TRUE(WriteBytes(path, c.text));
        EXPECT_EQ(ResolveShortcut(path), path) << c.name;
    }
    const QString fifo = home.Path(QStringLiteral("fifo.desktop"));
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    EXPECT_EQ(ResolveShortcut(fifo), fifo);
    const QString plain = home.Path(QStringLiteral("a.dvn"));
    EXPECT_EQ(ResolveShortcut(plain), plain);
}

} // namespace

} // namespace dorvane::test
