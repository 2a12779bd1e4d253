// The meeting points of the program's copies: the event lock, the hand-over
// block and the mailbox, with copies that were killed or hang.
#include "core/hand_over_text.h"
#include "shell/instance_channel.h"
#include "shell/instance_objects.h"
#include "shell/process_list.h"
#include "shell/single_instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <future>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace dorvane {
namespace {

QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "single_instance_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// Runs the event loop until done() or the time is up.
bool SpinUntil(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

class SingleInstanceTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    TInstancePlaces places = TInstancePlaces::In(folder.path());
    void SetUp() override {
        App();
        ASSERT_TRUE(folder.isValid());
    }

    // A child process that runs what and then waits to be killed.
    static pid_t Child(const std::function<void()>& what) {
        int ready[2];
        if (::pipe(ready) != 0) return -1;
        const pid_t pid = ::fork();
        if (pid == 0) {
            what();
            (void)!::write(ready[1], "x", 1);
            for (;;)
                ::pause();
        }
        char c;
        (void)!::read(ready[0], &c, 1);
        ::close(ready[0]);
        ::close(ready[1]);
        return pid;
    }
    static void Kill(pid_t pid) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
};

TEST_F(SingleInstanceTest, ProcessesAreFoundByTheirProgramFile) {
    const QString self = ProcessImagePath(::getpid());
    EXPECT_TRUE(self.endsWith(QStringLiteral("/shell_tests"))) << self.toStdString();
    EXPECT_GE(CountRunningCopies(self), 1);
    EXPECT_EQ(CountRunningCopies(self + QStringLiteral("x")), 0);
    EXPECT_EQ(CountRunningCopies({}), 0);
    EXPECT_TRUE(ProcessImagePath(0).isEmpty());
    EXPECT_TRUE(ProcessImagePath(-5).isEmpty());
    const pid_t child = Child([] {});
    EXPECT_EQ(ProcessImagePath(child), self); // a fork runs the same file
    Kill(child);
}

// The meeting points live only in a folder this user alone can enter; a
// runtime folder that others may write to, or none, sends them to our own
// folder in the cache, and never to the root or the current folder.
TEST_F(SingleInstanceTest, TheMeetingPointsFolderIsThisUsersAlone) {
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray savedCache = qgetenv("XDG_CACHE_HOME");
    const QString good = folder.filePath(QStringLiteral("run"));
    const QString open = folder.filePath(QStringLiteral("open"));
    const QString grouped = folder.filePath(QStringLiteral("grouped"));
    const QString plain = folder.filePath(QStringLiteral("plain"));
    const QString link = folder.filePath(QStringLiteral("link"));
    for (const auto& [path, mode] : {std::pair{good, 0700}, {open, 0777}, {grouped, 0750}}) {
        ASSERT_TRUE(QDir().mkdir(path));
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0);
    }
    QFile(plain).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::link(good, link));
    const QString cache = folder.filePath(QStringLiteral("cache"));
    const QString ownFolder = cache + QStringLiteral("/Kvo/runtime");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
    const std::vector<std::pair<QByteArray, QString>> cases = {
        {QFile::encodeName(good), good},
        {QFile::encodeName(open), ownFolder},
        {QFile::encodeName(grouped), ownFolder},
        {QFile::encodeName(plain), ownFolder},
        {QFile::encodeName(link), ownFolder},
        {"relative/run", ownFolder},
        {"", ownFolder},
        {QFile::encodeName(folder.filePath(QStringLiteral("missing"))), ownFolder},
    };
    for (const auto& [runtime, expected] : cases) {
        SCOPED_TRACE(runtime.toStdString());
        qputenv("XDG_RUNTIME_DIR", runtime);
        EXPECT_EQ(InstanceFolder(), expected);
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(expected).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0700u);
    }
    // Our own folder, opened up meanwhile, is closed again.
    ::chmod(QFile::encodeName(ownFolder).constData(), 0755);
    qputenv("XDG_RUNTIME_DIR", "");
    EXPECT_EQ(InstanceFolder(), ownFolder);
    // No cache and no home: no folder at all, and no meeting point at the root.
    qputenv("XDG_CACHE_HOME", "");
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", "");
    EXPECT_TRUE(InstanceFolder().isEmpty());
    EXPECT_TRUE(TInstancePlaces::In(InstanceFolder()).event.isEmpty());
    EXPECT_TRUE(TInstancePlaces::In(QStringLiteral("relative")).block.isEmpty());
    EXPECT_EQ(TSingleInstance(TInstancePlaces::In({})).Decide(1, {}, folder.path()),
              TStartVerdict::Run);
    qputenv("HOME", savedHome);
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
    qputenv("XDG_CACHE_HOME", savedCache);
}

