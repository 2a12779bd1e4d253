// The "Запуск" commands: each place gets its launcher at the first use and
// loses it at the second, in a home of the test's own.
#include "desktop_home.h"

#include "desktop/desktop_entry.h"
#include "desktop/launchers.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace dorvane::test {

namespace {

struct TPlaceCase {
    const char* name;
    TLauncherPlace place;
    const char* relativePath;
    bool gamesCategory;
    bool executable;
};

class LauncherPlaces : public ::testing::TestWithParam<TPlaceCase> {};

TEST_P(LauncherPlaces, FirstUseMakesTheLauncherAndTheSecondRemovesIt) {
    const TPlaceCase& c = GetParam();
    TDesktopHome home;
    const QString program = home.Path(QStringLiteral("opt/Dorvane $1/dorvane"));
    const QString expected = home.Path(QString::fromUtf8(c.relativePath));
    ASSERT_EQ(LauncherPath(c.place, home.Places()), expected);

    EXPECT_TRUE(ToggleShortcut(c.place, program, home.Places()));
    ASSERT_TRUE(QFileInfo::exists(expected));
    const TKeyFile file = TKeyFile::Parse(ReadBytes(expected));
    const QString entry = QStringLiteral("Desktop Entry");
    EXPECT_EQ(file.Value(entry, QStringLiteral("Type")), QStringLiteral("Application"));
    EXPECT_EQ(file.Value(entry, QStringLiteral("Name")), QStringLiteral("Dorvane"));
    EXPECT_EQ(file.Value(entry, QStringLiteral("Comment")),
              QStringLiteral("Сыграйте в игру «Dorvane»!"));
    // "$" is reserved inside the quotes, and the key file doubles the
    // backslash that escapes it.
    EXPECT_EQ(file.Value(entry, QStringLiteral("Exec")),
              QStringLiteral("\"") + program.left(program.indexOf(QLatin1Char('$'))) +
                  QStringLiteral("\\\\$1/dorvane\" %F"));
    EXPECT_EQ(file.Value(entry, QStringLiteral("Categories")),
              c.gamesCategory ? QStringLiteral("Game;BoardGame;") : QString());
    struct stat info {};
    ASSERT_EQ(::stat(expected.toLocal8Bit().constData(), &info), 0);
    EXPECT_EQ((info.st_mode & S_IXUSR) != 0, c.executable);

    EXPECT_FALSE(ToggleShortcut(c.place, program, home.Places()));
    EXPECT_FALSE(QFileInfo::exists(expected));
    EXPECT_TRUE(ToggleShortcut(c.place, program, home.Places()));
}

INSTANTIATE_TEST_SUITE_P(
    Places, LauncherPlaces,
    ::testing::Values(
        TPlaceCase{"Games", TLauncherPlace::Games,
                   ".local/share/applications/kvo-dorvane-games.desktop", true, false},
        TPlaceCase{"MainMenu", TLauncherPlace::MainMenu,
                   ".local/share/applications/kvo-dorvane-menu.desktop", false, false},
        TPlaceCase{"Desktop", TLauncherPlace::Desktop, "Desktop/Dorvane.desktop", false, true},
        TPlaceCase{"Autostart", TLauncherPlace::Autostart, ".config/autostart/Dorvane.desktop",
                   false, false}),
    [](const ::testing::TestParamInfo<TPlaceCase>& param) {
        return std::string(param.param.name);
    });

TEST(Launchers, DesktopFolderComesFromUserDirs) {
    TDesktopHome home;
    ASSERT_TRUE(WriteBytes(home.Path(QStringLiteral(".config/user-dirs.dirs")),
                           "# written by xdg-user-dirs-update\n"
                           "XDG_DOWNLOAD_DIR=\"$HOME/Загрузки\"\n"
                           "XDG_DESKTOP_DIR=\"$HOME/Рабочий стол\"\n"));
    EXPECT_EQ(LauncherPath(TLauncherPlace::Desktop, home.Places()),
              home.Path(QStringLiteral("Рабочий стол/Dorvane.desktop")));
    EXPECT_TRUE(
        ToggleShortcut(TLauncherPlace::Desktop, QStringLiteral("/usr/bin/dorvane"), home.Places()));
    EXPECT_TRUE(QFileInfo::exists(home.Path(QStringLiteral("Рабочий стол/Dorvane.desktop"))));
}

TEST(Launchers, UserDirsValues) {
    const QString home = QStringLiteral("/home/u");
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n", "/home/u/Desktop"},
        {"XDG_DESKTOP_DIR=\"/srv/desk\"", "/srv/desk"},
        {"  XDG_DESKTOP_DIR=\"$HOME/a\\\"b\"\r\n", "/home/u/a\"b"},
        {"XDG_DESKTOP_DIR=\"$HOME/\"\n", ""},       // switched off
        {"XDG_DESKTOP_DIR=\"relative/dir\"\n", ""}, // not a form the standard allows
        {"XDG_DESKTOP_DIR=\"$HOME/cut", ""},        // truncated
        {"XDG_DESKTOP_DIR=$HOME/unquoted\n", ""},
        {"XDG_DESKTOP_DIR=\"/a\"\nXDG_DESKTOP_DIR=\"/b\"\n", "/b"},
        {"\xff\xfe\x00garbage", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DesktopDirFromUserDirs(QByteArray(c.text), home), QString::fromUtf8(c.expected))
            << c.text;
}

TEST(Launchers, ALinkAtTheLauncherNameIsRemovedWithoutTouchingItsTarget) {
    TDesktopHome home;
    const QString target = home.Path(QStringLiteral("precious.txt"));
    ASSERT_TRUE(WriteBytes(target, "keep"));
    const QString launcher = LauncherPath(TLauncherPlace::Autostart, home.Places());
    QDir().mkpath(QFileInfo(launcher).absolutePath());
    ASSERT_TRUE(QFile::link(target, launcher));
    EXPECT_FALSE(ToggleShortcut(TLauncherPlace::Autostart, QStringLiteral("/usr/bin/dorvane"),
                                home.Places()));
    EXPECT_FALSE(QFileInfo(launcher).isSymLink());
    EXPECT_EQ(ReadBytes(target), QByteArray("keep"));
}

} // namespace

} // namespace dorvane::test
