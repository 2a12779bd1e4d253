// Filling the playlist: LoadMusic's modes on the real worker thread, the
// source dialogs' requests, dropped files and picked files.
#include "music/music_loader.h"
#include "music/music_sources.h"
#include "music/playlist_formats.h"
#include "music_fixture.h"
#include "support/resource_bounds.h"

#include <gtest/gtest.h>

#include <QFile>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <unistd.h>

namespace dorvane::test {
namespace {

class MusicLoader : public testing::Test {
protected:
    MusicLoader() {
        folder.Write("Sound/default.mp3");
        folder.Write("Rock/r1.mp3", "12");
        folder.Write("Rock/r2.wav", "345");
        folder.Write("Rock/deep/r3.mp3");
        folder.Write("Jazz/j1.flac");
        folder.Write("lists/list.m3u", "#EXTINF:5,Джаз\r\n../Jazz/j1.flac\r\n../Rock/r1.mp3\r\n");
        loader = std::make_unique<TMusicLoader>(playlist, host, random, folder.Path("Sound"));
    }

    void Load(const QString& select = QString()) {
        bool finished = false;
        const auto connection =
            QObject::connect(loader.get(), &TMusicLoader::LoadFinished, [&] { finished = true; });
        loader->LoadMusic(select);
        EXPECT_TRUE(playlist.Busy());
        EXPECT_TRUE(loader->LongOperationRunning());
        ASSERT_TRUE(WaitFor([&] { return finished; }));
        QObject::disconnect(connection);
        EXPECT_FALSE(playlist.Busy());
        EXPECT_FALSE(loader->LongOperationRunning());
    }

    QStringList Paths() const {
        QStringList out;
        for (const FList& e : playlist.Entries())
            out << e.S2.mid(folder.Path().size() + 1);
        return out;
    }