TEST_F(SingleInstanceTest, TheEventOfAKilledCopyIsFreeAtOnce) {
    const pid_t holder = Child([this] {
        static TInstanceEvent event(places.event);
        event.TryAcquire(std::chrono::milliseconds(0));
    });
    TInstanceEvent mine(places.event);
    EXPECT_FALSE(mine.TryAcquire(kEventWait));
    Kill(holder); // kill -9: nothing is cleaned up
    EXPECT_TRUE(mine.TryAcquire(kEventWait));
    EXPECT_TRUE(mine.Held());
}

TEST_F(SingleInstanceTest, TheBlockCarriesTextBetweenItsOwnerAndALaterStart) {
    THandOverBlock owner;
    ASSERT_TRUE(owner.Create(places.block, QStringLiteral("/usr/bin/dorvane")));
    EXPECT_EQ(QFileInfo(places.block).size(), 8192);
    EXPECT_EQ(QFile(places.block).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
    THandOverBlock later;
    ASSERT_TRUE(later.OpenExisting(places.block));
    EXPECT_EQ(later.ReadText(), QStringLiteral("/usr/bin/dorvane"));
    const QString cyrillic = QStringLiteral("/home/u/Партия 1.dvn");
    ASSERT_TRUE(later.WriteText(cyrillic));
    EXPECT_EQ(owner.ReadText(), cyrillic);
    EXPECT_FALSE(later.WriteText(QString(4096, u'a'))); // capacity 4095 + terminator
    ASSERT_TRUE(later.WriteText(QString(4095, u'a')));
    EXPECT_EQ(owner.ReadText().size(), 4095);
    owner.Close();
    EXPECT_FALSE(QFile::exists(places.block));
    EXPECT_FALSE(THandOverBlock().OpenExisting(places.block));
}

TEST_F(SingleInstanceTest, ADeadCopysBlockIsNotWrittenAndIsReplaced) {
    const pid_t dead = Child([this] {
        static THandOverBlock block;
        block.Create(places.block, QStringLiteral("/old/dorvane"));
    });
    THandOverBlock probe;
    EXPECT_TRUE(probe.OpenExisting(places.block)); // alive: its owner holds it
    probe.Close();
    Kill(dead);
    EXPECT_TRUE(QFile::exists(places.block)); // left behind
    EXPECT_FALSE(probe.OpenExisting(places.block));
    THandOverBlock fresh;
    ASSERT_TRUE(fresh.Create(places.block, QStringLiteral("/new/dorvane")));
    ASSERT_TRUE(probe.OpenExisting(places.block));
    EXPECT_EQ(probe.ReadText(), QStringLiteral("/new/dorvane"));
}

TEST_F(SingleInstanceTest, HostileFilesInPlaceOfTheBlock) {
    // A FIFO must not block the start; a link is never written through.
    ASSERT_EQ(::mkfifo(QFile::encodeName(places.block).constData(), 0600), 0);
    EXPECT_FALSE(THandOverBlock().OpenExisting(places.block));
    TInstanceEvent fifoEvent(places.block);
    EXPECT_FALSE(fifoEvent.TryAcquire(kEventWait));
    QFile::remove(places.block);

    const QString target = folder.filePath(QStringLiteral("precious"));
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep me");
    }
    ASSERT_TRUE(QFile::link(target, places.block));
    EXPECT_FALSE(THandOverBlock().OpenExisting(places.block));
    THandOverBlock owner;
    ASSERT_TRUE(owner.Create(places.block, QStringLiteral("/usr/bin/dorvane")));
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "keep me");
    EXPECT_FALSE(QFileInfo(places.block).isSymLink());
}

