#include "shell/settings_store.h"
#include "shell/settings_text.h"
#include "support/env_guard.h"
#include "support/file_contents.h"
#include "support/file_size_limit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <future>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace dorvane {
namespace {

using test::ReadAll;
using test::WriteAll;

class SettingsStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("Kvo/Dorvane.conf");
    SettingsStore store{path};

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        store.SetStoreKeyPath("SOFTWARE\\Kvo\\Dorvane");
    }
    QStringList CorruptCopies() const {
        return QDir(dir.filePath("Kvo")).entryList({"Dorvane.conf.corrupt-*"}, QDir::Files);
    }
};

// Every value is text; the typed reads decide what a stored text means.
TEST_F(SettingsStoreTest, TypedReadsOfStoredTexts) {
    struct Case {
        QString stored;
        bool boolFallback;
        bool asBool;
        qint32 asInteger; // read with the fallback 55
    };
    const Case cases[] = {
        {"1", false, true, 1},
        {"0", true, false, 0},
        {"2", false, true, 2},
        {"-1", false, true, -1},
        {"-7", false, true, -7},
        {"+7", false, true, 7},
        {"yes", true, true, 55},
        {"yes", false, false, 55},
        {" 7", false, false, 55},
        {"7 ", false, false, 55},
        {"7x", true, true, 55},
        {"", true, true, 55},
        {"-", false, false, 55},
        {"0x10", false, false, 55},
        {"2147483647", false, true, 2147483647},
        {"-2147483648", false, true, -2147483647 - 1},
        {"2147483648", false, false, 55},
        {"99999999999999999999", false, false, 55},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.toStdString());
        store.RegWriteString("Value", c.stored);
        EXPECT_EQ(store.RegReadBool("Value", c.boolFallback), c.asBool);
        EXPECT_EQ(store.RegReadInteger("Value", 55), c.asInteger);
    }
}

TEST_F(SettingsStoreTest, WritersStoreDecimalText) {
    store.RegWriteBool("On", true);
    store.RegWriteBool("Off", false);
    store.RegWriteInteger("Negative", -12);
    store.RegWriteInteger("Big", 1000);
    store.RegWriteString("Name", "Зеленые");
    EXPECT_EQ(store.RegReadString("On", "?"), "1");
    EXPECT_EQ(store.RegReadString("Off", "?"), "0");
    EXPECT_EQ(store.RegReadString("Negative", "?"), "-12");
    EXPECT_EQ(store.RegReadString("Big", "?"), "1000");
    EXPECT_EQ(store.RegReadString("Name", "?"), "Зеленые");
    EXPECT_TRUE(ReadAll(path).contains("Name=Зеленые\n"));
}

TEST_F(SettingsStoreTest, NamesMatchWithoutLetterCase) {
    store.RegWriteInteger("ShowGrid", 1);
    EXPECT_EQ(store.RegReadInteger("SHOWGRID", 5), 1);
    store.RegWriteInteger("showgrid", 0);
    EXPECT_EQ(store.RegReadInteger("ShowGrid", 5), 0);
    // One value, still under the name it was first written with.
    const QByteArray text = ReadAll(path);
    EXPECT_EQ(text.count("howgrid="), 0);
    EXPECT_EQ(text.count("ShowGrid=0"), 1);
}

TEST_F(SettingsStoreTest, IntegerInRangeClampsStoredAndDefaultValues) {
    store.RegWriteInteger("Level", 300);
    EXPECT_EQ(store.RegReadIntegerInRange("Level", 100, 64, 255), 255);
    store.RegWriteInteger("Level", 10);
    EXPECT_EQ(store.RegReadIntegerInRange("Level", 100, 64, 255), 64);
    store.RegWriteInteger("Level", 100);
    EXPECT_EQ(store.RegReadIntegerInRange("Level", 5, 64, 255), 100);
    EXPECT_EQ(store.RegReadIntegerInRange("Missing", 20, 64, 255), 64);
    EXPECT_EQ(store.RegReadIntegerInRange("Missing", 900, 64, 255), 255);
}

TEST_F(SettingsStoreTest, EmptyStringsAreValues) {
    EXPECT_EQ(store.RegReadString("Background", ""), "");
    store.RegWriteString("Background", "");
    EXPECT_EQ(store.RegReadString("Background", "default.jpg"), "");
    // Texts that would break a line-based file come back unchanged.
    const QString odd = " a=b\nc\\d\r\t[e] #f ";
    store.RegWriteString("Odd=Name[1]", odd);
    EXPECT_EQ(store.RegReadString("odd=name[1]", ""), odd);
    store.RegWriteString("", "installer's value");
    EXPECT_EQ(store.RegReadString("", ""), "installer's value");
}

