// Saves into a folder that other users write too (/tmp, sticky, with the
// kernel's link protection off): a link another user planted under the name
// chosen is not followed, whatever it points to; the user's own link is.
#include "music/playlist_writer.h"
#include "play/saved_game_file.h"

#include "support/file_contents.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace dorvane {
namespace {

constexpr uid_t kOtherUser = 65534; // nobody

TEST(PlantedLink, ASaveDoesNotFollowAnotherUsersLink) {
    if (::geteuid() != 0) GTEST_SKIP() << "making a link of another user needs root";
    QTemporaryDir shared;
    ASSERT_EQ(::chmod(QFile::encodeName(shared.path()).constData(), 01777), 0);
    const QString victim = shared.filePath("victim");
    const QByteArray kept = "the user's own file\n";

    struct TSave {
        const char* what;
        std::function<bool(const QString&)> save;
    };
    const TSave saves[] = {
        {"saved game", [](const QString& path) { return WriteSavedGameFile(path, TSavedGame{}); }},
        {"playlist", [](const QString& path) { return WritePlaylistFile(path, "a.mp3\n"); }},
    };
    for (const TSave& s : saves) {
        SCOPED_TRACE(s.what);
        test::WriteAll(victim, kept);
        const QString link = shared.filePath("planted");
        QFile::remove(link);
        ASSERT_TRUE(QFile::link(victim, link));
        ASSERT_EQ(::lchown(QFile::encodeName(link).constData(), kOtherUser, kOtherUser), 0);
        EXPECT_FALSE(s.save(link));
        EXPECT_EQ(test::ReadAll(victim), kept);
        EXPECT_TRUE(QFileInfo(link).isSymLink());

        // The user's own link is the user's choice: the save goes through it.
        ASSERT_EQ(::lchown(QFile::encodeName(link).constData(), 0, 0), 0);
        EXPECT_TRUE(s.save(link));
        EXPECT_NE(test::ReadAll(victim), kept);
    }
}

} // namespace
} // namespace dorvane
