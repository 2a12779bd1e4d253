#include "play/game_files.h"
#include "play/saved_game_file.h"
#include "play_fixture.h"
#include "support/file_contents.h"
#include "support/env_guard.h"
#include "support/file_size_limit.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace dorvane::test {
namespace {

const QString kSaved = QStringLiteral("Игра успешно сохранена.");
const QString kSaveFailed = QStringLiteral("Не удалось сохранить игру!");
const QString kOpenFailed = QStringLiteral("Не удалось открыть файл!");
const QString kWrongFormat = QStringLiteral("Неверный формат файла!");

class GameFilesTest : public PlayFixture {
protected:
    QTemporaryDir dir;
    TRecentFiles recent;
    std::vector<std::pair<QString, TMessageIcon>> shown;
    TShowMessage show = [this](const QString& text, TMessageIcon icon) {
        shown.emplace_back(text, icon);
    };

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        TGameOptions options;
        options.Regim = 2; // two people: no computer moves in between
        Start(options);
    }
    void PlayTurns(int turns) {
        for (int i = 0; i < turns; ++i)
            HumanTurn();
    }
    QString Take() {
        if (shown.empty()) return "(no message)";
        const QString text = shown.back().first;
        EXPECT_EQ(shown.back().second, TMessageIcon::Warning);
        shown.clear();
        return text;
    }
};

TEST_F(GameFilesTest, SavedGameComesBackInHistoryView) {
    PlayTurns(6);
    game->StepBack();
    game->StepBack();
    const QString path = dir.filePath("game.dvn");
    ASSERT_TRUE(SaveGame(*game, path, true, show));
    EXPECT_EQ(Take(), kSaved);
    EXPECT_EQ(ReadAll(path).size(), 6311);

    const TSavedGame saved = game->SavedGame();
    Start(); // a fresh window
    ASSERT_TRUE(LoadGame(*game, path, recent, show));
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(game->SavedGame(), saved);
    EXPECT_FALSE(game->PlayR());
    EXPECT_EQ(game->CurrentV(), 4);
    EXPECT_EQ(game->CurrentR(), 6);
    EXPECT_EQ(Board(), saved.March.Fields[4]);
    EXPECT_EQ(recent.Slot(1), path);
}

TEST_F(GameFilesTest, FinishedGameStaysFinished) {
    PlayToEnd();
    ASSERT_EQ(game->CurrentE(), game->CurrentR());
    const QString path = dir.filePath("finished.dvn");
    ASSERT_TRUE(SaveGame(*game, path, false, show));
    EXPECT_TRUE(shown.empty()); // no message without report
    const TSavedGame saved = game->SavedGame();
    Start();
    ASSERT_TRUE(LoadGame(*game, path, recent, show));
    EXPECT_EQ(game->SavedGame(), saved);
    game->ResumePlay();
    view.Settle();
    EXPECT_EQ(game->CurrentR(), saved.CurrentR);
    EXPECT_EQ(game->CurrentE(), saved.CurrentE);
}

TEST_F(GameFilesTest, RefusedFilesLeaveTheGameAlone) {
    PlayTurns(3);
    const TSavedGame before = game->SavedGame();
    const QString corpus = DORVANE_SOURCE_DIR "/tests/fuzz/corpus/saved_game/";
    WriteAll(dir.filePath("huge.dvn"), QByteArray(8 * 1024 * 1024, 'D'));
    QByteArray noMoveCell = ReadAll(corpus + "four_moves_viewing_move_2.dvn");
    noMoveCell[14 + 6100 + 2] = 0; // move 1 at column 0
    WriteAll(dir.filePath("no_move_cell.dvn"), noMoveCell);
    QDir(dir.path()).mkdir("folder.dvn");

    const std::pair<QString, QString> cases[] = {
        {dir.filePath("missing.dvn"), kOpenFailed},
        {dir.filePath("folder.dvn"), kOpenFailed},
        {corpus + "empty.dvn", kWrongFormat},
        {corpus + "truncated.dvn", kWrongFormat},
        {corpus + "bad_header.dvn", kWrongFormat},
        {corpus + "view_past_history.dvn", kWrongFormat},
        {dir.filePath("no_move_cell.dvn"), kWrongFormat},
        {dir.filePath("huge.dvn"), kWrongFormat},
    };
    for (const auto& [path, message] : cases) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_FALSE(LoadGame(*game, path, recent, show));
        EXPECT_EQ(Take(), message);
        EXPECT_EQ(game->SavedGame(), before);
        EXPECT_TRUE(game->PlayR());
        EXPECT_TRUE(recent.MenuItems().isEmpty());
    }
}

TEST_F(GameFilesTest, FailedSaveKeepsTheOldFile) {
    const QString path = dir.filePath("kept.dvn");
    ASSERT_TRUE(SaveGame(*game, path, false, show));
    const QByteArray old = ReadAll(path);
    PlayTurns(4);
    {
        test::FileSizeLimit limit(1000); // the disk "fills up" half way through the new file
        EXPECT_FALSE(SaveGame(*game, path, true, show));
    }
    EXPECT_EQ(Take(), kSaveFailed);
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.dvn"});

    if (geteuid() != 0) { // permissions do not stop root
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_FALSE(SaveGame(*game, path, true, show));
        EXPECT_EQ(Take(), kSaveFailed);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(ReadAll(path), old);
    }
}

TEST_F(GameFilesTest, TemporaryGameResumesAndIsDeleted) {
    std::optional<TEnvGuard> data(std::in_place, "XDG_DATA_HOME",
                                  dir.filePath("data").toStdString());
    QCoreApplication::setOrganizationName("Kvo");
    QCoreApplication::setApplicationName("Dorvane");
    const QString path = TemporaryGamePath();
    EXPECT_EQ(path, dir.filePath("data/Kvo/Dorvane/onlydorvanetemp.dvn"));
    EXPECT_TRUE(IsTemporaryGameFile(path));
    EXPECT_FALSE(IsTemporaryGameFile(dir.filePath("onlydorvanetemp.dvn.bak")));
    for (const char* file : {"/g/a.dvn", "/g/B.DVN", "/g/c.Dvn", "/g/x.tar.dvn"})
        EXPECT_TRUE(IsSavedGamePath(file)) << file;
    for (const char* other : {"/g/a.mp3", "/g/dvn", "/g/a.dvn.mp3", "/g/a.dvnx", "/g/.dvn/a"})
        EXPECT_FALSE(IsSavedGamePath(other)) << other;

    PlayTurns(5);
    game->StepBack(); // resumes where it was shown, the later move dropped
    const TSavedGame saved = game->SavedGame();
    ASSERT_TRUE(SaveTemporaryGame(*game)); // its folder does not exist yet
    data.reset();
    Start();
    ASSERT_TRUE(LoadGame(*game, path, recent, show));
    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(game->PlayR());
    EXPECT_EQ(game->CurrentR(), 4);
    EXPECT_EQ(Board(), saved.March.Fields[4]);
    EXPECT_TRUE(recent.MenuItems().isEmpty());
}

} // namespace
} // namespace dorvane::test