TEST_F(SettingsStoreTest, DeleteAndEraseAll) {
    store.RegWriteInteger("Intellect", 3);
    store.RegWriteInteger("Regime", 2);
    store.RegWriteList("Music", {"a", "b"}, 0);
    store.RegDeleteValue("INTELLECT");
    store.RegDeleteValue("NeverWritten");
    EXPECT_EQ(store.RegReadInteger("Intellect", 2), 2);
    EXPECT_EQ(store.RegReadInteger("Regime", 1), 2);

    store.RegEraseAll();
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(store.RegReadInteger("Regime", 1), 1);
    QStringList list{"stale"};
    EXPECT_FALSE(store.RegReadList("Music", list, 0));
    EXPECT_TRUE(list.isEmpty());
    EXPECT_TRUE(store.RegistryWritable());
    store.RegWriteInteger("Regime", 2); // a first run again: the file comes back
    EXPECT_EQ(store.RegReadInteger("Regime", 1), 2);
}

TEST_F(SettingsStoreTest, ListsKeepStoredOrderAndLimits) {
    QStringList thirty;
    for (int i = 0; i < 30; ++i)
        thirty << QString("/music/%1.mp3").arg(i);
    store.RegWriteList("Music", thirty, 0);
    QStringList read;
    EXPECT_TRUE(store.RegReadList("music", read, 24));
    EXPECT_EQ(read, thirty.mid(0, 24));
    EXPECT_TRUE(store.RegReadList("MUSIC", read, 0));
    EXPECT_EQ(read, thirty);
    store.RegWriteList("Music", thirty, 5);
    EXPECT_TRUE(store.RegReadList("Music", read, 0));
    EXPECT_EQ(read, thirty.mid(0, 5));

    // Items come back in the order they stand in the file, not by their names.
    WriteAll(path, "[Music]\n1=b\n0=a\n10=c\n");
    EXPECT_TRUE(store.RegReadList("Music", read, 2));
    EXPECT_EQ(read, QStringList({"b", "a"}));

    // An empty list leaves no empty section behind; other lists stay.
    store.RegWriteList("Other", {"x"}, 0);
    store.RegWriteList("Music", {}, 0);
    EXPECT_FALSE(store.RegReadList("Music", read, 0));
    EXPECT_FALSE(ReadAll(path).contains("[Music]"));
    EXPECT_TRUE(store.RegReadList("Other", read, 0));
}

TEST_F(SettingsStoreTest, ListsWaitForTheSectionPath) {
    SettingsStore early(path);
    early.RegWriteList("Music", {"a"}, 0);
    EXPECT_FALSE(QFileInfo::exists(path));
    store.RegWriteList("Music", {"a"}, 0);
    QStringList read{"stale"};
    EXPECT_FALSE(early.RegReadList("Music", read, 0));
    EXPECT_TRUE(read.isEmpty());
}

TEST(SettingsStoreFirstRun, CleanAccountGivesDefaultsAndCreatesTheFolder) {
    QTemporaryDir home;
    const QString config = home.filePath("fresh/config");
    QString path;
    {
        const test::TEnvGuard env("XDG_CONFIG_HOME", config.toStdString());
        path = SettingsStore::DefaultFilePath();
        env.Set("relative/ignored");
        EXPECT_EQ(SettingsStore::DefaultFilePath(), QDir::homePath() + "/.config/Kvo/Dorvane.conf");
    }
    ASSERT_EQ(path, config + "/Kvo/Dorvane.conf");

    SettingsStore store(path);
    EXPECT_TRUE(QFileInfo(config + "/Kvo").isDir());
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(store.RegReadBool("ReStart", true));
    EXPECT_EQ(store.RegReadString("Player1", "Зеленые"), "Зеленые");
    EXPECT_TRUE(store.RegistryWritable());
    store.RegWriteBool("ReStart", false);
    EXPECT_TRUE(store.RegistryWritable());
    EXPECT_FALSE(store.RegReadBool("ReStart", true));
}

