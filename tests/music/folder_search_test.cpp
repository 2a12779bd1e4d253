// The folder search: which files it takes, in which order, and that it ends
// on folders that loop and never stops at a FIFO.
#include "core/file_name.h"
#include "music/folder_search.h"
#include "music/music_masks.h"
#include "music_fixture.h"

#include <gtest/gtest.h>

#include <fcntl.h>

namespace dorvane::test {
namespace {

QStringList Below(const TMusicFolder& folder, const QStringList& paths) {
    QStringList out;
    for (const QString& path : paths)
        out << path.mid(folder.Path().size() + 1);
    return out;
}

const QString kAudio = QString::fromLatin1(kAudioMasks);

TEST(FolderSearch, TakesSoundFilesByExtensionInAnyCase) {
    const TMusicFolder folder;
    for (const char* name : {"a.mp3", "B.FLAC", "c.Wma", "d.midi", "e.txt", "mp3", "f.mp3.bak",
                             "g.ac3", "h.ape", "i.m4a", "j.mid", "k.rmi", "l.wav", "m.mp"})
        folder.Write(QString::fromLatin1(name));
    EXPECT_EQ(Below(folder, FindMusicFiles(folder.Path(), kAudio, false, true)),
              QStringList({"a.mp3", "B.FLAC", "c.Wma", "d.midi", "g.ac3", "h.ape", "i.m4a", "j.mid",
                           "k.rmi", "l.wav"}));
}

TEST(FolderSearch, MasksAreNormalised) {
    const TMusicFolder folder;
    folder.Write("a.mp3");
    folder.Write("b.wav");
    EXPECT_EQ(Below(folder, FindMusicFiles(folder.Path(), QStringLiteral(".MP3"), false, true)),
              QStringList({"a.mp3"}));
    EXPECT_TRUE(FindMusicFiles(folder.Path(), QString(), false, true).isEmpty());
    EXPECT_TRUE(FindMusicFiles(folder.Path("missing"), kAudio, false, true).isEmpty());
}

TEST(FolderSearch, SubfoldersAndHiddenFiles) {
    const TMusicFolder folder;
    folder.Write("top.mp3");
    folder.Write(".hidden.mp3");
    folder.Write("sub/deep/low.mp3");
    folder.Write(".hidden-folder/seen.mp3");
    EXPECT_EQ(Below(folder, FindMusicFiles(folder.Path(), kAudio, false, true)),
              QStringList({".hidden.mp3", "top.mp3"}));
    EXPECT_EQ(Below(folder, FindMusicFiles(folder.Path(), kAudio, true, false)),
              QStringList({".hidden-folder/seen.mp3", "sub/deep/low.mp3", "top.mp3"}))
        << "only files are hidden by their dot; every folder is searched";
    EXPECT_EQ(Below(folder, FindMusicFiles(folder.Path(), kAudio, true, true)).size(), 4);
}

TEST(FolderSearch, SortsByFullPathWithoutLetterCase) {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const TMusicFolder folder;
    for (const char* name : {"b.mp3", "A.mp3", "d/z.mp3", "Б.mp3", "а.mp3", "C.mp3"})
        folder.Write(QString::fromUtf8(name));
    // Russian puts its own letters before the Latin ones.
    EXPECT_EQ(Below(folder, FindMusicFiles(folder.Path(), kAudio, true, true)),
              QStringList({"а.mp3", "Б.mp3", "A.mp3", "b.mp3", "C.mp3", "d/z.mp3"}));
    QLocale::setDefault(QLocale::c());
}

TEST(FolderSearch, EndsOnLinkLoopsAndSkipsWhatIsNoFile) {
    const TMusicFolder folder;
    folder.Write("music/a.mp3");
    folder.Link("music/loop", folder.Path("music"));
    folder.Link("music/sub/up", folder.Path());
    folder.Link("music/linked.mp3", folder.Path("music/a.mp3"));
    folder.Link("music/broken.mp3", folder.Path("nothing.mp3"));
    folder.Fifo("music/pipe.mp3");
    folder.Folder("music/folder.mp3");
    EXPECT_EQ(Below(folder, FindMusicFiles(folder.Path("music"), kAudio, true, true)),
              QStringList({"music/a.mp3", "music/linked.mp3"}));
}

TEST(FolderSearch, ACancelledSearchEndsAtOnce) {
    const TMusicFolder folder;
    folder.Write("a.mp3");
    const std::atomic<bool> cancel{true};
    EXPECT_TRUE(FindMusicFiles(folder.Path(), kAudio, true, true, &cancel).isEmpty());
}

TEST(FolderSearch, NamesThatAreNotUtf8ComeBackAsTheirBytes) {
    const TMusicFolder folder;
    const QByteArray name = QFile::encodeName(folder.Path()) + "/\xE9t\xE9.mp3";
    ASSERT_EQ(::close(::creat(name.constData(), 0600)), 0);
    const QStringList found = FindMusicFiles(folder.Path(), kAudio, false, true);
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(FileNameToBytes(found[0]), name);
}

} // namespace
} // namespace dorvane::test
