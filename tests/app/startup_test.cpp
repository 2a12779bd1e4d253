// The program itself, started as a player starts it, in a process of its
// own: with a file-size limit below its settings file, and with a saved game
// whose name is not UTF-8. It runs headless and is closed by SIGTERM, which
// it answers like a closed window.
#include "core/file_name.h"
#include "play/saved_game.h"
#include "shell/settings_text.h"
#include "support/file_contents.h"
#include "support/hostile_sound_files.h"
#include "support/saved_game_bytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace dorvane {
namespace {

using namespace std::chrono_literals;

// In a forked child: the program in the home folder given, headless, with
// files limited to fileLimit bytes when it is set. Never returns.
// Without display the program has none at all, as in a text console.
[[noreturn]] void ExecProgram(const QString& home, const QList<QByteArray>& arguments,
                              rlim_t fileLimit = 0, bool display = true) {
    const QByteArray homePath = QFile::encodeName(home);
    ::setenv("HOME", homePath.constData(), 1);
    ::setenv("XDG_CONFIG_HOME", (homePath + "/config").constData(), 1);
    ::setenv("XDG_DATA_HOME", (homePath + "/data").constData(), 1);
    ::setenv("XDG_RUNTIME_DIR", homePath.constData(), 1);
    if (display) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    } else {
        ::unsetenv("QT_QPA_PLATFORM");
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
    }
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (fileLimit > 0) {
        const rlimit limit{fileLimit, fileLimit};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (::chdir(homePath.constData()) != 0) ::_exit(126);
    std::vector<QByteArray> copies(arguments.begin(), arguments.end());
    std::vector<char*> argv{const_cast<char*>(DORVANE_PROGRAM)};
    for (QByteArray& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(DORVANE_PROGRAM, argv.data());
    ::_exit(127);
}

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
        child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            ExecProgram(home.path(),
                        argument.isEmpty() ? QList<QByteArray>{} : QList<QByteArray>{argument},
                        fileLimit);
    }
    bool Running() { return child > 0 && ::waitpid(child, nullptr, WNOHANG) == 0; }
    // Asks the program to close and waits for it; its wait status, or -1
    // when it is still running after 30 s (TearDown kills it then).
    int Stop() {
        ::kill(child, SIGTERM);
        int status = 0;
        for (int i = 0; i < 300; ++i) {
            if (::waitpid(child, &status, WNOHANG) == child) {
                child = -1;
                return status;
            }
            std::this_thread::sleep_for(100ms);
        }
        return -1;
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
    const QByteArray bytes = test::NewTwoPlayerGameBytes();
    const QByteArray name = QFile::encodeName(home.path()) + "/partie \xff\xfe.dvn";
    {
        FILE* file = std::fopen(name.constData(), "wb");
        ASSERT_TRUE(file);
        std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), file);
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

// Sound files named at the start that are none: an ffconcat script named as
// an MP3 that names a FIFO (FFmpeg would wait for a writer for ever), and a
// short track followed by 5 GB of zeros (a sparse file; a demuxer hunting
// for frames would keep every byte). The program gives each up; its memory
// stays within 300 MB of what it had at the start, and SIGTERM ends it
// within 3 s.
TEST_F(StartupTest, SoundFilesThatAreNoneNeitherHangNorSwellTheProgram) {
    if (!test::kResourceBoundsHold)
        GTEST_SKIP() << "memory and time bounds are checked in the ordinary build";
    ASSERT_TRUE(QDir().mkpath(home.filePath("concat")));
    ASSERT_TRUE(QDir().mkpath(home.filePath("sparse")));
    // Beside the script: the concat demuxer's safe mode lets a plain name by.
    const std::string fifo = home.filePath("concat/pipe").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const QString concat = home.filePath("concat/track.mp3");
    ASSERT_TRUE(test::WriteText(concat.toStdString(), test::ConcatScript("pipe")));
    const QString sparse = home.filePath("sparse/download.mp3");
    ASSERT_TRUE(test::WriteSparseTrack(sparse.toStdString(), DORVANE_STREAM_DATA "/stream_sine.mp3",
                                       std::uint64_t(5) << 30));
    for (const QString& named : {concat, sparse}) {
        SCOPED_TRACE(named.toStdString());
        test::WriteAll(config, "ReStart=1\n");
        Start(QFile::encodeName(named));
        for (int i = 0; i < 200 && !test::ReadAll(config).contains("ReStart=0"); ++i)
            std::this_thread::sleep_for(50ms);
        ASSERT_TRUE(test::ReadAll(config).contains("ReStart=0"));
        const std::string pid = std::to_string(child);
        const long startKb = test::ResidentKb(pid);
        long peakKb = startKb;
        // The first tick starts the track; the file has some seconds to swell.
        for (int i = 0; i < 40 && Running(); ++i) {
            peakKb = std::max(peakKb, test::ResidentKb(pid));
            std::this_thread::sleep_for(150ms);
        }
        ASSERT_TRUE(Running()) << "the program died";
        EXPECT_LT(peakKb - startKb, 300 * 1024) << "KiB at the start: " << startKb;

        const auto asked = std::chrono::steady_clock::now();
        ::kill(child, SIGTERM);
        int status = 0;
        bool ended = false;
        while (!(ended = ::waitpid(child, &status, WNOHANG) == child) &&
               std::chrono::steady_clock::now() - asked < 10s)
            std::this_thread::sleep_for(20ms);
        const auto took = std::chrono::steady_clock::now() - asked;
        EXPECT_LT(took, 3s) << "SIGTERM took "
                            << std::chrono::duration_cast<std::chrono::milliseconds>(took).count()
                            << " ms";
        if (ended)
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        else
            TearDown(); // killed outright
        child = -1;
    }
}

// The command line, from a terminal: "--help" and "--version" answer
// without a display and leave the home folder as it was (no settings, no
// lock, no mailbox); an unknown option is refused with exit code 2; a named
// file that is not there is said on stderr while the program runs on, and a
// file:// URI names the file it stands for.
TEST_F(StartupTest, TheCommandLine) {
    const QString game = home.filePath("saved game.dvn");
    test::WriteAll(game, test::NewTwoPlayerGameBytes());
    const QString missing = home.filePath("нет такой/партия.dvn");
    const QByteArray gameUri = QUrl::fromLocalFile(game).toString(QUrl::FullyEncoded).toUtf8();
    const QByteArray missingUri =
        QUrl::fromLocalFile(missing).toString(QUrl::FullyEncoded).toUtf8();
    struct TCase {
        const char* name;
        QList<QByteArray> arguments;
        int exitCode;   // -1: the program runs and is closed
        QByteArray out; // stdout holds it
        QByteArray err; // stderr holds it; empty: stderr is empty
        QString opened; // then in the recent games
    };
    const QByteArray failed = "dorvane: не удалось открыть файл «" + missing.toUtf8() + "»";
    const std::vector<TCase> cases{
        {"help", {"--help"}, 0, "Использование: dorvane", {}, {}},
        {"help lists the files", {"-h"}, 0, "*.dvn", {}, {}},
        {"version", {"--version"}, 0, "Dorvane " DORVANE_VERSION "\n", {}, {}},
        {"unknown option",
         {"--no-such-option", QFile::encodeName(game)},
         2,
         {},
         "«--no-such-option»",
         {}},
        {"missing file", {QFile::encodeName(missing)}, -1, {}, failed, {}},
        {"file URI", {gameUri}, -1, {}, {}, game},
        {"file URI to nothing", {missingUri, QFile::encodeName(game)}, -1, {}, failed, game},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::WriteAll(config, "ReStart=1\n");
        QFile::remove(home.filePath("out"));
        QFile::remove(home.filePath("err"));
        const QStringList before = QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden);
        child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const QByteArray out = QFile::encodeName(home.filePath("out"));
            const QByteArray err = QFile::encodeName(home.filePath("err"));
            ::dup2(::open(out.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
            ::dup2(::open(err.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
            ExecProgram(home.path(), c.arguments, 0, c.exitCode == -1);
        }
        int status = 0;
        if (c.exitCode >= 0) {
            for (int i = 0; i < 200 && ::waitpid(child, &status, WNOHANG) != child; ++i)
                std::this_thread::sleep_for(50ms);
            child = -1;
            ASSERT_TRUE(WIFEXITED(status)) << status;
            EXPECT_EQ(WEXITSTATUS(status), c.exitCode);
            // Nothing of a start: the settings are as they were, no lock,
            // no mailbox, no hand-over block.
            EXPECT_EQ(test::ReadAll(config), "ReStart=1\n");
            QStringList after = QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden);
            after.removeAll("out");
            after.removeAll("err");
            EXPECT_EQ(after, before);
            EXPECT_EQ(QDir(home.filePath("config/Kvo")).entryList(QDir::Files),
                      QStringList{"Dorvane.conf"});
        } else {
            for (int i = 0; i < 200 && !test::ReadAll(config).contains("ReStart=0"); ++i)
                std::this_thread::sleep_for(50ms);
            std::this_thread::sleep_for(1000ms);
            ASSERT_TRUE(Running()) << "the program ended";
            status = Stop();
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        }
        const QByteArray out = test::ReadAll(home.filePath("out"));
        const QByteArray err = test::ReadAll(home.filePath("err"));
        if (c.out.isEmpty())
            EXPECT_TRUE(out.isEmpty()) << out.toStdString();
        else
            EXPECT_TRUE(out.contains(c.out)) << out.toStdString();
        if (c.err.isEmpty())
            EXPECT_FALSE(err.contains("dorvane")) << err.toStdString();
        else
            EXPECT_TRUE(err.contains(c.err)) << err.toStdString();
        if (!c.opened.isEmpty()) {
            const std::optional<TSettingsDocument> document =
                ParseSettingsText(test::ReadAll(config));
            ASSERT_TRUE(document);
            EXPECT_EQ(document->main.Find("File1").value_or(QString()), c.opened);
        }
    }
}

// Copies of the program started side by side, as a player starts them from
// a file manager or a terminal, in one home folder.
class SecondStartTest : public ::testing::Test {
protected:
    QTemporaryDir home;
    QString config = home.filePath("config/Kvo/Dorvane.conf");
    QString mailbox = home.filePath("KvoDorvaneApp");
    std::vector<pid_t> children;

    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        ASSERT_TRUE(QDir().mkpath(home.filePath("config/Kvo")));
        // An account that has run the program before: one copy at a time.
        test::WriteAll(config, "ReStart=0\n");
    }
    void TearDown() override {
        for (pid_t pid : children) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    pid_t Launch(const QList<QByteArray>& arguments) {
        const QByteArray homePath = QFile::encodeName(home.path());
        const pid_t pid = ::fork();
        if (pid == 0) ExecProgram(home.path(), arguments);
        children.push_back(pid);
        return pid;
    }
    // The exit status once the process ends within ms, or -1.
    static int WaitFor(pid_t pid, int ms) {
        int status = 0;
        for (int i = 0; i < ms / 20; ++i) {
            if (::waitpid(pid, &status, WNOHANG) == pid) return status;
            std::this_thread::sleep_for(20ms);
        }
        return -1;
    }
    void Forget(pid_t pid) { std::erase(children, pid); }
    // Waits for the running copy to open its mailbox.
    bool Listening(int ms = 10000) {
        for (int i = 0; i < ms / 20; ++i) {
            if (QFileInfo::exists(mailbox)) return true;
            std::this_thread::sleep_for(20ms);
        }
        return false;
    }
    QString SaveGame(const QString& name) {
        const QString path = home.filePath(name);
        test::WriteAll(path, test::NewTwoPlayerGameBytes());
        return path;
    }
    // Closes the running copy the ordinary way; the recent games it wrote.
    QStringList StopAndReadRecent(pid_t pid) {
        ::kill(pid, SIGTERM);
        const int status = WaitFor(pid, 10000);
        Forget(pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        const std::optional<TSettingsDocument> document = ParseSettingsText(test::ReadAll(config));
        QStringList recent;
        if (!document) return recent;
        for (int i = 1; i <= 9; ++i)
            if (const auto file = document->main.Find(QStringLiteral("File%1").arg(i)))
                recent << *file;
        return recent;
    }
};

// The second start ends at once and the first copy opens what it was given:
// one game, then two at once, one of them with a blank in its name.
TEST_F(SecondStartTest, TheSecondStartHandsItsArgumentsToTheFirst) {
    const pid_t first = Launch({});
    ASSERT_TRUE(Listening());
    const QString one = SaveGame("one.dvn");
    const pid_t second = Launch({QFile::encodeName(one)});
    const int status = WaitFor(second, 8000);
    Forget(second);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    std::this_thread::sleep_for(1500ms); // the receiving timer's second
    ASSERT_EQ(WaitFor(first, 0), -1) << "the first copy ended";

    const QString two = SaveGame("with blank.dvn");
    const QString three = SaveGame("three.dvn");
    // Relative names, as from a terminal in that folder.
    const pid_t third = Launch({"with blank.dvn", "three.dvn"});
    ASSERT_NE(WaitFor(third, 8000), -1);
    Forget(third);
    std::this_thread::sleep_for(1500ms);
    const QStringList recent = StopAndReadRecent(first);
    EXPECT_TRUE(recent.contains(one)) << recent.join(", ").toStdString();
    EXPECT_TRUE(recent.contains(two)) << recent.join(", ").toStdString();
    EXPECT_TRUE(recent.contains(three)) << recent.join(", ").toStdString();
}

// A copy killed outright leaves its lock to the kernel and its block and
// mailbox behind: the next start runs and receives hand-overs as usual.
TEST_F(SecondStartTest, ACopyKilledOutrightDoesNotBlockTheNext) {
    const pid_t killed = Launch({});
    ASSERT_TRUE(Listening());
    ::kill(killed, SIGKILL);
    ::waitpid(killed, nullptr, 0);
    Forget(killed);
    ASSERT_TRUE(QFileInfo::exists(mailbox)); // left behind

    const pid_t next = Launch({});
    std::this_thread::sleep_for(3000ms);
    ASSERT_EQ(WaitFor(next, 0), -1) << "the next start did not stay";
    const QString game = SaveGame("after.dvn");
    const pid_t later = Launch({QFile::encodeName(game)});
    const int status = WaitFor(later, 8000);
    Forget(later);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    std::this_thread::sleep_for(1500ms);
    EXPECT_TRUE(StopAndReadRecent(next).contains(game));
}

// Five copies started at the same moment, each with a saved game, as a file
// manager starts one copy per selected file: one runs, the others hand it
// their games, and all five are opened.
TEST_F(SecondStartTest, FiveStartsAtOnceOpenAllFiveGames) {
    QStringList games;
    std::vector<pid_t> starts;
    for (int i = 0; i < 5; ++i)
        games << SaveGame(QStringLiteral("game %1.dvn").arg(i));
    for (const QString& game : games)
        starts.push_back(Launch({QFile::encodeName(game)}));
    // The later starts end within their bounded wait; the one that runs stays.
    std::vector<int> statuses(starts.size(), -1);
    for (int waited = 0; waited < 10000; waited += 20) {
        int ended = 0;
        for (std::size_t i = 0; i < starts.size(); ++i) {
            if (statuses[i] == -1 && ::waitpid(starts[i], &statuses[i], WNOHANG) != starts[i])
                statuses[i] = -1;
            ended += statuses[i] != -1;
        }
        if (ended >= 4) break;
        std::this_thread::sleep_for(20ms);
    }
    pid_t survivor = -1;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        if (statuses[i] == -1) {
            EXPECT_EQ(survivor, -1) << "two copies run";
            survivor = starts[i];
            continue;
        }
        Forget(starts[i]);
        EXPECT_TRUE(WIFEXITED(statuses[i]) && WEXITSTATUS(statuses[i]) == 0) << statuses[i];
    }
    ASSERT_NE(survivor, -1);
    std::this_thread::sleep_for(1500ms);
    const QStringList recent = StopAndReadRecent(survivor);
    for (const QString& game : games)
        EXPECT_TRUE(recent.contains(game))
            << game.toStdString() << " not in " << recent.join(", ").toStdString();
}

// A later start with 300 names, more than the block holds, and with file
// URIs as desktops pass them: every game among them opens. A name too long
// for any hand-over ends the start with a failure.
TEST_F(SecondStartTest, ALongHandOverAndFileUrisArrive) {
    const QString first = SaveGame("first start.dvn");
    const pid_t running =
        Launch({QUrl::fromLocalFile(first).toString(QUrl::FullyEncoded).toUtf8()});
    ASSERT_TRUE(Listening());
    const QString early = SaveGame("early.dvn");
    const QString middle = SaveGame("Партия #2.dvn");
    const QString late = SaveGame("late.dvn");
    QList<QByteArray> names;
    for (int i = 0; i < 300; ++i) {
        const QString missing = home.filePath(QStringLiteral("missing folder/file %1.dvn").arg(i));
        names << QFile::encodeName(i == 0 ? early
                                   : i == 150
                                       ? QUrl::fromLocalFile(middle).toString(QUrl::FullyEncoded)
                                   : i == 299 ? late
                                              : missing);
    }
    names << "http://example.org/remote.dvn"; // refused as nothing that exists
    const pid_t later = Launch(names);
    int status = WaitFor(later, 8000);
    Forget(later);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

    const pid_t tooLong = Launch({"/" + QByteArray(5000, 'a')});
    status = WaitFor(tooLong, 8000);
    Forget(tooLong);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0) << status;
    std::this_thread::sleep_for(1500ms);
    ASSERT_EQ(WaitFor(running, 0), -1) << "the running copy ended";

    const QStringList recent = StopAndReadRecent(running);
    for (const QString& game : {first, early, middle, late})
        EXPECT_TRUE(recent.contains(game))
            << game.toStdString() << " not in " << recent.join(", ").toStdString();
    // In the order they were named: the newest first.
    EXPECT_LT(recent.indexOf(late), recent.indexOf(middle));
    EXPECT_LT(recent.indexOf(middle), recent.indexOf(early));
}

} // namespace
} // namespace dorvane
