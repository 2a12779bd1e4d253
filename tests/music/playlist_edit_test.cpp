// The playlist window's model: its edits of the list (delete, move, sort,
// retitle), the list text comparison, the columns, the totals, the status
// bar's times and the meter's levels.
#include "music/engine_state.h"
#include "music/playlist_edit.h"
#include "music/playlist_schemes.h"
#include "music/playlist_view.h"
#include "music/playlist_window_settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/map_store.h"

namespace dorvane::test {
namespace {

FList Entry(const QString& title, const QString& path = {}, qint64 size = 0) {
    FList entry;
    entry.S1 = title;
    entry.S2 = path.isEmpty() ? QStringLiteral("/music/") + title + QStringLiteral(".mp3") : path;
    entry.Size = size;
    entry.Ext = QStringLiteral(".") + QFileInfo(entry.S2).suffix();
    return entry;
}

QStringList Titles(const TPlaylist& list) {
    QStringList titles;
    for (const FList& entry : list.Entries())
        titles << entry.S1;
    return titles;
}

void Fill(TPlaylist& list, const QStringList& titles) {
    for (const QString& title : titles)
        list.Append(Entry(title));
}

TEST(ListText, FoldsLatinLettersOnlyAndPutsAPrefixFirst) {
    struct TCase {
        const char* a;
        const char* b;
        int sign;
    } const cases[] = {
        {"abc", "ABC", 0},
        {"abc", "ABD", -1},
        {"Zebra", "apple", 1},
        {"ab", "abc", -1},
        {"", "a", -1},
        // Cyrillic letters are not folded: "а" (U+0430) comes after "А" (U+0410).
        {"а", "А", 1},
        // Folding goes to upper case, so "_" (0x5F) sorts after the letters.
        {"a", "_", -1},
    };
    for (const TCase& c : cases) {
        const int got = CompareListText(QString::fromUtf8(c.a), QString::fromUtf8(c.b));
        EXPECT_EQ((got > 0) - (got < 0), c.sign) << c.a << " vs " << c.b;
    }
}

TEST(PlaylistEdit, DeletingTheLastRowSelectsTheNewLastAndTheOnlyRowLeavesNothing) {
    TPlaylist list;
    TRandom random(1);
    Fill(list, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    EXPECT_EQ(DeleteRow(list, random, 2), 1);
    EXPECT_EQ(Titles(list), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(DeleteRow(list, random, 0), 0) << "the same row number";
    EXPECT_EQ(int(list.PlayOrder().size()), 1) << "the play order is drawn again";
    EXPECT_EQ(DeleteRow(list, random, 0), -1);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.TotalSize(), 0);
}

TEST(PlaylistEdit, MovingRowTwoOntoRowFiveShiftsTheRowsBetweenUp) {
    TPlaylist list;
    TRandom random(1);
    Fill(list, {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                QStringLiteral("5"), QStringLiteral("6")});
    list.SetCurrentIndex(3);
    EXPECT_EQ(MoveRow(list, random, 1, 4), 4);
    EXPECT_EQ(Titles(list),
              (QStringList{QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("4"),
                           QStringLiteral("5"), QStringLiteral("2"), QStringLiteral("6")}));
    EXPECT_EQ(list.CurrentIndex(), 3) << "the playing position is not adjusted";
    EXPECT_EQ(MoveRow(list, random, 2, 2), 2);
    EXPECT_EQ(Titles(list)[2], QStringLiteral("4"));
}

TEST(PlaylistEdit, SortsBySizeDescendingWithEqualSizesByTitleDescending) {
    TPlaylist list;
    list.Append(Entry(QStringLiteral("mid"), {}, 200));
    list.Append(Entry(QStringLiteral("alpha"), {}, 500));
    list.Append(Entry(QStringLiteral("small"), {}, 10));
    list.Append(Entry(QStringLiteral("Beta"), {}, 500));
    const int selected = SortRows(list, TSortKey::Size, true, 0);
    EXPECT_EQ(Titles(list), (QStringList{QStringLiteral("Beta"), QStringLiteral("alpha"),
                                         QStringLiteral("mid"), QStringLiteral("small")}));
    EXPECT_EQ(selected, 2) << "the selected entry keeps its selection";
    SortRows(list, TSortKey::Size, false, -1);
    EXPECT_EQ(Titles(list), (QStringList{QStringLiteral("small"), QStringLiteral("mid"),
                                         QStringLiteral("alpha"), QStringLiteral("Beta")}));
}

TEST(PlaylistEdit, SortKeys) {
    const auto sorted = [](TSortKey key, std::vector<FList> entries) {
        QStringList titles;
        for (int i : SortedOrder(entries, key, false))
            titles << entries[std::size_t(i)].S1;
        return titles;
    };
    const std::vector<FList> entries{
        Entry(QStringLiteral("b"), QStringLiteral("/z/a.wav")),
        Entry(QStringLiteral("a"), QStringLiteral("/y/c.mp3")),
        Entry(QStringLiteral("c"), QStringLiteral("/x/b.flac")),
    };
    EXPECT_EQ(sorted(TSortKey::Title, entries).join(QString()), QStringLiteral("abc"));
    EXPECT_EQ(sorted(TSortKey::FullName, entries).join(QString()), QStringLiteral("cab"));
    EXPECT_EQ(sorted(TSortKey::Name, entries).join(QString()), QStringLiteral("bca"));
    EXPECT_EQ(sorted(TSortKey::Extension, entries).join(QString()), QStringLiteral("cab"));
    // Equal titles fall back to the path.
    const std::vector<FList> same{Entry(QStringLiteral("t"), QStringLiteral("/b")),
                                  Entry(QStringLiteral("T"), QStringLiteral("/A"))};
    EXPECT_EQ(SortedOrder(same, TSortKey::Title, false), (std::vector<int>{1, 0}));
    EXPECT_EQ(SortedOrder(same, TSortKey::Title, true), (std::vector<int>{0, 1}));
}

TEST(PlaylistEdit, ATitleInOtherLetterCaseChangesOneWithBlanksAroundDoesNot) {
    TPlaylist list;
    list.Append(Entry(QStringLiteral("Song"), QStringLiteral("/nowhere/song.ogg")));
    int probes = 0;
    const TLengthProbe probe = [&](const QString&) {
        ++probes;
        return qint64(5);
    };
    EXPECT_FALSE(EditEntryTitle(list, 0, QStringLiteral("  Song \t"), probe));
    EXPECT_FALSE(EditEntryTitle(list, 0, QStringLiteral("   "), probe));
    EXPECT_TRUE(EditEntryTitle(list, 0, QStringLiteral(" song "), probe));
    EXPECT_EQ(list.Entry(0).S1, QStringLiteral("song"));
    EXPECT_TRUE(list.Entry(0).S3.isEmpty()) << "a missing file gets no length";
    EXPECT_EQ(probes, 0);
    EXPECT_FALSE(EditEntryTitle(list, 1, QStringLiteral("x"), probe));
}

TEST(PlaylistEdit, TheLengthIsFoundBeforeTheTitleChanges) {
    QTemporaryDir dir;
    const QString ogg = dir.filePath(QStringLiteral("a.ogg"));
    QFile file(ogg);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.close();
    TPlaylist list;
    list.Append(Entry(QStringLiteral("a"), ogg));
    FList known = Entry(QStringLiteral("b"), ogg);
    known.S3 = QStringLiteral("99");
    list.Append(known);
    QStringList probed;
    const TLengthProbe probe = [&](const QString& path) {
        probed << path;
        return qint64(42);
    };
    EXPECT_TRUE(EditEntryTitle(list, 0, QStringLiteral("new"), probe));
    EXPECT_EQ(list.Entry(0).S3, QStringLiteral("42"));
    EXPECT_TRUE(EditEntryTitle(list, 1, QStringLiteral("other"), probe));
    EXPECT_EQ(list.Entry(1).S3, QStringLiteral("99")) << "a known length stays";
    EXPECT_EQ(probed, QStringList{ogg});
    // A probe that cannot tell leaves the length empty.
    list.Append(Entry(QStringLiteral("c"), ogg));
    EXPECT_TRUE(EditEntryTitle(list, 2, QStringLiteral("d"), [](const QString&) { return -1; }));
    EXPECT_TRUE(list.Entry(2).S3.isEmpty());
}

TEST(PlaylistEdit, AnMp3sLengthComesFromItsFrames) {
    const QString mp3 = QStringLiteral(DORVANE_MUSIC_DATA "/stream_sine.mp3");
    TPlaylist list;
    list.Append(Entry(QStringLiteral("sine"), mp3));
    EXPECT_TRUE(
        EditEntryTitle(list, 0, QStringLiteral("Sine"), [](const QString&) { return 1000; }));
    EXPECT_FALSE(list.Entry(0).S3.isEmpty());
    EXPECT_NE(list.Entry(0).S3, QStringLiteral("1000")) << "the probe is for other files";
}

TEST(PlaylistView, AutoColumnsFollowTheEntriesAndTheHeight) {
    EXPECT_EQ(ListColumns(kAutoColumns, 100, 20 * 14, 14), 5);
    EXPECT_EQ(ListColumns(kAutoColumns, 101, 20 * 14 + 13, 14), 6);
    EXPECT_EQ(ListColumns(kAutoColumns, 0, 280, 14), 1);
    EXPECT_EQ(ListColumns(0, 100, 280, 14), 0);
    EXPECT_EQ(ListColumns(3, 100, 280, 14), 3);
    EXPECT_EQ(RowMetrics(12, 0).height, 12);
    EXPECT_EQ(RowMetrics(12, 1).height, 15);
    EXPECT_EQ(RowMetrics(13, 2).height, 20);
    EXPECT_EQ(RowMetrics(13, 2).offsetTop, 3);
}

TEST(PlaylistView, TotalsAndHints) {
    const QLocale russian(QLocale::Russian);
    EXPECT_EQ(TotalsText(0, 0, russian), QStringLiteral("Файлов: 0    Занято: 0 Б"));
    EXPECT_EQ(TotalsText(1234, 5767168, russian),
              QString::fromUtf8("Файлов: 1\u00A0234    Занято: 5,5 МБ (5\u00A0767\u00A0168)"));
    FList entry = Entry(QStringLiteral("Title"), QStringLiteral("/m/t.mp3"));
    EXPECT_EQ(EntryHint(4, entry), QStringLiteral("5. Title\n/m/t.mp3"));
    entry.S3 = QStringLiteral("3725");
    EXPECT_EQ(EntryHint(4, entry), QStringLiteral("5. Title\n/m/t.mp3\nДлительность: 1:02:05"));
}

TEST(PlaylistView, StatusPanelsWhilePausedFollowThePlayButton) {
    const TStatusPanels up = StatusPanels(false, kModePaused, 200000, 61000);
    EXPECT_FALSE(up.playing);
    EXPECT_EQ(up.elapsed, QStringLiteral("0:00:00"));
    EXPECT_EQ(up.length, QStringLiteral("0:00:00"));
    const TStatusPanels down = StatusPanels(true, kModePaused, 200000, 61000);
    EXPECT_TRUE(down.playing);
    EXPECT_EQ(down.elapsed, QStringLiteral("0:01:01"));
    EXPECT_EQ(down.remaining, QStringLiteral("0:02:19"));
    EXPECT_EQ(down.length, QStringLiteral("0:03:20"));
    EXPECT_FALSE(StatusPanels(true, 525, 200000, 61000).playing) << "stopped";
}

TEST(PlaylistSchemes, TheDefaultSchemeMatchesTheDefaultSettings) {
    const TListScheme scheme = ListScheme(kDefaultListScheme);
    EXPECT_EQ(scheme.background, 0x183C7Bu);
    EXPECT_EQ(scheme.titles, 0xFFFFFFu);
    EXPECT_EQ(scheme.numbers, 0x9CC0FFu);
    EXPECT_EQ(scheme.indicatorWidth, 19);
    EXPECT_EQ(ListScheme(18).numbers, 0x5C5C5Cu);
    EXPECT_EQ(ListScheme(99).numbers, 0x5C5C5Cu) << "clamped";
}

TEST(PlaylistWindowSettings, TheDefaultPlaceIsBesideTheGameWindowWithinTheWorkArea) {
    const QRect area(0, 0, 1280, 1000);
    struct TCase {
        QRect game;
        QRect expected;
    } const cases[] = {
        // Room enough on the right: as wide and as high as the game window.
        {{100, 50, 400, 600}, {500, 50, 400, 600}},
        // Less room: the room, fitted.
        {{700, 0, 400, 600}, {1100, 0, 180, 600}},
        // No room at all: at least 123 wide, pushed back in from the right.
        {{1200, 0, 80, 600}, {1157, 0, 123, 600}},
        // Taller than the area: its height, moved up.
        {{0, 100, 300, 1200}, {300, 0, 300, 1000}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(DefaultPlaylistBounds(c.game, area), c.expected) << c.game.x();
    EXPECT_EQ(FitBoundsToWorkArea({-50, -20, 10, 10}, area), QRect(0, 0, 100, 50));
}

// The list's own frame (borders and title bar) stays inside the work area too.
TEST(PlaylistWindowSettings, TheDefaultPlaceLeavesRoomForTheFrame) {
    const QRect area(0, 0, 1280, 1000);
    const QMargins frame(1, 22, 1, 1);
    struct TCase {
        QRect game; // its frame
        QRect expected;
    } const cases[] = {
        {{100, 50, 400, 600}, {500, 50, 400, 600}},
        // The room less the two borders.
        {{700, 0, 400, 600}, {1100, 0, 178, 600}},
        {{1200, 0, 80, 600}, {1155, 0, 123, 600}},
        // As high as the game window, pulled up by its title bar and border.
        {{0, 500, 300, 600}, {300, 377, 300, 600}},
    };
    for (const TCase& c : cases) {
        const QRect bounds = DefaultPlaylistBounds(c.game, area, frame);
        EXPECT_EQ(bounds, c.expected) << c.game.x();
        EXPECT_TRUE(area.contains(QRect(bounds.topLeft(), bounds.size().grownBy(frame))))
            << c.game.x();
    }
}

TEST(PlaylistWindowSettings, ValuesAreCorrectedWhenRead) {
    TMapStore store;
    store.values = {{QStringLiteral("ListColumns"), QStringLiteral("-7")},
                    {QStringLiteral("ListInterval"), QStringLiteral("5")},
                    {QStringLiteral("ListLayered"), QStringLiteral("3")},
                    {QStringLiteral("IndicatorW"), QStringLiteral("2")},
                    {QStringLiteral("IndicatorCS"), QStringLiteral("40")}};
    const TPlaylistWindowSettings read = PlaylistWindowSettingsSchema().Read(store, {});
    EXPECT_EQ(read.ListColumns, -1);
    EXPECT_EQ(read.ListInterval, 2);
    EXPECT_EQ(read.ListLayered, 64);
    EXPECT_EQ(read.IndicatorW, 19);
    EXPECT_EQ(read.IndicatorCS, 12);
    EXPECT_EQ(read.ListColor, 0x183C7B);
    EXPECT_TRUE(read.ListShowHint);
    // Minimised or maximised, the bounds are not written.
    TPlaylistWindowSettings written = read;
    written.BoundsWritable = false;
    written.ListLeft = 5;
    store.values.clear();
    PlaylistWindowSettingsSchema().WriteAll(store, written);
    EXPECT_EQ(store.values.count(QStringLiteral("ListLeft")), 0u);
    EXPECT_EQ(store.values[QStringLiteral("ListColumns")], QStringLiteral("-1"));
}

} // namespace
} // namespace dorvane::test