// A folder the program may not write: reads give defaults, writes change
// nothing, and the first failed write clears RegistryWritable for good.
TEST(SettingsStoreUnwritable, ReadsDefaultAndWritesNothing) {
    QTemporaryDir dir;
    std::vector<QString> paths;
    // A file where the folder should be stops even root.
    WriteAll(dir.filePath("blocked"), "not a folder");
    paths.push_back(dir.filePath("blocked/Kvo/Dorvane.conf"));
    if (geteuid() != 0) {
        ASSERT_TRUE(QDir().mkpath(dir.filePath("readonly/Kvo")));
        QFile::setPermissions(dir.filePath("readonly/Kvo"), QFile::ReadOwner | QFile::ExeOwner);
        paths.push_back(dir.filePath("readonly/Kvo/Dorvane.conf"));
    }
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        SettingsStore store(path);
        store.SetStoreKeyPath("SOFTWARE\\Kvo\\Dorvane");
        EXPECT_TRUE(store.RegistryWritable());
        EXPECT_TRUE(store.RegReadBool("ReStart", true));
        store.RegWriteBool("ReStart", false);
        EXPECT_FALSE(store.RegistryWritable());
        EXPECT_TRUE(store.RegReadBool("ReStart", true));
        store.RegWriteList("Music", {"a"}, 0);
        store.RegWriteString("Player1", "x");
        EXPECT_EQ(store.RegReadString("Player1", "Зеленые"), "Зеленые");
        EXPECT_FALSE(QFileInfo::exists(path));
        EXPECT_FALSE(store.RegistryWritable());
    }
    QFile::setPermissions(dir.filePath("readonly/Kvo"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Bytes that are not UTF-8, or a file past the size limit, are not a
// settings file: it goes aside whole and the program runs on defaults.
TEST_F(SettingsStoreTest, UnreadableFileIsMovedAsideAndDefaultsUsed) {
    const QByteArray damaged[] = {
        QByteArray("Intellect=3\nName=\xff\xfe\n"),
        QByteArray("Intellect=3\n") + QByteArray(4 * 1024 * 1024, 'x'),
    };
    for (const QByteArray& bytes : damaged) {
        SCOPED_TRACE(bytes.left(40).toStdString());
        for (const QString& old : CorruptCopies())
            QFile::remove(dir.filePath("Kvo/" + old));
        WriteAll(path, bytes);
        EXPECT_EQ(store.RegReadInteger("Intellect", 2), 2);
        EXPECT_FALSE(QFileInfo::exists(path));
        const QStringList copies = CorruptCopies();
        ASSERT_EQ(copies.size(), 1);
        EXPECT_EQ(ReadAll(dir.filePath("Kvo/" + copies[0])), bytes);
    }
    // The next write starts a fresh, readable file.
    store.RegWriteInteger("Intellect", 1);
    EXPECT_EQ(store.RegReadInteger("Intellect", 2), 1);
    EXPECT_TRUE(ParseSettingsText(ReadAll(path)).has_value());
}

// One line the store cannot read costs that line only; the file stands, and
// before the store writes over it the old bytes are kept aside.
TEST_F(SettingsStoreTest, DamagedLinesAreSkippedAndTheOldTextKeptBeforeAWrite) {
    const QByteArray damaged[] = {
        "Intellect=3\nRegime 2\nHelp=0\n",
        "Intellect=3\nPath=C:\\Games\nHelp=0\n", // an unknown escape
        "Intellect=3\n[Music\nHelp=0\n",
        "garbage\nIntellect=3\nHelp=0",
    };
    for (const QByteArray& bytes : damaged) {
        SCOPED_TRACE(bytes.toStdString());
        for (const QString& old : CorruptCopies())
            QFile::remove(dir.filePath("Kvo/" + old));
        WriteAll(path, bytes);
        EXPECT_EQ(store.RegReadInteger("Intellect", 2), 3);
        EXPECT_FALSE(store.RegReadBool("Help", true));
        EXPECT_EQ(ReadAll(path), bytes); // reading changes nothing
        EXPECT_TRUE(CorruptCopies().isEmpty());

        store.RegWriteInteger("Regime", 2);
        const QStringList copies = CorruptCopies();
        ASSERT_EQ(copies.size(), 1);
        EXPECT_EQ(ReadAll(dir.filePath("Kvo/" + copies[0])), bytes);
        EXPECT_EQ(store.RegReadInteger("Intellect", 2), 3);
        EXPECT_EQ(store.RegReadInteger("Regime", 1), 2);
        // The file is understood now: the next write keeps no further copy.
        store.RegWriteInteger("Regime", 1);
        EXPECT_EQ(CorruptCopies().size(), 1);
    }
}

// LF, CR LF and the lone CR of old Mac files all end a line.
TEST_F(SettingsStoreTest, EveryLineEndIsALineEnd) {
    for (const char* end : {"\n", "\r\n", "\r"}) {
        SCOPED_TRACE(QByteArray(end).toHex().toStdString());
        const QByteArray text = QByteArray("# comment") + end + "Intellect=3" + end + "Regime=2" +
                                end + "[Music]" + end + "0=/m/a.mp3" + end;
        WriteAll(path, text);
        EXPECT_EQ(store.RegReadInteger("Intellect", 1), 3);
        EXPECT_EQ(store.RegReadInteger("Regime", 1), 2);
        QStringList music;
        EXPECT_TRUE(store.RegReadList("Music", music, 0));
        EXPECT_EQ(music, QStringList{"/m/a.mp3"});
        store.RegWriteBool("Help", false);
        EXPECT_TRUE(CorruptCopies().isEmpty()); // nothing was lost, nothing to keep
        EXPECT_EQ(store.RegReadInteger("Intellect", 1), 3);
    }
}

// A run of reads reads the file once, and sees a write made in between.
TEST_F(SettingsStoreTest, ARunOfReadsReadsTheFileOnce) {
    store.RegWriteInteger("Intellect", 3);
    SettingsStore otherCopy(path);
    const int before = store.FileReads();
    {
        const TSettingsReads reads(store);
        for (int i = 0; i < 50; ++i)
            EXPECT_EQ(store.RegReadInteger("Intellect", 0), 3);
        EXPECT_EQ(store.FileReads(), before + 1);
        otherCopy.RegWriteInteger("Intellect", 1); // not seen inside the run
        EXPECT_EQ(store.RegReadInteger("Intellect", 0), 3);
        store.RegWriteInteger("Regime", 2); // its own write is seen, with the other's
        EXPECT_EQ(store.RegReadInteger("Regime", 0), 2);
        EXPECT_EQ(store.RegReadInteger("Intellect", 0), 1);
    }
    otherCopy.RegWriteInteger("Intellect", 2);
    EXPECT_EQ(store.RegReadInteger("Intellect", 0), 2); // nothing kept after the run
}

TEST_F(SettingsStoreTest, WriteCutShortKeepsTheOldFile) {
    store.RegWriteString("Player1", "Вася");
    const QByteArray old = ReadAll(path);
    {
        test::FileSizeLimit limit(old.size() + 10); // the disk fills up during the write
        store.RegWriteString("Background", QString(5000, u'x'));
    }
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(store.RegReadString("Background", "none"), "none");
    EXPECT_EQ(store.RegReadString("Player1", ""), "Вася");
    EXPECT_TRUE(store.RegistryWritable()); // only the first write of the run decides
}

TEST_F(SettingsStoreTest, BatchWritesEverythingAtItsEnd) {
    store.RegWriteInteger("Intellect", 1);
    SettingsStore otherCopy(path);
    {
        TSettingsBatch batch(store);
        store.RegWriteInteger("Intellect", 3);
        {
            TSettingsBatch inner(store);
            store.RegWriteString("Player1", "Вася");
            store.RegWriteList("Music", {"a", "b"}, 0);
        }
        store.RegDeleteValue("Nothing");
        EXPECT_EQ(store.RegReadInteger("Intellect", 0), 3); // the batch sees its own writes
        EXPECT_EQ(otherCopy.RegReadInteger("Intellect", 0), 1);
        EXPECT_EQ(otherCopy.RegReadString("Player1", "none"), "none");
    }
    EXPECT_EQ(otherCopy.RegReadInteger("Intellect", 0), 3);
    EXPECT_EQ(otherCopy.RegReadString("Player1", "none"), "Вася");
    otherCopy.SetStoreKeyPath("SOFTWARE\\Kvo\\Dorvane");
    QStringList list;
    EXPECT_TRUE(otherCopy.RegReadList("Music", list, 0));
    EXPECT_EQ(list, QStringList({"a", "b"}));
}

TEST(SettingsStoreUnwritable, FailedFirstBatchClearsRegistryWritable) {
    QTemporaryDir dir;
    test::WriteAll(dir.filePath("blocked"), "not a folder");
    SettingsStore store(dir.filePath("blocked/Kvo/Dorvane.conf"));
    {
        TSettingsBatch batch(store);
        store.RegWriteBool("ReStart", false);
        EXPECT_TRUE(store.RegistryWritable()); // nothing is known before the commit
    }
    EXPECT_FALSE(store.RegistryWritable());
    EXPECT_TRUE(store.RegReadBool("ReStart", true));
}

// Every write is a read-modify-write under the lock: writers that run at once
// must neither break the file nor lose each other's values.
TEST_F(SettingsStoreTest, ConcurrentWritersInThreadsLoseNothing) {
    constexpr int kEach = 60;
    auto writer = [this](QString prefix) {
        SettingsStore own(path);
        for (int i = 0; i < kEach; ++i)
            own.RegWriteInteger(prefix + QString::number(i), i);
    };
    std::thread a(writer, QString("A")), b(writer, QString("B"));
    a.join();
    b.join();
    ASSERT_TRUE(ParseSettingsText(ReadAll(path), nullptr).has_value());
    for (int i = 0; i < kEach; ++i) {
        EXPECT_EQ(store.RegReadInteger("A" + QString::number(i), -1), i);
        EXPECT_EQ(store.RegReadInteger("B" + QString::number(i), -1), i);
    }
    EXPECT_TRUE(CorruptCopies().isEmpty());
}

TEST_F(SettingsStoreTest, ConcurrentWriterProcessesLoseNothing) {
    constexpr int kEach = 60;
    store.RegWriteInteger("Before", 1); // make the folder and the file exist
    const QString command =
        QString("'%1' '%2' P %3 & '%1' '%2' Q %3 & wait").arg(SETTINGS_WRITER, path).arg(kEach);
    ASSERT_EQ(std::system(command.toLocal8Bit().constData()), 0);
    ASSERT_TRUE(ParseSettingsText(ReadAll(path), nullptr).has_value());
    EXPECT_EQ(store.RegReadInteger("Before", -1), 1);
    for (int i = 0; i < kEach; ++i) {
        EXPECT_EQ(store.RegReadInteger("P" + QString::number(i), -1), i);
        EXPECT_EQ(store.RegReadInteger("Q" + QString::number(i), -1), i);
    }
    EXPECT_TRUE(CorruptCopies().isEmpty());
}

// Something else than our own regular file at the lock's name: a FIFO (its
// read would block the start for ever), a link (followed, it stalled every
// write for the lock's whole wait), a folder. It is moved aside, what it
// points to stays untouched, and the writes go on.
TEST_F(SettingsStoreTest, AHostileLockIsMovedAsideAndWritesGoOn) {
    store.RegWriteInteger("Before", 1);
    const QString lock = path + ".lock";
    const QString target = dir.filePath("precious");
    WriteAll(target, "keep me");
    const std::vector<std::pair<const char*, std::function<bool()>>> cases = {
        {"fifo", [&] { return ::mkfifo(QFile::encodeName(lock).constData(), 0600) == 0; }},
        {"link to a file", [&] { return QFile::link(target, lock); }},
        {"link to nothing", [&] { return QFile::link(dir.filePath("nothing"), lock); }},
        {"folder", [&] { return QDir().mkdir(lock); }},
    };
    int value = 0;
    for (const auto& [name, plant] : cases) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(plant());
        ++value;
        auto written = std::async(std::launch::async, [&] {
            store.RegWriteInteger("Value", value);
            return store.RegReadInteger("Value", -1) == value;
        });
        if (written.wait_for(std::chrono::seconds(4)) != std::future_status::ready) {
            ADD_FAILURE() << "the write waits at the lock";
            // Let a reader blocked on the FIFO go.
            const int fd = ::open(QFile::encodeName(lock).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
        }
        EXPECT_TRUE(written.get());
        EXPECT_FALSE(QFileInfo(lock).exists() || QFileInfo(lock).isSymLink());
        EXPECT_EQ(ReadAll(target), "keep me");
        const QStringList aside =
            QDir(dir.filePath("Kvo"))
                .entryList({"Dorvane.conf.lock.corrupt-*"}, QDir::AllEntries | QDir::System);
        EXPECT_EQ(aside.size(), 1) << aside.join(", ").toStdString();
        for (const QString& entry : aside) {
            const QString at = dir.filePath("Kvo/" + entry);
            if (!QFile::remove(at)) QDir().rmdir(at);
        }
    }
}

} // namespace
} // namespace dorvane
