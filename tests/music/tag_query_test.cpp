// The tag query: the title made of the checked fields, the answer for one
// file, and the query over a playlist on its worker thread: cancelled,
// overtaken by changes of the list, and fed files that are missing or
// hostile.
#include "music/tag_query.h"

#include "support/gated_query_reader.h"
#include "support/tag_builder.h"
#include "support/wait_for.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include "music_fixture.h"

namespace dorvane::test {
namespace {

QByteArray Data(const Bytes& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

// 384 frames of 128 kbit/s: 10 s.
Bytes TaggedMp3(const Bytes& frames) {
    return Cat({Id3Tag(frames), Mp3Frames(384)});
}

Bytes AbcMp3() {
    return TaggedMp3(Cat({TextFrame("TPE1", "A"), TextFrame("TALB", "B"), TextFrame("TIT2", "C"),
                          TextFrame("TYER", "1999"), TextFrame("TRCK", "7")}));
}

// Title, author, album and track number (a 32-bit number); 10 s.
Bytes TaggedWma() {
    return Cat(
        {AsfHeader({AsfContent(u"Сказка", u"Ария"),
                    AsfExtendedContent({AsfDescriptor(u"WM/AlbumTitle", 0, AsfString(u"Герой")),
                                        AsfDescriptor(u"WM/TrackNumber", 3, LittleEndian(5, 4))}),
                    AsfFileProperties(128'000), AsfAudioStream(2, 44100, 16'000)}),
         Zeros(160'000)});
}

struct TTitleCase {
    const char* name;
    TQueryFields fields;
    TID3v1Info v1;
    TID3v2Info v2;
    const char* title;
};

// A found tag of either version with these fields.
template <class TTag>
TTag Tag(const char* artist, const char* year, const char* album, const char* track,
         const char* title) {
    TTag tag;
    tag.Ok = true;
    tag.Artist = QString::fromUtf8(artist);
    tag.Year = QString::fromUtf8(year);
    tag.Album = QString::fromUtf8(album);
    tag.Track = QString::fromUtf8(track);
    tag.Titel = QString::fromUtf8(title);
    return tag;
}
const auto V1 = Tag<TID3v1Info>;
const auto V2 = Tag<TID3v2Info>;

TEST(TagQuery, TitleOfTheCheckedFields) {
    const TID3v2Info full = V2("A", "1999", "B", "7", "C");
    const TTitleCase cases[] = {
        {"album only", {false, true, false}, {}, full, "A - B - C"},
        {"nothing checked", {}, {}, full, "A - C"},
        {"everything", {true, true, true}, {}, full, "A - 1999 - B - 7 - C"},
        {"year and track", {true, false, true}, {}, full, "A - 1999 - 7 - C"},
        {"a checked field that is empty is left out",
         {true, true, true},
         {},
         V2("A", "", "B", "", "C"),
         "A - B - C"},
        {"no artist: no separator in front",
         {false, true, false},
         {},
         V2("", "", "B", "", "C"),
         "B - C"},
        {"only a title", {}, {}, V2("", "", "", "", "C"), "C"},
        {"only an artist", {}, {}, V2("A", "", "", "", ""), "A"},
        {"the version 1 tag fills what version 2 lacks",
         {true, true, false},
         V1("A1", "2001", "B1", "", "C1"),
         V2("", "", "B", "", "C"),
         "A1 - 2001 - B - C"},
        {"version 1 alone", {false, false, true}, V1("A1", "", "", "3", "C1"), {}, "A1 - 3 - C1"},
        {"no fields at all", {true, true, true}, {}, V2("", "", "", "", ""), ""},
    };
    for (const TTitleCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(QueryTitle(c.v1, c.v2, c.fields), QString::fromUtf8(c.title));
    }
}

TEST(TagQuery, AlbumFieldsAreReadOnlyWhenWanted) {
    EXPECT_EQ(QueryDetail({}), kDetailTitles);
    EXPECT_EQ(QueryDetail({true, false, false}), kDetailQuery);
    EXPECT_EQ(QueryDetail({false, true, false}), kDetailQuery);
    EXPECT_EQ(QueryDetail({false, false, true}), kDetailQuery);
}

TEST(TagQuery, CandidatesByExtension) {
    EXPECT_TRUE(IsQueryCandidate(QStringLiteral("/m/a.mp3")));
    EXPECT_TRUE(IsQueryCandidate(QStringLiteral("/m/A.MP3")));
    EXPECT_TRUE(IsQueryCandidate(QStringLiteral("/m/b.Wma")));
    EXPECT_FALSE(IsQueryCandidate(QStringLiteral("/m/c.flac")));
    EXPECT_FALSE(IsQueryCandidate(QStringLiteral("/m/mp3")));
    EXPECT_FALSE(IsQueryCandidate(QStringLiteral("/m/d.mp3.txt")));
}

TEST(TagQuery, OneFileEachKind) {
    TMusicFolder folder;
    const QString mp3 = folder.Write(QStringLiteral("a.mp3"), Data(AbcMp3()));
    const std::optional<TQueryAnswer> a = QueryEntry(4, mp3, {false, true, false});
    ASSERT_TRUE(a);
    EXPECT_EQ(a->index, 4);
    EXPECT_EQ(a->path, mp3);
    EXPECT_EQ(a->title, QStringLiteral("A - B - C"));
    EXPECT_EQ(a->length, QStringLiteral("10"));

    const QString wma = folder.Write(QStringLiteral("b.WMA"), Data(TaggedWma()));
    const std::optional<TQueryAnswer> b = QueryEntry(0, wma, {false, true, true});
    ASSERT_TRUE(b);
    EXPECT_EQ(b->title, QStringLiteral("Ария - Герой - 5 - Сказка"));
    EXPECT_EQ(b->length, QStringLiteral("10"));

    // Read, but no tag: an answer that changes nothing.
    const QString bare = folder.Write(QStringLiteral("bare.mp3"), Data(Mp3Frames(384)));
    const std::optional<TQueryAnswer> c = QueryEntry(1, bare, {});
    ASSERT_TRUE(c);
    EXPECT_TRUE(c->title.isEmpty());

    EXPECT_FALSE(QueryEntry(0, folder.Path(QStringLiteral("gone.mp3")), {}));
    EXPECT_FALSE(QueryEntry(0, folder.Write(QStringLiteral("c.flac"), Data(AbcMp3())), {}));
}

FList Entry(const QString& path, const char* title = "old", const char* length = "") {
    FList entry;
    entry.S1 = QString::fromUtf8(title);
    entry.S2 = path;
    entry.S3 = QString::fromUtf8(length);
    entry.Ext = QLatin1Char('.') + QFileInfo(path).suffix();
    return entry;
}

// The query's answers as they arrive, and its end.
struct TQueryWatch {
    explicit TQueryWatch(TTagQuery& query) {
        QObject::connect(&query, &TTagQuery::Progressed, [this](int index) { progress << index; });
        QObject::connect(&query, &TTagQuery::Finished, [this](bool early) {
            ++finishes;
            cancelled = early;
        });
    }
    QList<int> progress;
    int finishes = 0;
    bool cancelled = false;
};

class TagQueryRun : public testing::Test {
protected:
    QStringList Titles() const {
        QStringList titles;
        for (const FList& e : playlist.Entries())
            titles << e.S1;
        return titles;
    }
    QStringList Lengths() const {
        QStringList lengths;
        for (const FList& e : playlist.Entries())
            lengths << e.S3;
        return lengths;
    }

    TMusicFolder folder;
    TPlaylist playlist;
};

TEST_F(TagQueryRun, RetitlesTaggedFilesAndSkipsTheRest) {
    QByteArray junk;
    for (int k = 0; k < 70'000; ++k)
        junk += char((k * 131 + 7) % 256);
    const QString good = folder.Write(QStringLiteral("a.mp3"), Data(AbcMp3()));
    const QString hostile[] = {
        // A tag that claims 256 MB and ends after its header.
        folder.Write(QStringLiteral("huge.mp3"),
                     Data(Cat({Of("ID3"), {3, 0, 0}, Syncsafe(0x0FFF'FFFF)}))),
        // A frame larger than its tag.
        folder.Write(QStringLiteral("frame.mp3"), Data(Cat({Of("ID3"),
                                                            {3, 0, 0},
                                                            Syncsafe(20),
                                                            Of("TIT2"),
                                                            BigEndian(1'000'000),
                                                            Zeros(12)}))),
        folder.Write(QStringLiteral("junk.mp3"), junk),
        folder.Write(QStringLiteral("empty.wma"), ""),
        folder.Write(QStringLiteral("junk.wma"), junk),
        // An ASF header that claims more objects than it holds.
        folder.Write(
            QStringLiteral("objects.wma"),
            Data(Cat(
                {Guid(kAsfHeader), LittleEndian(1'000'000, 8), LittleEndian(65'535, 4), {1, 2}}))),
        folder.Fifo(QStringLiteral("pipe.mp3")),
        folder.Folder(QStringLiteral("folder.mp3")),
        folder.Link(QStringLiteral("loop.mp3"), folder.Path(QStringLiteral("loop.mp3"))),
        folder.Link(QStringLiteral("zero.wma"), QStringLiteral("/dev/zero")),
        folder.Path(QStringLiteral("missing.mp3")),
        folder.Write(QStringLiteral("other.flac"), Data(AbcMp3())),
    };
    for (const QString& path : hostile)
        playlist.Append(Entry(path));
    const QString wma = folder.Write(QStringLiteral("b.wma"), Data(TaggedWma()));
    const QString bare = folder.Write(QStringLiteral("bare.mp3"), Data(Mp3Frames(384)));
    playlist.Append(Entry(good, "a", "3"));
    playlist.Append(Entry(wma));
    playlist.Append(Entry(bare, "bare", "9"));

    TTagQuery query(playlist);
    TQueryWatch watch(query);
    ASSERT_TRUE(query.Start({false, true, false}));
    EXPECT_TRUE(query.Running());
    EXPECT_FALSE(query.Start({})) << "one query at a time";
    ASSERT_TRUE(WaitFor([&] { return watch.finishes > 0; }));
    EXPECT_FALSE(query.Running());
    EXPECT_FALSE(watch.cancelled);
    EXPECT_EQ(query.Total(), 15);

    QStringList titles(12, QStringLiteral("old"));
    titles << QStringLiteral("A - B - C") << QStringLiteral("Ария - Герой - Сказка")
           << QStringLiteral("bare");
    EXPECT_EQ(Titles(), titles);
    QStringList lengths(12, QString());
    lengths << QStringLiteral("10") << QStringLiteral("10") << QStringLiteral("9");
    EXPECT_EQ(Lengths(), lengths) << "an untagged file keeps its length too";
    // Every file that could be read moved the progress, in order; the
    // missing, the non-regular and the other kinds did not.
    EXPECT_EQ(watch.progress, QList<int>({0, 1, 2, 3, 4, 5, 12, 13, 14}));
}

TEST_F(TagQueryRun, CancellingKeepsWhatWasDone) {
    for (int k = 0; k < 6; ++k)
        playlist.Append(Entry(folder.Write(QStringLiteral("%1.mp3").arg(k), Data(AbcMp3()))));
    TGatedQueryReader gate(2);
    TTagQuery query(playlist);
    query.SetReader(gate.Reader());
    TQueryWatch watch(query);
    ASSERT_TRUE(query.Start({}));
    ASSERT_TRUE(WaitFor([&] { return gate.Waiting() && watch.progress.size() == 2; }));
    query.Cancel();
    gate.Open();
    ASSERT_TRUE(WaitFor([&] { return watch.finishes > 0; }));
    EXPECT_TRUE(watch.cancelled);
    // The file being read when the cancel came is finished and kept.
    EXPECT_EQ(Titles(), QStringList({"A - C", "A - C", "A - C", "old", "old", "old"}));
    EXPECT_EQ(watch.progress, QList<int>({0, 1, 2}));

    // The next query starts afresh and goes to the end.
    query.SetReader(QueryEntry);
    ASSERT_TRUE(query.Start({true, false, true}));
    ASSERT_TRUE(WaitFor([&] { return watch.finishes > 1; }));
    EXPECT_FALSE(watch.cancelled);
    EXPECT_EQ(Titles(), QStringList(6, QStringLiteral("A - 1999 - 7 - C")));
}

TEST_F(TagQueryRun, AnAnswerForAnEntryThatMovedIsDropped) {
    const QString first = folder.Write(QStringLiteral("first.mp3"), Data(AbcMp3()));
    const QString second = folder.Write(QStringLiteral("second.mp3"), Data(AbcMp3()));
    const QString third = folder.Write(QStringLiteral("third.mp3"), Data(AbcMp3()));
    playlist.Append(Entry(first, "1"));
    playlist.Append(Entry(second, "2"));
    playlist.Append(Entry(third, "3"));
    TGatedQueryReader gate(1);
    TTagQuery query(playlist);
    query.SetReader(gate.Reader());
    TQueryWatch watch(query);
    ASSERT_TRUE(query.Start({}));
    ASSERT_TRUE(WaitFor([&] { return gate.Waiting() && watch.progress.size() == 1; }));
    // The user deletes the first row meanwhile: the answers for rows 1 and 2
    // now name files that are no longer there.
    ASSERT_TRUE(playlist.RemoveAt(0));
    gate.Open();
    ASSERT_TRUE(WaitFor([&] { return watch.finishes > 0; }));
    EXPECT_EQ(Titles(), QStringList({"2", "3"}));
}

TEST_F(TagQueryRun, AnEmptyListEndsAtOnce) {
    TTagQuery query(playlist);
    TQueryWatch watch(query);
    ASSERT_TRUE(query.Start({}));
    ASSERT_TRUE(WaitFor([&] { return watch.finishes > 0; }));
    EXPECT_EQ(query.Total(), 0);
    EXPECT_TRUE(watch.progress.isEmpty());
}

TEST_F(TagQueryRun, DestroyedWhileRunningWaitsAndDropsTheRest) {
    for (int k = 0; k < 4; ++k)
        playlist.Append(Entry(folder.Write(QStringLiteral("%1.mp3").arg(k), Data(AbcMp3()))));
    TGatedQueryReader gate(0);
    {
        TTagQuery query(playlist);
        query.SetReader(gate.Reader());
        ASSERT_TRUE(query.Start({}));
        ASSERT_TRUE(WaitFor([&] { return gate.Waiting(); }));
        // The file in hand is finished, then the destructor's cancel stops
        // the worker, whose answers are still queued.
        gate.Open();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(Titles(), QStringList(4, QStringLiteral("old")))
        << "answers queued for a query that is gone are not written";
}

} // namespace
} // namespace dorvane::test