TEST_F(SingleInstanceTest, TheReceiverTakesARequestAndGoesIdleAgain) {
    const QString own = QStringLiteral("/usr/bin/dorvane");
    THandOverReceiver receiver(places, own);
    ASSERT_TRUE(receiver.HandOverOpen());
    QStringList handed;
    QObject::connect(&receiver, &THandOverReceiver::TextHanded,
                     [&handed](const QString& text) { handed << text; });
    THandOverBlock sender;
    ASSERT_TRUE(sender.OpenExisting(places.block));

    receiver.Tick(); // idle: nothing
    SpinUntil([] { return false; }, 20);
    EXPECT_TRUE(handed.isEmpty());

    sender.WriteText(QStringLiteral("/home/u/a.dvn"));
    receiver.Tick();
    ASSERT_TRUE(SpinUntil([&] { return !handed.isEmpty(); }));
    EXPECT_EQ(handed, QStringList{QStringLiteral("/home/u/a.dvn")});
    EXPECT_EQ(sender.ReadText(), own);

    // After the close step nothing more is taken.
    receiver.Stop();
    sender.WriteText(QStringLiteral("/home/u/b.dvn"));
    receiver.Tick();
    SpinUntil([] { return false; }, 20);
    EXPECT_EQ(handed.size(), 1);
}

