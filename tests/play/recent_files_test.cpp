#include "play/recent_files.h"
#include "shell/settings_store.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace dorvane {
namespace {

QStringList Paths(const TRecentFiles& recent) {
    QStringList paths;
    for (const TRecentFiles::TItem& item : recent.MenuItems())
        paths << item.path;
    return paths;
}

TEST(RecentFiles, SamePathInAnyLetterCaseCountsOnce) {
    TRecentFiles recent;
    EXPECT_TRUE(recent.Add("/games/A.dvn"));
    EXPECT_TRUE(recent.Add("/games/b.dvn"));
    EXPECT_FALSE(recent.Add("/games/A.dvn"));
    EXPECT_FALSE(recent.Add("/GAMES/a.DVN")); // keeps its place
    EXPECT_EQ(Paths(recent), QStringList({"/games/b.dvn", "/games/A.dvn"}));
    EXPECT_TRUE(recent.Add("/games/Ä.dvn"));
    EXPECT_FALSE(recent.Add("/games/ä.dvn"));
}

TEST(RecentFiles, EleventhPushesOutTheOldest) {
    TRecentFiles recent;
    for (int i = 1; i <= 11; ++i)
        recent.Add(QString("/games/%1.dvn").arg(i));
    const QList<TRecentFiles::TItem> items = recent.MenuItems();
    ASSERT_EQ(items.size(), 10);
    EXPECT_EQ(items.front().text, "1) /games/11.dvn");
    EXPECT_EQ(items.back().text, "10) /games/2.dvn");
    recent.Clear();
    EXPECT_TRUE(recent.MenuItems().isEmpty());
}

TEST(RecentFiles, StoredSlotsArePackedAndEmptiedOnes) {
    QTemporaryDir dir;
    SettingsStore store(dir.filePath("Kvo/Dorvane.conf"));
    store.RegWriteString("File1", "a.b"); // 3 characters: not a path
    store.RegWriteString("File3", "/games/x.dvn");
    store.RegWriteString("file7", "/games/y.dvn");
    store.RegWriteString("File10", "");

    TRecentFiles recent;
    recent.Read(store);
    EXPECT_EQ(Paths(recent), QStringList({"/games/x.dvn", "/games/y.dvn"}));
    EXPECT_EQ(recent.MenuItems()[1].text, "2) /games/y.dvn");

    recent.Add("/games/z.dvn");
    recent.Write(store);
    EXPECT_EQ(store.RegReadString("File1", "?"), "/games/z.dvn");
    EXPECT_EQ(store.RegReadString("File3", "?"), "/games/y.dvn");
    for (const char* gone : {"File4", "File7", "File10"})
        EXPECT_EQ(store.RegReadString(gone, "deleted"), "deleted") << gone;

    recent.Clear();
    recent.Write(store);
    recent.Read(store);
    EXPECT_TRUE(recent.MenuItems().isEmpty());
}

} // namespace
} // namespace dorvane
