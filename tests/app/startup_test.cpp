// The program itself, started as a player starts it, in a process of its
// own: with a file-size limit below its settings file, and with a saved game
// whose name is not UTF-8. It runs headless and is closed by SIGTERM, which
// it answers like a closed window.
#include "core/file_name.h"
#include "play/saved_game.h"
#include "shell/settings_text.h"
#include "support/file_contents.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace dorvane {
namespace {

using namespace std::chrono_literals;

class StartupTest : public ::testing::Test {
protected:
    QTemporaryDir home;
    QString config = home.filePath("config/Kvo/Dorvane.conf");
    pid_t child = -1;

    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        ASSERT_TRUE(QDir().mkpath(home.filePath("config/Kvo")));
    }
    void TearDown() override {
        if (child > 0) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
        }
    }

    // Starts the program with the given argument (bytes as they are) and,
    // when fileLimit > 0, files limited to that many bytes.
    void Start(const QByteArray& argument, rlim_t fileLimit = 0) {
        const QByteArray homePath = QFile::encodeName(home.path());
        child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::setenv("HOME", homePath.constData(), 1);
            ::setenv("XDG_CONFIG_HOME", (homePath + "/config").constData(), 1);
            ::setenv("XDG_DATA_HOME", (homePath + "/data").constData(), 1);
            ::setenv("XDG_RUNTIME_DIR", homePath.constData(), 1);
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            ::setenv("SDL_AUDIODRIVER", "dummy", 1);
            if (fileLimit > 0) {
                const rlimit limit{fileLimit, fileLimit};
                ::setrlimit(RLIMIT_FSIZE, &limit);
            }
            std::vector<char*> argv{const_cast<char*>(DORVANE_PROGRAM)};
            QByteArray arg = argument;
            if (!arg.isEmpty()) argv.push_back(arg.data());
            argv.push_back(nullptr);
            ::execv(DORVANE_PROGRAM, argv.data());
            ::_exit(127);
        }
    }
    bool Running() { return child > 0 && ::waitpid(child, nullptr, WNOHANG) == 0; }
    // Asks the program to close and waits for it; its wait status.
    int Stop() {
        ::kill(child, SIGTERM);
        int status = 0;
        for (int i = 0; i < 300 && ::waitpid(child, &status, WNOHANG) == 0; ++i)
            std::this_thread::sleep_for(100ms);
        child = -1;
        return status;
    }
};

// A limit below the settings file's size makes the start-up's first write
// fail; the program runs on, saves nothing, and leaves the file and no lock.
TEST_F(StartupTest, AFileSizeLimitIsAFailedWriteNotAKilledProgram) {
    QByteArray text = "ReStart=0\n";
    for (int i = 0; text.size() < 5000; ++i)
        text += "Unknown" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\n";
    test::WriteAll(config, text);
    Start(QByteArray(), 2000);
    std::this_thread::sleep_for(2500ms);
    ASSERT_TRUE(Running()) << "the program died at start-up";
    const int status = Stop();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(test::ReadAll(config), text);
    EXPECT_FALSE(QFile::exists(config + ".lock"));
}

// A saved game named with bytes that are not UTF-8 opens from the command
// line: it goes to the recent games, which keep its bytes.
TEST_F(StartupTest, ANameThatIsNotUtf8Opens) {
    TSavedGame game;
    game.March.Fields[0][CellIndex(4, 4)] = game.March.Fields[0][CellIndex(5, 5)] = 1;
    game.March.Fields[0][CellIndex(4, 5)] = game.March.Fields[0][CellIndex(5, 4)] = 2;
    game.Intellect = 2;
    game.Regim = 2;
    const std::vector<std::uint8_t> bytes = EncodeSavedGame(game);
    const QByteArray name = QFile::encodeName(home.path()) + "/partie \xff\xfe.dvn";
    {
        FILE* file = std::fopen(name.constData(), "wb");
        ASSERT_TRUE(file);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    test::WriteAll(config, "ReStart=1\n");
    Start(name);
    // Running main's code once the start-up's first write is in the file.
    for (int i = 0; i < 200 && !test::ReadAll(config).contains("ReStart=0"); ++i)
        std::this_thread::sleep_for(50ms);
    ASSERT_TRUE(test::ReadAll(config).contains("ReStart=0"));
    const int status = Stop();
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

    const QByteArray stored = test::ReadAll(config);
    EXPECT_TRUE(stored.contains("\\xFF\\xFE.dvn")) << stored.toStdString();
    const std::optional<TSettingsDocument> document = ParseSettingsText(stored);
    ASSERT_TRUE(document);
    const std::optional<QString> first = document->main.Find("File1");
    ASSERT_TRUE(first) << stored.toStdString();
    EXPECT_EQ(FileNameToBytes(*first), name);
}

} // namespace
} // namespace dorvane