    TMusicFolder folder;
    TPlaylist playlist;
    TRecordingHost host;
    TRandom random{3};
    std::unique_ptr<TMusicLoader> loader;
};

TEST_F(MusicLoader, EveryItemOfTheSourceInOrder) {
    loader->SetMusicSource(folder.Path("lists/list.m3u") + ";" + folder.Path("Rock"));
    loader->SetRandomChoice(false);
    Load();
    EXPECT_EQ(Paths(), QStringList({"Jazz/j1.flac", "Rock/r1.mp3", "Rock/r1.mp3", "Rock/r2.wav"}));
    EXPECT_EQ(playlist.Entry(0).S1, QStringLiteral("Джаз"));
    EXPECT_EQ(playlist.TotalSize(), 1 + 2 + 2 + 3);
    EXPECT_EQ(host.calls, "close;history;refresh;hold;");
    EXPECT_EQ(loader->RecentSources(), QStringList({loader->MusicSource()}));
    EXPECT_EQ(playlist.PlayOrder().size(), 4u);
    EXPECT_EQ(playlist.OrderPosition(), 0);
}

TEST_F(MusicLoader, SubfoldersAsTheSettingSays) {
    loader->SetMusicSource(folder.Path("Rock"));
    loader->SetWithSubfolders(true);
    Load();
    EXPECT_EQ(Paths(), QStringList({"Rock/deep/r3.mp3", "Rock/r1.mp3", "Rock/r2.wav"}));
    EXPECT_EQ(host.calls, "close;history;refresh;") << "random play: the engine advances";
}

TEST_F(MusicLoader, ModesReplaceOrAdd) {
    loader->SetMusicSource(folder.Path("Rock"));
    Load();
    loader->SetLoadMode(TLoadMode::AddPending);
    loader->SetPendingSource(folder.Path("Jazz"));
    Load();
    EXPECT_EQ(Paths(), QStringList({"Rock/r1.mp3", "Rock/r2.wav", "Jazz/j1.flac"}));
    loader->SetLoadMode(TLoadMode::PendingOnly);
    Load();
    EXPECT_EQ(Paths(), QStringList({"Jazz/j1.flac"}));
}

TEST_F(MusicLoader, WhatIsNeitherFileNorFolderLoadsTheSoundFolder) {
    for (const QString& source : {QString(), folder.Path("gone"), folder.Fifo("pipe")}) {
        loader->SetMusicSource(source);
        Load();
        EXPECT_EQ(Paths(), QStringList({"Sound/default.mp3"})) << source.toStdString();
    }
    loader->SetMusicSource(folder.Write("junk.m3u", QByteArray("\x00\x01", 2)));
    Load();
    EXPECT_TRUE(Paths().isEmpty()) << "an unreadable list adds nothing";
}

TEST_F(MusicLoader, TheFileToSelectBecomesThePendingSelection) {
    loader->SetMusicSource(folder.Path("Rock"));
    playlist.SetOrderPosition(5);
    Load(folder.Path("Rock/r2.wav"));
    EXPECT_TRUE(playlist.PendingSelection().pending);
    EXPECT_EQ(playlist.PendingSelection().index, 1);
    EXPECT_EQ(playlist.OrderPosition(), 5);
    playlist.ClearPendingSelection();
    Load(folder.Path("ROCK/r2.wav"));
    EXPECT_FALSE(playlist.PendingSelection().pending) << "names compare exactly";
}

TEST_F(MusicLoader, ASecondLoadWhileOneRunsDoesNothing) {
    loader->SetMusicSource(folder.Path("Rock"));
    bool finished = false;
    QObject::connect(loader.get(), &TMusicLoader::LoadFinished, [&] { finished = true; });
    loader->LoadMusic(QString());
    loader->LoadMusic(QString());
    EXPECT_FALSE(loader->AddFiles({folder.Path("Jazz/j1.flac")}, false));
    EXPECT_FALSE(loader->ChooseMusicSource(1, [](const TSourceRequest&) { return QString("/"); }));
    ASSERT_TRUE(WaitFor([&] { return finished; }));
    EXPECT_EQ(host.calls, "close;history;refresh;");
    EXPECT_EQ(Paths().size(), 2);
}

TEST_F(MusicLoader, ACancelledOrDroppedLoadEnds) {
    for (int k = 0; k < 300; ++k)
        folder.Write(QStringLiteral("Many/%1/t.mp3").arg(k));
    loader->SetMusicSource(folder.Path("Many"));
    loader->SetWithSubfolders(true);
    bool finished = false;
    QObject::connect(loader.get(), &TMusicLoader::LoadFinished, [&] { finished = true; });
    loader->LoadMusic(QString());
    loader->CancelSearch();
    ASSERT_TRUE(WaitFor([&] { return finished; }));
    EXPECT_LE(playlist.Count(), 300);
    EXPECT_FALSE(playlist.Busy());
    // Destroyed while its worker runs: it waits for the worker, and nothing
    // arrives afterwards.
    loader->LoadMusic(QString());
    loader.reset();
    QCoreApplication::processEvents();
    EXPECT_TRUE(playlist.Busy()) << "the load never finished";
}

// This process's resident memory in bytes.
qint64 ResidentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * ::sysconf(_SC_PAGESIZE) : 0;
}

// The highest resident memory while it lives, sampled every 5 ms.
class TPeakMemory {
public:
    TPeakMemory()
        : sampler_([this] {
              while (!stop_.load()) {
                  peak_.store(std::max(peak_.load(), ResidentBytes()));
                  std::this_thread::sleep_for(std::chrono::milliseconds(5));
              }
          }) {}
    ~TPeakMemory() { Stop(); }
    qint64 Stop() {
        stop_.store(true);
        if (sampler_.joinable()) sampler_.join();
        return peak_.load();
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<qint64> peak_{ResidentBytes()};
    std::thread sampler_;
};

// Six million lines, 216 MB, that name no file, then one file that is
// there. As a ".lst" the lines are passed over by their names; as an ".m3u"
// each is looked for.
QString WriteHugeList(const TMusicFolder& folder, const char* extension) {
    const QString path = folder.Path("lists/huge") + QLatin1String(extension);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    QByteArray piece;
    for (int k = 0; k < 6'000'000; ++k) {
        piece += "Name " + QByteArray::number(10'000'000 + k) + " of a huge list, no file\n";
        if (piece.size() > (1 << 20)) {
            file.write(piece);
            piece.clear();
        }
    }
    piece += "../Rock/r1.mp3\n";
    file.write(piece);
    EXPECT_GT(file.size(), 200'000'000);
    return path;
}

// A list of millions of lines is read line by line: the memory it takes is
// the entries', not a copy of every line.
TEST_F(MusicLoader, AHugeListInBoundedMemory) {
    if (!test::kResourceBoundsHold)
        GTEST_SKIP() << "memory bounds are checked in the ordinary build";
    loader->SetMusicSource(WriteHugeList(folder, ".lst"));
    const qint64 before = ResidentBytes();
    TPeakMemory peak;
    bool finished = false;
    QObject::connect(loader.get(), &TMusicLoader::LoadFinished, [&] { finished = true; });
    loader->LoadMusic(QString());
    ASSERT_TRUE(WaitFor([&] { return finished; }, 300'000));
    const qint64 grown = peak.Stop() - before;
    RecordProperty("peak_growth_mib", int(grown >> 20));
    EXPECT_LE(grown, qint64(300) << 20);
    ASSERT_EQ(Paths(), QStringList({"Rock/r1.mp3"}));
    EXPECT_TRUE(host.messages.isEmpty());
}

// Esc, and a close (the loader's end, as SIGTERM ends the program) stop a
// list's reading where it is, long before its last line.
TEST_F(MusicLoader, AHugeListStopsWhenCancelled) {
    loader->SetMusicSource(WriteHugeList(folder, ".m3u"));
    bool finished = false;
    QObject::connect(loader.get(), &TMusicLoader::LoadFinished, [&] { finished = true; });
    loader->LoadMusic(QString());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    loader->CancelSearch();
    ASSERT_TRUE(WaitFor([&] { return finished; }, 300'000));
    EXPECT_TRUE(Paths().isEmpty()) << "the list was read to its end";

    loader->LoadMusic(QString());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto start = std::chrono::steady_clock::now();
    loader.reset();
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    RecordProperty("close_wait_ms", int(waited.count()));
    EXPECT_TRUE(playlist.Busy()) << "the load never finished";
}

// A list of more entries than the player keeps gives the first of them and
// says so.
TEST_F(MusicLoader, AListOfTooManyEntries) {
    const QString list = folder.Write(
        "lists/many.m3u", QByteArray("../Rock/r1.mp3\n").repeated(int(kMaxListEntries) + 5));
    loader->SetMusicSource(list + ";" + folder.Path("Jazz"));
    Load();
    ASSERT_EQ(playlist.Count(), int(kMaxListEntries) + 1);
    EXPECT_EQ(playlist.Entry(int(kMaxListEntries)).S2, folder.Path("Jazz/j1.flac"))
        << "the next source is still read";
    EXPECT_EQ(host.messages, QStringList({LongListMessage(list)}));
    EXPECT_EQ(LongListMessage(QStringLiteral("/a/b.m3u")),
              QStringLiteral("Список /a/b.m3u длиннее 100000 записей!\nЗагружены первые 100000."));
}

TEST_F(MusicLoader, ChooseFolderOrList) {
    loader->SetMusicSource(folder.Path("Rock") + ";" + folder.Path("Jazz"));
    std::optional<TSourceRequest> asked;
    const auto answer = [&](QString path) {
        return [&asked, path](const TSourceRequest& request) {
            asked = request;
            return path;
        };
    };
    int raised = 0;
    QObject::connect(loader.get(), &TMusicLoader::LoadRequestRaised, [&] { ++raised; });
    EXPECT_TRUE(loader->ChooseMusicSource(2, answer(folder.Path("Jazz"))));
    ASSERT_TRUE(asked);
    EXPECT_TRUE(asked->folder);
    EXPECT_EQ(asked->title, QStringLiteral("Выбор директории содержащей звуковые файлы"));
    EXPECT_EQ(asked->start, folder.Path("Rock"));
    EXPECT_EQ(loader->LoadMode(), TLoadMode::AddPending);
    EXPECT_EQ(loader->PendingSource(), folder.Path("Jazz"));
    EXPECT_TRUE(loader->LoadRequested());
    EXPECT_EQ(raised, 1);

    loader->ClearLoadRequest();
    EXPECT_TRUE(loader->ChooseMusicSource(3, answer(folder.Path("lists/list.m3u"))));
    EXPECT_FALSE(asked->folder);
    EXPECT_EQ(asked->filters.first(),
              QStringLiteral("Списки M3U, M3U8, PLS, WPL, ASX (*.m3u *.m3u8 *.pls *.wpl *.asx)"));
    EXPECT_EQ(asked->filters.last(), QStringLiteral("Все файлы (*)"));
    EXPECT_EQ(loader->LoadMode(), TLoadMode::PendingOnly);

    loader->ClearLoadRequest();
    EXPECT_FALSE(loader->ChooseMusicSource(4, answer(QString())));
    EXPECT_EQ(loader->LoadMode(), TLoadMode::PendingOnly) << "cancelled: nothing changes";
    EXPECT_EQ(loader->PendingSource(), folder.Path("lists/list.m3u"));
    EXPECT_FALSE(loader->LoadRequested());

    loader->SetMusicSource(folder.Path("gone"));
    loader->ChooseMusicSource(1, answer(QString()));
    EXPECT_TRUE(asked->start.isEmpty()) << "no folder to start in";
}

TEST_F(MusicLoader, ServingARequestAddsOrReplacesTheSource) {
    loader->SetMusicSource("/m/Rock;/m/Jazz");
    loader->SetLoadMode(TLoadMode::AddPending);
    loader->SetPendingSource("/M/JAZZ");
    EXPECT_FALSE(loader->ApplyPendingSource()) << "already an item: nothing to load";
    EXPECT_EQ(loader->MusicSource(), "/m/Rock;/m/Jazz");
    loader->SetPendingSource("/m/Pop");
    EXPECT_TRUE(loader->ApplyPendingSource());
    EXPECT_EQ(loader->MusicSource(), "/m/Rock;/m/Jazz;/m/Pop");
    loader->SetLoadMode(TLoadMode::PendingOnly);
    EXPECT_TRUE(loader->ApplyPendingSource());
    EXPECT_EQ(loader->MusicSource(), "/m/Pop");
}

TEST_F(MusicLoader, OpenMusicTarget) {
    EXPECT_FALSE(loader->OpenMusicTarget(QStringLiteral("/a")));
    EXPECT_FALSE(loader->OpenMusicTarget(folder.Path("gone.mp3")));
    EXPECT_TRUE(host.calls.empty());

    EXPECT_TRUE(loader->OpenMusicTarget(folder.Path("Jazz")));
    EXPECT_EQ(loader->LoadMode(), TLoadMode::PendingOnly);
    EXPECT_EQ(loader->PendingSource(), folder.Path("Jazz"));
    EXPECT_TRUE(loader->LoadRequested());
    EXPECT_EQ(host.calls, "show;");

    loader->ClearLoadRequest();
    loader->SetMusicSource("/old");
    EXPECT_TRUE(loader->OpenMusicTarget(folder.Link("link.m3u", folder.Path("lists/list.m3u"))));
    EXPECT_TRUE(loader->MusicSource().isEmpty());
    EXPECT_EQ(loader->PendingSource(), folder.Path("lists/list.m3u")) << "the link's target";
    EXPECT_TRUE(loader->LoadRequested());

    loader->ClearLoadRequest();
    host.calls.clear();
    bool finished = false;
    QObject::connect(loader.get(), &TMusicLoader::LoadFinished, [&] { finished = true; });
    EXPECT_TRUE(loader->OpenMusicTarget(folder.Path("Rock/r2.wav")));
    EXPECT_EQ(loader->MusicSource(), folder.Path("Rock"));
    EXPECT_EQ(loader->PendingSource(), folder.Path("Rock"));
    EXPECT_FALSE(loader->LoadRequested()) << "loaded at once";
    ASSERT_TRUE(WaitFor([&] { return finished; }));
    EXPECT_EQ(host.calls, "play;close;history;show;refresh;");
    EXPECT_EQ(playlist.PendingSelection().index, 1);
    EXPECT_TRUE(playlist.PendingSelection().pending);
}

TEST_F(MusicLoader, DesktopLinkFilesOpenTheirTarget) {
    const QString link =
        folder.Write("jazz.desktop", ("[Desktop Entry]\nType=Link\nName=Jazz\nURL=file://" +
                                      folder.Path("Jazz") + "\n")
                                         .toUtf8());
    EXPECT_TRUE(loader->OpenMusicTarget(link));
    EXPECT_EQ(loader->PendingSource(), folder.Path("Jazz"));
}

TEST_F(MusicLoader, PickedFilesOpenOrAdd) {
    EXPECT_TRUE(loader->AddFiles({folder.Path("Rock/r1.mp3"), folder.Path("Gone.MP3")}, true));
    EXPECT_TRUE(loader->AddFiles({folder.Path("Rock/r2.wav")}, false));
    ASSERT_EQ(playlist.Count(), 3);
    EXPECT_EQ(playlist.Entry(1).S1, QStringLiteral("Gone"));
    EXPECT_EQ(playlist.Entry(1).Ext, QStringLiteral(".MP3"));
    EXPECT_EQ(playlist.Entry(1).Size, 0);
    EXPECT_EQ(playlist.Entry(1).Time, 0u);
    EXPECT_EQ(playlist.TotalSize(), 5);
    EXPECT_EQ(playlist.PlayOrder().size(), 3u);
    EXPECT_TRUE(loader->AddFiles({folder.Path("Jazz/j1.flac")}, true));
    EXPECT_EQ(Paths(), QStringList({"Jazz/j1.flac"}));
    EXPECT_TRUE(loader->MusicSource().isEmpty());
    EXPECT_EQ(host.calls, "refresh;refresh;refresh;");
}

} // namespace
} // namespace dorvane::test