TEST_F(SingleInstanceTest, TheMailboxAnswersWhatItUnderstands) {
    THandOverReceiver receiver(places, QStringLiteral("/usr/bin/dorvane"));
    QStringList texts;
    int quits = 0, forwards = 0;
    QObject::connect(&receiver, &THandOverReceiver::TextHanded,
                     [&texts](const QString& text) { texts << text; });
    QObject::connect(&receiver, &THandOverReceiver::QuitRequested, [&quits] { ++quits; });
    QObject::connect(&receiver, &THandOverReceiver::BringForwardRequested,
                     [&forwards] { ++forwards; });
    const auto send = [this](TInstanceRequest kind, quint32 number, const QString& text) {
        auto answer = std::async(std::launch::async, [=, this] {
            return SendInstanceRequest(places.mailbox, kind, number, text, kAnswerWait);
        });
        SpinUntil(
            [&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
        return answer.get();
    };
    EXPECT_EQ(send(TInstanceRequest::CopyData, 1, QStringLiteral("/x/Игра.dvn")), 0u);
    EXPECT_EQ(send(TInstanceRequest::CopyData, 2, QStringLiteral("/x/other.dvn")), 1u);
    EXPECT_EQ(send(TInstanceRequest(77), 1, QStringLiteral("/x/other.dvn")), 1u);
    EXPECT_EQ(send(TInstanceRequest::BringForward, 0, {}), 0u);
    EXPECT_EQ(send(TInstanceRequest::Quit, 0, {}), 0u);
    SpinUntil([&] { return quits == 1; });
    EXPECT_EQ(texts, QStringList{QStringLiteral("/x/Игра.dvn")});
    EXPECT_EQ(forwards, 1);
    EXPECT_EQ(quits, 1);
}

TEST_F(SingleInstanceTest, AMailboxThatNeverAnswersIsGivenUp) {
    // Listening, but its thread never gets to read: a copy that hangs.
    QLocalServer hung;
    ASSERT_TRUE(hung.listen(places.mailbox));
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(SendInstanceRequest(places.mailbox, TInstanceRequest::BringForward, 0, {},
                                     std::chrono::milliseconds(300)));
    EXPECT_LT(clock.elapsed(), 2000); // bounded, generously
    EXPECT_FALSE(SendInstanceRequest(folder.filePath(QStringLiteral("nobody")),
                                     TInstanceRequest::BringForward, 0, {},
                                     std::chrono::milliseconds(300)));
}

TEST_F(SingleInstanceTest, AStartDecidesByTheEvent) {
    TSingleInstance first(places);
    EXPECT_EQ(first.Decide(1, {}, folder.path()), TStartVerdict::Run);
    EXPECT_TRUE(first.EventHeld());
    THandOverReceiver receiver(places, QStringLiteral("/usr/bin/dorvane"));
    QStringList texts;
    QObject::connect(&receiver, &THandOverReceiver::TextHanded,
                     [&texts](const QString& text) { texts << text; });
    receiver.Start();

    // A later start in another thread hands its arguments over and ends.
    auto later = std::async(std::launch::async, [this] {
        TSingleInstance second(places);
        return second.Decide(1, {QStringLiteral("/x/a b.dvn"), QStringLiteral("/x/c.dvn")},
                             folder.path());
    });
    SpinUntil([&] { return later.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
    EXPECT_EQ(later.get(), TStartVerdict::Ended);
    ASSERT_TRUE(SpinUntil([&] { return !texts.isEmpty(); }));
    EXPECT_EQ(texts, QStringList{QStringLiteral("\"/x/a b.dvn\" \"/x/c.dvn\"")});

    // With the receiver gone (a copy that hangs holds the event but answers
    // nobody) a later start gives up after its bound and runs.
    receiver.Stop();
    QLocalServer::removeServer(places.mailbox);
    QLocalServer hung;
    ASSERT_TRUE(hung.listen(places.mailbox));
    TSingleInstance third(places);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(third.Decide(1, {}, folder.path()), TStartVerdict::Run);
    EXPECT_GE(clock.elapsed(), 1000);
}

// Several later starts at once, and one with more names than the block
// holds: every name reaches the running copy, each start's names in their
// order; a start whose names cannot all go says so.
TEST_F(SingleInstanceTest, EveryLaterStartsNamesArrive) {
    TSingleInstance first(places);
    ASSERT_EQ(first.Decide(1, {}, folder.path()), TStartVerdict::Run);
    THandOverReceiver receiver(places, QStringLiteral("/usr/bin/dorvane"));
    QStringList arrived;
    QObject::connect(&receiver, &THandOverReceiver::TextHanded,
                     [&arrived](const QString& text) { arrived << SplitHandedText(text); });
    receiver.Start();

    QStringList many;
    for (int i = 0; i < 300; ++i)
        many << QStringLiteral("/home/u/Музыка/Сборник %1/дорожка номер %1.mp3").arg(i);
    std::vector<QStringList> starts = {many};
    for (int i = 0; i < 5; ++i)
        starts.push_back({QStringLiteral("/home/u/game %1.dvn").arg(i)});
    starts.push_back({QStringLiteral("/x/a.mp3"), QStringLiteral("/x/b.mp3")});
    std::vector<std::future<TStartVerdict>> later;
    for (const QStringList& arguments : starts)
        later.push_back(std::async(std::launch::async, [this, arguments] {
            TSingleInstance start(places);
            return start.Decide(1, arguments, folder.path());
        }));
    const auto allDone = [&] {
        for (const auto& f : later)
            if (f.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return false;
        return true;
    };
    ASSERT_TRUE(SpinUntil(allDone, 10000));
    for (auto& f : later)
        EXPECT_EQ(f.get(), TStartVerdict::Ended);
    std::size_t expected = 0;
    for (const QStringList& arguments : starts)
        expected += std::size_t(arguments.size());
    SpinUntil([&] { return std::size_t(arrived.size()) >= expected; });
    ASSERT_EQ(std::size_t(arrived.size()), expected);
    for (const QStringList& arguments : starts) {
        // Each start's names in its order; another start's may come between
        // the lines of a long one.
        QStringList mine;
        for (const QString& name : arrived)
            if (arguments.contains(name)) mine << name;
        EXPECT_EQ(mine, arguments);
    }

    // A name longer than any hand-over can carry: the running copy comes
    // forward, and the start reports that it did not hand over.
    TSingleInstance tooLong(places);
    auto refused = std::async(std::launch::async, [&] {
        return tooLong.Decide(1, {QStringLiteral("/x/a.dvn"), u'/' + QString(5000, u'a')},
                              folder.path());
    });
    SpinUntil(
        [&] { return refused.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
    EXPECT_EQ(refused.get(), TStartVerdict::NotHandedOver);
}

// After a restart the new copy asks the old one to end and takes the event
// once the old one has let go of it: the two never hold it together.
TEST_F(SingleInstanceTest, TheNewCopyOfARestartEndsTheOldOne) {
    TSingleInstance old(places);
    ASSERT_EQ(old.Decide(1, {}, folder.path()), TStartVerdict::Run);
    THandOverReceiver receiver(places, QStringLiteral("/usr/bin/dorvane"));
    bool asked = false;
    QObject::connect(&receiver, &THandOverReceiver::QuitRequested, [&] {
        asked = true;
        old.ReleaseEvent(); // the old copy's window closes
    });
    TSingleInstance fresh(places);
    auto decided =
        std::async(std::launch::async, [&] { return fresh.Decide(2, {}, folder.path()); });
    SpinUntil(
        [&] { return decided.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        8000);
    EXPECT_EQ(decided.get(), TStartVerdict::Run);
    EXPECT_TRUE(asked);
    EXPECT_TRUE(fresh.EventHeld());
    EXPECT_FALSE(old.EventHeld());
}

} // namespace
} // namespace dorvane
