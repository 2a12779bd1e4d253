// Lists that are cut short, hostile or not lists at all: the reader adds
// what they name and nothing else, never blocks and never stalls.
#include "music/music_loader.h"
#include "music/playlist_formats.h"
#include "music/text_lines.h"
#include "music_fixture.h"

#include <gtest/gtest.h>

namespace dorvane::test {
namespace {

class HostileLists : public testing::Test {
protected:
    HostileLists() { song = folder.Write("lists/a.mp3"); }

    QStringList Read(const char* name, const QByteArray& bytes) const {
        const QString list =
            folder.Write(QStringLiteral("lists/") + QString::fromUtf8(name), bytes);
        QStringList out;
        for (const FList& e : CollectSourceEntries(list, {}, nullptr))
            out << e.S2;
        return out;
    }

    TMusicFolder folder;
    QString song;
};

TEST_F(HostileLists, AHugeLineIsNoPath) {
    QByteArray huge(8 << 20, 'a');
    EXPECT_TRUE(Read("huge.m3u", huge + ".mp3\r\n").isEmpty());
    QByteArray slashes;
    for (int k = 0; k < 2000; ++k)
        slashes += "\\a";
    EXPECT_EQ(Read("deep.m3u", "C:" + slashes + "\\x.mp3\r\na.mp3\r\n"), QStringList({song}))
        << "a drive path of thousands of components tries only its last few against the list";
    EXPECT_EQ(Read("long.lst", huge + "\na.mp3"), QStringList({song}));
}

TEST_F(HostileLists, BinaryJunkAddsNothing) {
    QByteArray junk;
    for (int k = 0; k < 70000; ++k)
        junk += char((k * 131 + 7) % 256);
    for (const char* name :
         {"junk.m3u", "junk.pls", "junk.wpl", "junk.asx", "junk.plc", "junk.lst"})
        EXPECT_TRUE(Read(name, junk).isEmpty()) << name;
}

TEST_F(HostileLists, TruncatedListsKeepWhatIsWhole) {
    EXPECT_EQ(Read("cut.pls", "[playlist]\nFile1=a.mp3"), QStringList({song}));
    EXPECT_EQ(Read("cut2.pls", "File1=a.mp3\nTitle1"), QStringList({song}));
    EXPECT_EQ(Read("cut.m3u", "a.mp3\n#EXTINF:3"), QStringList({song}));
    EXPECT_TRUE(Read("cut.wpl", "<media src=\"a.mp3").isEmpty());
    EXPECT_TRUE(Read("cut.plc", "|a.mp3").isEmpty());
    // A UTF-16 list that lost its last byte.
    QByteArray utf16("\xFF\xFE", 2);
    for (const char c : QByteArray("a.mp3\r\nb"))
        utf16 += QByteArray(1, c) + QByteArray(1, 0);
    utf16.chop(1);
    EXPECT_EQ(Read("cut16.m3u", utf16), QStringList({song}));
    EXPECT_TRUE(Read("mark.m3u", "\xEF\xBB").isEmpty());
}

TEST_F(HostileLists, WhatIsNoRegularFileIsNeverAnEntry) {
    folder.Fifo("lists/pipe.mp3");
    folder.Link("lists/loop.mp3", folder.Path("lists/loop.mp3"));
    const QStringList named = {"pipe.mp3",        "loop.mp3",           "/dev/null", "/dev/zero",
                               "/proc/self/fd/0", folder.Path("lists"), "a.mp3"};
    EXPECT_EQ(Read("devices.m3u", named.join("\n").toUtf8()), QStringList({song}));
    EXPECT_EQ(Read("devices.lst", named.join("\n").toUtf8()), QStringList({song}));
}

TEST_F(HostileLists, AListThatIsAFifoOrDeviceIsNotRead) {
    const QString fifo = folder.Fifo("lists/pipe.m3u");
    EXPECT_FALSE(ReadTextLines(fifo).ok);
    EXPECT_FALSE(ReadTextLines(QStringLiteral("/dev/zero")).ok);
    // As a source item a FIFO is neither file nor folder: the sound folder
    // takes its place, and here there is none.
    EXPECT_TRUE(CollectSourceEntries(fifo, {false, folder.Path("no-sound")}).empty());
}

TEST_F(HostileLists, AListNamingItselfOrAFolderLoop) {
    folder.Link("lists/up", folder.Path());
    EXPECT_EQ(Read("self.m3u", "self.m3u\nup/lists/a.mp3\n"),
              QStringList({folder.Path("lists/self.m3u"), folder.Path("lists/up/lists/a.mp3")}))
        << "a list is a file like any other in an M3U; it is not read again";
    EXPECT_EQ(CollectSourceEntries(folder.Path(), {true, QString()}).size(), 1u)
        << "the folder search ends on the loop";
}

} // namespace
} // namespace dorvane::test
