// The playlist's own bookkeeping, its play order, the tags a worker hands
// back, and the source lists.
#include "music/music_sources.h"
#include "music/playlist.h"

#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "music_fixture.h"

namespace dorvane::test {
namespace {

FList Entry(const char* path, qint64 size) {
    FList entry;
    entry.S2 = QString::fromUtf8(path);
    entry.Size = size;
    return entry;
}

TEST(Playlist, TotalSizeFollowsTheEntries) {
    TPlaylist list;
    list.Append(Entry("/a.mp3", 10));
    list.Append(std::vector<FList>{Entry("/b.mp3", 5), Entry("/a.mp3", 10)});
    EXPECT_EQ(list.TotalSize(), 25);
    EXPECT_TRUE(list.RemoveAt(1));
    EXPECT_FALSE(list.RemoveAt(2));
    EXPECT_EQ(list.TotalSize(), 20);
    list.Clear();
    EXPECT_EQ(list.TotalSize(), 0);
    list.Append(Entry("/only.mp3", 7));
    EXPECT_TRUE(list.RemoveAt(0));
    EXPECT_EQ(list.TotalSize(), 0) << "deleting the only entry";
    EXPECT_TRUE(list.IsEmpty());
}

TEST(Playlist, MoveKeepsEveryEntry) {
    TPlaylist list;
    for (const char* p : {"/0", "/1", "/2", "/3"})
        list.Append(Entry(p, 1));
    EXPECT_TRUE(list.Move(0, 2));
    EXPECT_FALSE(list.Move(0, 4));
    QStringList order;
    for (const FList& e : list.Entries())
        order << e.S2;
    EXPECT_EQ(order, QStringList({"/1", "/2", "/0", "/3"}));
}

TEST(Playlist, ShuffleSwapsFromTheEndWithDrawsBelowIPlusOne) {
    TPlaylist list;
    for (const char* p : {"/0", "/1", "/2", "/3"})
        list.Append(Entry(p, 1));
    TScriptedRandom draws;
    // i = 3 swaps with 0, i = 2 with 2, i = 1 with 0, i = 0 with 0.
    for (const std::uint32_t d : {0u, 2u, 0u, 0u})
        draws.Push(d);
    list.ShufflePlayOrder(draws);
    EXPECT_EQ(list.PlayOrder(), (std::vector<int>{1, 3, 2, 0}));
    EXPECT_TRUE(draws.Exhausted());
}

TEST(Playlist, ShuffleIsAPermutationAndUniform) {
    TPlaylist list;
    for (const char* p : {"/0", "/1", "/2"})
        list.Append(Entry(p, 1));
    TRandom random(7);
    std::map<std::vector<int>, int> seen;
    for (int k = 0; k < 6000; ++k) {
        list.ShufflePlayOrder(random);
        ++seen[list.PlayOrder()];
    }
    ASSERT_EQ(seen.size(), 6u);
    for (const auto& [order, count] : seen)
        EXPECT_NEAR(count, 1000, 150);
    TPlaylist empty;
    empty.ShufflePlayOrder(random);
    EXPECT_TRUE(empty.PlayOrder().empty());
}

TEST(Playlist, TagsFromAWorkerArriveOnTheUiThreadForTheSameFileOnly) {
    TPlaylist list;
    list.Append(Entry("/a.mp3", 1));
    list.Append(Entry("/b.mp3", 1));
    std::vector<int> changed;
    QObject::connect(&list, &TPlaylist::EntryChanged, [&](int index) {
        EXPECT_EQ(QThread::currentThread(), list.thread());
        changed.push_back(index);
    });
    std::thread worker([&] {
        list.PostEntryTags(1, QStringLiteral("/b.mp3"), QStringLiteral("Би"), QStringLiteral("93"));
        list.PostEntryTags(0, QStringLiteral("/other.mp3"), QStringLiteral("x"),
                           QStringLiteral("1"));
        list.PostEntryTags(5, QStringLiteral("/a.mp3"), QStringLiteral("x"), QStringLiteral("1"));
    });
    worker.join();
    EXPECT_TRUE(changed.empty()) << "nothing is written on the worker's thread";
    ASSERT_TRUE(WaitFor([&] { return !changed.empty(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(changed, std::vector<int>{1});
    EXPECT_EQ(list.Entry(1).S1, QStringLiteral("Би"));
    EXPECT_EQ(list.Entry(1).S3, QStringLiteral("93"));
    EXPECT_TRUE(list.Entry(0).S1.isEmpty());
}

// A tag's title of megabytes would become the window's caption: it is cut
// to a caption's length, and never inside a surrogate pair.
TEST(Playlist, TagTitlesAreCut) {
    TPlaylist list;
    list.Append(Entry("/a.mp3", 1));
    list.Append(Entry("/b.mp3", 1));
    const QString clef = QString::fromUcs4(U"\U0001D11E");
    list.SetEntryTags(0, QStringLiteral("/a.mp3"), QString(10'000'000, u'т'), QString(5000, u'9'));
    list.SetEntryTags(1, QStringLiteral("/b.mp3"), QString(kMaxTitleLength - 1, u'x') + clef,
                      QStringLiteral("3"));
    EXPECT_EQ(list.Entry(0).S1, QString(kMaxTitleLength, u'т'));
    EXPECT_EQ(list.Entry(0).S3, QString(kMaxTitleLength, u'9'));
    EXPECT_EQ(list.Entry(1).S1, QString(kMaxTitleLength - 1, u'x'));
}

struct TAddSourceCase {
    const char* sources;
    const char* item;
    bool added;
    const char* after;
};

class TAddSource : public testing::TestWithParam<TAddSourceCase> {};

TEST_P(TAddSource, AppendsNewItemsOnly) {
    const TAddSourceCase& c = GetParam();
    QString sources = QString::fromUtf8(c.sources);
    EXPECT_EQ(AddSource(QString::fromUtf8(c.item), sources), c.added);
    EXPECT_EQ(sources, QString::fromUtf8(c.after));
}

INSTANTIATE_TEST_SUITE_P(
    Lists, TAddSource,
    testing::Values(TAddSourceCase{"", "/m", true, "/m"}, TAddSourceCase{"/m", "/n", true, "/m;/n"},
                    TAddSourceCase{"/m;/Музыка", "/МУЗЫКА", false, "/m;/Музыка"},
                    TAddSourceCase{"/m;/n", "/M", false, "/m;/n"},
                    TAddSourceCase{"/m;/n", "/m;/n", true, "/m;/n;/m;/n"}));

TEST(MusicSources, RecentSourcesNewestFirstAtMost24) {
    QStringList recent;
    AddRecentSource(QString(), recent);
    EXPECT_TRUE(recent.isEmpty());
    for (int k = 0; k < 30; ++k)
        AddRecentSource(QStringLiteral("/m%1").arg(k), recent);
    ASSERT_EQ(recent.size(), 24);
    EXPECT_EQ(recent.first(), QStringLiteral("/m29"));
    EXPECT_EQ(recent.last(), QStringLiteral("/m6"));
    AddRecentSource(QStringLiteral("/M10"), recent);
    EXPECT_EQ(recent.first(), QStringLiteral("/M10")) << "moved up, in its new spelling";
    EXPECT_EQ(recent.count(QStringLiteral("/m10")), 0);
    EXPECT_EQ(recent.size(), 24);
    AddRecentSource(QStringLiteral("/m10"), recent);
    EXPECT_EQ(recent.first(), QStringLiteral("/M10")) << "already at the top: unchanged";
}

TEST(MusicSources, SplitAndFirst) {
    EXPECT_EQ(SplitSources(QString()), QStringList({""}));
    EXPECT_EQ(SplitSources(QStringLiteral("/a;/b")), QStringList({"/a", "/b"}));
    EXPECT_EQ(FirstSource(QStringLiteral("/a;/b")), QStringLiteral("/a"));
}

// The settings store as a plain map: the lists' primitives only.
class TMemoryStore final : public SettingsAccess {
public:
    TMemoryStore() { SetStoreKeyPath(QStringLiteral("Kvo/Dorvane")); }
    std::map<QString, QStringList> lists;

protected:
    std::optional<QString> ReadValue(const QString&) const override { return std::nullopt; }
    bool WriteValue(const QString&, const QString&) override { return true; }
    bool DeleteValue(const QString&) override { return true; }
    bool EraseAll() override { return true; }
    QStringList ReadListItems(const QString& subKey) const override {
        const auto it = lists.find(subKey);
        return it == lists.end() ? QStringList() : it->second;
    }
    bool ReplaceList(const QString& subKey, const QStringList& items) override {
        lists[subKey] = items;
        return true;
    }
};

TEST(MusicSources, HistoryIsTheListMusic) {
    TMemoryStore store;
    QStringList recent;
    for (int k = 0; k < 24; ++k)
        AddRecentSource(QStringLiteral("/m%1;/x").arg(k), recent);
    WriteRecentSources(store, recent);
    ASSERT_EQ(store.lists.count(QStringLiteral("Music")), 1u);
    EXPECT_EQ(store.lists[QStringLiteral("Music")].first(), QStringLiteral("/m23;/x"));
    store.lists[QStringLiteral("Music")].append(QStringLiteral("/25th"));
    EXPECT_EQ(ReadRecentSources(store), recent) << "at most 24 are read";
}

} // namespace
} // namespace dorvane::test
