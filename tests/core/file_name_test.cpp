// File names keep their bytes through a QString, and only regular files are
// read.
#include "core/file_name.h"
#include "core/regular_file.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dorvane {
namespace {

TEST(FileName, BytesComeBackAsTheyWere) {
    const QByteArray names[] = {
        "/home/me/game.dvn",         "/home/me/Игры/партия.dvn",
        "/tmp/g\xff\xfe.dvn",        // not UTF-8 at all
        "/tmp/\xc0\xaf.dvn",         // an overlong '/'
        "/tmp/\xed\xa0\x80.dvn",     // a surrogate written in UTF-8
        "/tmp/\xe2\x82.dvn",         // a sequence cut short
        "/tmp/\xf3\xa3\xa3\x9d.dvn", // U+E38DD: its low half lies among the bytes' codes
        "/tmp/\xf4\x90\x80\x80.dvn", // above U+10FFFF
    };
    for (const QByteArray& bytes : names) {
        const QString name = FileNameFromBytes(bytes);
        EXPECT_EQ(FileNameToBytes(name), bytes) << bytes.toHex().toStdString();
        EXPECT_EQ(NativeFileName(name), bytes.toStdString());
    }
    // Valid UTF-8 is the ordinary QString.
    EXPECT_EQ(FileNameFromBytes("/home/me/Игры"), QStringLiteral("/home/me/Игры"));
    EXPECT_EQ(FileNameFromBytes("/tmp/\xf3\xa3\xa3\x9d"),
              QString::fromUtf8("/tmp/\xf3\xa3\xa3\x9d"));
    // People see a replacement character for a raw byte, and nothing else changes.
    EXPECT_EQ(DisplayFileName(FileNameFromBytes("a\xff"
                                                "b")),
              QStringLiteral("a\uFFFDb"));
    EXPECT_EQ(DisplayFileName(FileNameFromBytes("\xf3\xa3\xa3\x9d")),
              QString::fromUtf8("\xf3\xa3\xa3\x9d"));
}

// A local file URI, as a desktop's recent files or a file manager pass it,
// is its path; everything else stays as it is and is refused later as a
// file that does not exist.
TEST(FileName, LocalFileUrisBecomePaths) {
    const QByteArray notUtf8 = "/home/u/partie \xff.dvn";
    const std::vector<std::pair<QString, QString>> cases = {
        {QStringLiteral("file:///home/u/a.dvn"), QStringLiteral("/home/u/a.dvn")},
        {QStringLiteral("file:///home/u/My%20Games/%D0%98%D0%B3%D1%80%D0%B0.dvn"),
         QStringLiteral("/home/u/My Games/Игра.dvn")},
        {QStringLiteral("FILE://localhost/tmp/x%23y.mp3"), QStringLiteral("/tmp/x#y.mp3")},
        {QStringLiteral("file:/tmp/a.m3u"), QStringLiteral("/tmp/a.m3u")},
        {QStringLiteral("file:///home/u/partie%20%FF.dvn"), FileNameFromBytes(notUtf8)},
        {QStringLiteral("file:///tmp/%25"), QStringLiteral("/tmp/%")},
        // Not a local file's URI, or a damaged one: left alone.
        {QStringLiteral("http://example.org/a.mp3"), QStringLiteral("http://example.org/a.mp3")},
        {QStringLiteral("file://server/share/a.dvn"), QStringLiteral("file://server/share/a.dvn")},
        {QStringLiteral("file:///tmp/a%2Fb"), QStringLiteral("file:///tmp/a%2Fb")},
        {QStringLiteral("file:///tmp/a%00b"), QStringLiteral("file:///tmp/a%00b")},
        {QStringLiteral("file:///tmp/a%4"), QStringLiteral("file:///tmp/a%4")},
        {QStringLiteral("file:///tmp/a%zz"), QStringLiteral("file:///tmp/a%zz")},
        {QStringLiteral("file:///tmp/a.dvn#frag"), QStringLiteral("file:///tmp/a.dvn#frag")},
        {QStringLiteral("file:relative.dvn"), QStringLiteral("file:relative.dvn")},
        {QStringLiteral("file://"), QStringLiteral("file://")},
        // Paths are paths, whatever they look like.
        {QStringLiteral("/tmp/file:///x"), QStringLiteral("/tmp/file:///x")},
        {QStringLiteral("a%20b.dvn"), QStringLiteral("a%20b.dvn")},
    };
    for (const auto& [argument, path] : cases) {
        SCOPED_TRACE(argument.toStdString());
        EXPECT_EQ(LocalPathFromArgument(argument), path);
    }
    EXPECT_EQ(
        FileNameToBytes(LocalPathFromArgument(QStringLiteral("file:///home/u/partie%20%ff.dvn"))),
        notUtf8);
}

TEST(RegularFile, OnlyARegularFileIsRead) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const std::string file = folder + "/file";
    const std::string pipe = folder + "/pipe";
    const std::string link = folder + "/link";
    ASSERT_TRUE(ReplaceFileEntry(file, "12345", 5));
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    ASSERT_EQ(::symlink(file.c_str(), link.c_str()), 0);

    EXPECT_EQ(std::string(ReadRegularFile(file, 100).bytes.data(), 5), "12345");
    EXPECT_TRUE(ReadRegularFile(link, 100).ok());
    struct Case {
        std::string path;
        std::size_t limit;
        bool noFollow;
        TReadFailure failure;
    };
    const Case refused[] = {
        {pipe, 100, false, TReadFailure::NotRegular}, // would block a plain open()
        {folder, 100, false, TReadFailure::NotRegular},
        {"/dev/zero", 100, false, TReadFailure::NotRegular},
        {folder + "/none", 100, false, TReadFailure::Missing},
        {file, 4, false, TReadFailure::TooLarge},
        {link, 100, true, TReadFailure::NotRegular},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.path);
        const TFileBytes read = ReadRegularFile(c.path, c.limit, c.noFollow);
        ASSERT_FALSE(read.ok());
        EXPECT_EQ(*read.failure, c.failure);
        EXPECT_TRUE(read.bytes.empty());
    }
    EXPECT_TRUE(IsRegularFile(file, true, true));
    EXPECT_TRUE(IsRegularFile(link));
    EXPECT_FALSE(IsRegularFile(link, true));
    EXPECT_FALSE(IsRegularFile(pipe));
}

// Replacing an entry never writes through a link, and the new file is the
// owner's alone.
TEST(RegularFile, ReplacingAnEntryReplacesALinkItself) {
    QTemporaryDir dir;
    const std::string victim = dir.path().toStdString() + "/victim";
    const std::string name = dir.path().toStdString() + "/name";
    ASSERT_TRUE(ReplaceFileEntry(victim, "precious", 8));
    ASSERT_EQ(::symlink(victim.c_str(), name.c_str()), 0);
    ASSERT_TRUE(ReplaceFileEntry(name, "new", 3));
    EXPECT_EQ(std::string(ReadRegularFile(victim, 100).bytes.data(), 8), "precious");
    EXPECT_TRUE(IsRegularFile(name, true, true));
    struct stat info {};
    ASSERT_EQ(::stat(name.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_FALSE(ReplaceFileEntry(dir.path().toStdString() + "/no/such/folder/x", "x", 1));
}

} // namespace
} // namespace dorvane
