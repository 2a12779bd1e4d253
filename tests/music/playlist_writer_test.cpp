// Saving the playlist: the proposed name, the path forms, the bytes of each
// format, and a save that fails.
#include "music/playlist_formats.h"
#include "music/playlist_writer.h"
#include "music/text_lines.h"
#include "music_fixture.h"

#include <gtest/gtest.h>

namespace dorvane::test {
namespace {

class TRecordedMessages final : public TMessageService {
public:
    QStringList shown;

protected:
    void Present(TMessageKind kind, const QString& text) override {
        shown << (kind == TMessageKind::Warning ? QStringLiteral("warning: ") : QString()) + text;
    }
    bool Ask(const QString&) override { return false; }
};

FList Entry(const QString& path, const char* title, const char* length) {
    FList entry;
    entry.S2 = path;
    entry.S1 = QString::fromUtf8(title);
    entry.S3 = QString::fromUtf8(length);
    return entry;
}

TEST(PlaylistWriter, ProposedNames) {
    const TMusicFolder folder;
    const QString pls = folder.Write("lists/rock.pls");
    const QString txt = folder.Write("lists/notes.txt");
    const QString music = folder.Folder("Music/Rock");
    struct TCase {
        QString source;
        QString name;
        TPlaylistFormat format;
    };
    for (const TCase& c : {
             TCase{pls, pls, TPlaylistFormat::Pls},
             TCase{txt, txt + ".m3u", TPlaylistFormat::M3u},
             TCase{folder.Write("lists/a.LST"), folder.Path("lists/a.LST"), TPlaylistFormat::Lst},
             TCase{music, music + ".m3u", TPlaylistFormat::M3u},
             TCase{music + "/", music + ".m3u", TPlaylistFormat::M3u},
             TCase{folder.Path("Music/gone"), QStringLiteral("Music.m3u"), TPlaylistFormat::M3u},
             TCase{QString(), QStringLiteral("Безымянный.m3u"), TPlaylistFormat::M3u},
         }) {
        const TSaveProposal proposal = ProposeSaveName(c.source);
        EXPECT_EQ(proposal.name, c.name) << c.source.toStdString();
        EXPECT_EQ(proposal.format, c.format) << c.source.toStdString();
    }
}

TEST(PlaylistWriter, ForcedExtension) {
    EXPECT_EQ(ForceExtension(QStringLiteral("/a/list"), TPlaylistFormat::Pls), "/a/list.pls");
    EXPECT_EQ(ForceExtension(QStringLiteral("/a/list.m3u"), TPlaylistFormat::Lsf), "/a/list.lsf");
    EXPECT_EQ(ForceExtension(QStringLiteral("/a.b/list.songs"), TPlaylistFormat::M3u),
              "/a.b/list.m3u");
    EXPECT_EQ(ForceExtension(QStringLiteral("/a.b/list"), TPlaylistFormat::Lst), "/a.b/list.lst");
}

const QString kList = QStringLiteral("/home/me/Music/list.m3u");

std::vector<FList> Entries() {
    return {Entry(QStringLiteral("/home/me/Music/a.mp3"), "Песня", "215"),
            Entry(QStringLiteral("/home/me/Music/sub/b.flac"), "b", ""),
            Entry(QStringLiteral("/mnt/other/c.wav"), "Не имя файла", ""),
            Entry(QStringLiteral("/home/me/Musical/d.mp3"), "d", "9")};
}

TEST(PlaylistWriter, M3uBytes) {
    EXPECT_EQ(EncodePlaylist(Entries(), TPlaylistFormat::M3u, kList),
              QByteArray("\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:215,Песня\r\na.mp3\r\nsub/b.flac\r\n"
                         "/mnt/other/c.wav\r\n#EXTINF:9,d\r\n/home/me/Musical/d.mp3\r\n"));
}

TEST(PlaylistWriter, PlsBytesHaveTitleAndLengthOnlyWithALength) {
    EXPECT_EQ(EncodePlaylist(Entries(), TPlaylistFormat::Pls, kList),
              QByteArray("\xEF\xBB\xBF[playlist]\r\nNumberOfEntries=4\r\nFile1=a.mp3\r\n"
                         "Title1=Песня\r\nLength1=215\r\nFile2=sub/b.flac\r\n"
                         "File3=/mnt/other/c.wav\r\nFile4=/home/me/Musical/d.mp3\r\nTitle4=d\r\n"
                         "Length4=9\r\n"));
}

TEST(PlaylistWriter, LsfAndLstHoldFullPaths) {
    const QByteArray expected("\xEF\xBB\xBF/home/me/Music/a.mp3\r\n/home/me/Music/sub/b.flac\r\n"
                              "/mnt/other/c.wav\r\n/home/me/Musical/d.mp3\r\n");
    EXPECT_EQ(EncodePlaylist(Entries(), TPlaylistFormat::Lsf, kList), expected);
    EXPECT_EQ(EncodePlaylist(Entries(), TPlaylistFormat::Lst, kList), expected);
}

TEST(PlaylistWriter, LineBreaksCannotSplitAnEntry) {
    const std::vector<FList> entries = {Entry(QStringLiteral("/m/a\nb.mp3"), "x", "1"),
                                        Entry(QStringLiteral("/m/c.mp3"), "two\r\nlines", "3")};
    EXPECT_EQ(EncodePlaylist(entries, TPlaylistFormat::M3u, QStringLiteral("/m/l.m3u")),
              QByteArray("\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:3,two  lines\r\nc.mp3\r\n"));
}

TEST(PlaylistWriter, SavedListsReadBackAsTheSameEntries) {
    const TMusicFolder folder;
    std::vector<FList> entries;
    for (const char* name : {"lists/a.mp3", "lists/sub/Сон.flac", "elsewhere/c.wav"}) {
        const QString path = folder.Write(QString::fromUtf8(name));
        entries.push_back(Entry(path, "Т,и", "42"));
    }
    for (const TPlaylistFormat format : {TPlaylistFormat::M3u, TPlaylistFormat::Pls}) {
        const QString list = folder.Path(QStringLiteral("lists/list") + FormatExtension(format));
        ASSERT_TRUE(WritePlaylistFile(list, EncodePlaylist(entries, format, list)));
        const TTextLines text = ReadTextLines(list);
        const std::vector<FList> back =
            ParsePlaylistLines(text.lines, FormatExtension(format), ContextForList(list));
        ASSERT_EQ(back.size(), entries.size());
        for (std::size_t i = 0; i < back.size(); ++i) {
            EXPECT_EQ(back[i].S2, entries[i].S2);
            EXPECT_EQ(back[i].S1, entries[i].S1);
            EXPECT_EQ(back[i].S3, entries[i].S3);
        }
    }
}

TEST(PlaylistWriter, SaveAsksWritesAndAnswersTheName) {
    const TMusicFolder folder;
    const QString music = folder.Folder("Rock");
    std::optional<TSaveRequest> asked;
    TRecordedMessages messages;
    const QString saved = SavePlaylist(
        {Entry(folder.Write("Rock/a.mp3"), "a", "")}, music,
        [&](const TSaveRequest& request) -> std::optional<TSaveAnswer> {
            asked = request;
            return TSaveAnswer{folder.Path("mine.m3u"), TPlaylistFormat::Pls};
        },
        messages);
    ASSERT_TRUE(asked);
    EXPECT_EQ(asked->proposedName, music + ".m3u");
    EXPECT_EQ(asked->format, TPlaylistFormat::M3u);
    EXPECT_EQ(saved, folder.Path("mine.pls")) << "the filter decides the extension";
    EXPECT_EQ(ReadTextLines(saved).lines,
              QStringList({"[playlist]", "NumberOfEntries=1", "File1=Rock/a.mp3"}));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST(PlaylistWriter, NothingToSaveOrCancelledSavesNothing) {
    TRecordedMessages messages;
    int asked = 0;
    const TSaveChooser cancel = [&](const TSaveRequest&) -> std::optional<TSaveAnswer> {
        ++asked;
        return std::nullopt;
    };
    EXPECT_TRUE(SavePlaylist({}, QString(), cancel, messages).isEmpty());
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(SavePlaylist({Entry("/a.mp3", "a", "")}, QString(), cancel, messages).isEmpty());
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST(PlaylistWriter, AFailedWriteSaysSoAndKeepsTheOldFile) {
    const TMusicFolder folder;
    const QString old = folder.Write("old.m3u", "old");
    TRecordedMessages messages;
    for (const QString& target : {folder.Path("no/such/folder/x.m3u"), folder.Path("old.m3u/x")}) {
        const QString saved = SavePlaylist(
            {Entry("/a.mp3", "a", "")}, QString(),
            [&](const TSaveRequest&) {
                return std::optional(TSaveAnswer{target, TPlaylistFormat::M3u});
            },
            messages);
        EXPECT_TRUE(saved.isEmpty());
    }
    EXPECT_EQ(messages.shown,
              QStringList(2, QStringLiteral("warning: Команду невозможно выполнить!")));
    QFile file(old);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("old"));
}

} // namespace
} // namespace dorvane::test
