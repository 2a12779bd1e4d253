// The engine's choice of what plays, on the rig's fake services and clock.
#include "engine_rig.h"

#include <gtest/gtest.h>

namespace dorvane::test {
namespace {

using TTracks = std::vector<std::pair<QString, std::int64_t>>;

TEST(MusicEngine, PlaysInOrderAndWrapsAround) {
    TEngineRig rig;
    rig.Add({{"A", 2000}, {"B", 2000}, {"C", 2000}});
    rig.engine->PlayChosen(0);
    EXPECT_EQ(rig.NextCaption(), "1. A");
    EXPECT_EQ(rig.NextCaption(), "2. B");
    EXPECT_EQ(rig.NextCaption(), "3. C");
    EXPECT_EQ(rig.NextCaption(), "1. A");
    rig.Advance(200);
    EXPECT_EQ(rig.decoder->opened, "/m/A");
}

TEST(MusicEngine, TrackEndsAtItsLastSampleAndTheNextFollowsAtOnce) {
    TEngineRig rig;
    rig.Add({{"A", 2000}, {"B", 2000}});
    rig.engine->PlayChosen(0);
    rig.NextCaption();
    rig.Advance(200);
    ASSERT_EQ(rig.engine->PlayerMode(), kModePlaying);
    const std::int64_t started = rig.clock.now;
    // Without waiting for the tick: the worker's end notice decides.
    while (rig.decoder->opened != "/m/B" && rig.clock.now < started + 5000) {
        rig.clock.now += 10;
        TMusicThread& worker = rig.engine->Worker();
        if (worker.FinePolling())
            worker.FinePass();
        else if (rig.clock.now % 100 == 0 ||
                 rig.engine->State().EngineCommand() != TEngineCommand::None)
            worker.Pass();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(rig.decoder->opened, "/m/B");
    // A ended within its last 20 ms and B opened on the following wakes.
    EXPECT_LE(rig.clock.now - started, 2000 - 200 + 60);
    EXPECT_GE(rig.clock.now - started, 2000 - 200 - 30);
}

TEST(MusicEngine, PreviousAtTheFirstGoesToTheLastAndNextAtTheLastToTheFirst) {
    TEngineRig rig;
    rig.Add({{"A", 9000}, {"B", 9000}, {"C", 9000}});
    rig.engine->PlayChosen(0);
    EXPECT_EQ(rig.NextCaption(), "1. A");
    rig.engine->Previous();
    EXPECT_EQ(rig.NextCaption(), "3. C");
    EXPECT_EQ(rig.engine->Playlist().OrderPosition(), 2);
    rig.engine->Next();
    EXPECT_EQ(rig.NextCaption(), "1. A");
    EXPECT_EQ(rig.engine->Playlist().OrderPosition(), 0);
}

TEST(MusicEngine, RandomSwitchedOnContinuesFromThePlaceInThePlayOrder) {
    TEngineRig rig;
    TTracks tracks;
    for (char c = 'A'; c <= 'H'; ++c)
        tracks.push_back({QString(QLatin1Char(c)), 9000});
    rig.Add(tracks);
    rig.engine->PlayChosen(5);
    EXPECT_EQ(rig.NextCaption(), "6. F");
    rig.engine->ToggleRandom();
    const std::vector<int>& order = rig.engine->Playlist().PlayOrder();
    const int place = int(std::find(order.begin(), order.end(), 5) - order.begin());
    ASSERT_LT(place, 8);
    EXPECT_EQ(rig.engine->Playlist().OrderPosition(), place);
    rig.engine->Next();
    rig.NextCaption();
    EXPECT_EQ(rig.engine->Playlist().CurrentIndex(), order[std::size_t((place + 1) % 8)]);
    // Off again: sequential from the entry playing.
    rig.engine->ToggleRandom();
    EXPECT_EQ(rig.engine->Playlist().OrderPosition(), rig.engine->Playlist().CurrentIndex());
}

TEST(MusicEngine, PlayOffClosesOnTheNextTickAndOnReplaysTheSameEntry) {
    TEngineRig rig;
    rig.Add({{"A", 9000}, {"B", 9000}});
    rig.engine->PlayChosen(1);
    EXPECT_EQ(rig.NextCaption(), "2. B");
    rig.Advance(3000);
    rig.engine->TogglePlay();
    EXPECT_TRUE(rig.engine->StreamInUse());
    EXPECT_EQ(rig.NextCaption(1000), "");
    rig.Advance(200);
    EXPECT_FALSE(rig.engine->StreamInUse());
    EXPECT_EQ(rig.engine->PlayerMode(), kModeStopped);

    rig.engine->TogglePlay();
    EXPECT_EQ(rig.NextCaption(), "2. B");
    rig.Advance(200);
    EXPECT_EQ(rig.engine->PlayerMode(), kModePlaying);
    EXPECT_LT(rig.engine->Worker().Feed()->Position(), 1000);
}

TEST(MusicEngine, RestartDoesNothingWhileStoppedAndPlaysFromTheStartWhilePaused) {
    TEngineRig rig;
    rig.Add({{"A", 9000}});
    rig.engine->Restart();
    EXPECT_EQ(rig.engine->State().EngineCommand(), TEngineCommand::None);

    rig.engine->PlayChosen(0);
    rig.NextCaption();
    rig.Advance(4000);
    rig.engine->TogglePause();
    rig.Advance(300);
    ASSERT_EQ(rig.engine->PlayerMode(), kModePaused);
    ASSERT_GT(rig.engine->Worker().Feed()->Position(), 3000);

    rig.engine->Restart();
    EXPECT_FALSE(rig.engine->PauseOn());
    rig.Advance(300);
    EXPECT_EQ(rig.engine->PlayerMode(), kModePlaying);
    EXPECT_LT(rig.engine->Worker().Feed()->Position(), 500);
}

TEST(MusicEngine, SeekToLandsInsideTheTrackAndPlaysOnFromThere) {
    TEngineRig rig;
    rig.Add({{"A", 9000}});
    EXPECT_FALSE(rig.engine->SeekTo(1000)); // nothing open
    EXPECT_EQ(rig.engine->State().EngineCommand(), TEngineCommand::None);

    rig.engine->PlayChosen(0);
    rig.NextCaption();
    rig.Advance(300);
    ASSERT_EQ(rig.engine->TrackLength(), 9000);
    // What is asked, and where the worker is sent: inside the track. The
    // last lands at the end, which starts the track again.
    for (const auto& [asked, target] :
         {std::pair<std::int64_t, std::int64_t>{-300, 0}, {5000, 5000}, {20000, 9000}}) {
        rig.engine->TogglePause();
        rig.Advance(100);
        ASSERT_EQ(rig.engine->PlayerMode(), kModePaused);
        EXPECT_TRUE(rig.engine->SeekTo(asked));
        EXPECT_EQ(rig.engine->State().SeekTarget.load(), target) << asked;
        EXPECT_FALSE(rig.engine->PauseOn());
        rig.Advance(100);
        if (target == 9000) break;
        EXPECT_EQ(rig.engine->PlayerMode(), kModePlaying) << asked;
        const std::int64_t at = rig.engine->Worker().Feed()->Position();
        EXPECT_GE(at, target) << asked;
        EXPECT_LE(at, target + 400) << asked;
    }
}

TEST(MusicEngine, MidiPlaysOnTheDeviceWithoutSpeedOrWave) {
    TEngineRig rig;
    rig.device->lengthMs = 1500;
    rig.Add({{"tune.mid", 0}, {"B", 9000}});
    rig.engine->PlayChosen(0);
    EXPECT_EQ(rig.NextCaption(), "1. tune.mid");
    rig.Advance(300);
    EXPECT_EQ(rig.device->opened, "/m/tune.mid");
    EXPECT_EQ(rig.engine->PlayerMode(), kModePlaying);
    EXPECT_FALSE(rig.engine->StreamInUse());
    EXPECT_FALSE(rig.engine->SpeedBoxEnabled());
    EXPECT_FALSE(rig.host.speedBox);
    TWaveSnapshot flat;
    flat.fill(128);
    EXPECT_EQ(rig.engine->TakeSnapshot(TSnapshotReader::Visualiser), flat);
    // The device reports its end; the next entry follows on the stream path.
    EXPECT_EQ(rig.NextCaption(), "2. B");
    rig.Advance(1000); // the tick after the open looks at the speed box
    EXPECT_TRUE(rig.engine->StreamInUse());
    EXPECT_TRUE(rig.host.speedBox);
}

TEST(MusicEngine, FilesTheDecoderRefusesGoToTheDeviceAndNeitherSwitchesMusicOffOnce) {
    TEngineRig rig;
    rig.Add({{"odd.xyz", 0}, {"broken.ogg", 0}, {"C", 9000}});
    rig.device->extra = {QStringLiteral("/m/odd.xyz")};
    rig.engine->PlayChosen(0);
    rig.NextCaption();
    rig.Advance(300);
    EXPECT_EQ(rig.device->opened, "/m/odd.xyz");
    EXPECT_EQ(rig.engine->PlayerMode(), kModePlaying);

    rig.engine->Next();
    EXPECT_EQ(rig.NextCaption(), "2. broken.ogg");
    rig.Advance(5000);
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0], "Не удалось открыть файл /m/broken.ogg!\nМузыка отключена.");
    EXPECT_FALSE(rig.engine->PlayOn());
    // Music stays off: no other file is tried and nothing more is said.
    rig.Advance(5000);
    EXPECT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.engine->Playlist().CurrentIndex(), 1);
    EXPECT_EQ(rig.engine->PlayerMode(), kModeStopped);
}

TEST(MusicEngine, WithoutAnySoundOutputMusicGoesOffWithOneMessage) {
    TEngineRig rig;
    rig.output->available = false;
    rig.Add({{"A", 9000}, {"B", 9000}});
    rig.engine->PlayChosen(0);
    rig.Advance(10000);
    EXPECT_EQ(rig.host.messages.size(), 1u);
    EXPECT_FALSE(rig.engine->PlayOn());
}

TEST(MusicEngine, HalfSpeedHalvesTheFrequencyAndStillEndsAtTheTrueEnd) {
    TEngineRig rig;
    rig.Add({{"A", 3000}, {"B", 9000}});
    rig.engine->SetRequestedSpeed(500);
    rig.engine->PlayChosen(0);
    rig.NextCaption();
    rig.Advance(1000);
    EXPECT_EQ(rig.engine->Speed(), 500);
    EXPECT_EQ(rig.output->Frequency(), 500);
    const std::int64_t start = rig.clock.now;
    EXPECT_EQ(rig.NextCaption(), "2. B");
    // 3 s of track at half speed: about 6 s of listening in all.
    EXPECT_NEAR(double(rig.clock.now - start), 6000.0 - 1000.0, 1000.0);
}

TEST(MusicEngine, AnEmptyPlaylistSwitchesMusicOff) {
    TEngineRig rig;
    rig.engine->TimerTimeTimer();
    EXPECT_FALSE(rig.engine->PlayOn());
    ASSERT_FALSE(rig.host.captions.empty());
    EXPECT_EQ(rig.host.captions.back(), "Звуковые файлы не найдены");
    EXPECT_EQ(rig.host.clockTicks, 1);
}

TEST(MusicEngine, ChoosingTheEntryPlayingLetsItGoOnAndAnotherStartsIt) {
    TEngineRig rig;
    rig.Add({{"A", 9000}, {"B", 9000}});
    rig.engine->PlayChosen(0);
    rig.NextCaption();
    rig.Advance(2000);
    rig.engine->PlayChosen(0);
    rig.Advance(1000);
    EXPECT_GT(rig.engine->Worker().Feed()->Position(), 2500);
    rig.engine->PlayChosen(1);
    EXPECT_EQ(rig.NextCaption(), "2. B");
    EXPECT_EQ(rig.host.selectedRows.back(), 1);
}

TEST(MusicEngine, OpeningAnMp3WritesItsTagsUnlessTheEntryHasALength) {
    const QString file = QStringLiteral(DORVANE_TAG_DATA "/cbr32_v23_v1.mp3");
    TEngineRig rig;
    for (const QString& length : {QString(), QStringLiteral("77")}) {
        FList entry;
        entry.S1 = QStringLiteral("shown");
        entry.S2 = file;
        entry.S3 = length;
        rig.engine->Playlist().Append(entry);
    }
    rig.decoder->tracks[file.toStdString()] = 9000;
    rig.Add({{"untagged", 9000}});
    // The tags' own names reach the UI at each opening, the entry's length
    // or not; a file without tags has none.
    const std::vector<std::pair<QString, QString>> names{
        {"Dorvane", "Sine Test"}, {"Dorvane", "Sine Test"}, {"", ""}};
    for (int index : {0, 1, 2}) {
        rig.engine->PlayChosen(index);
        rig.NextCaption();
        rig.Advance(300, true);
        const TOpenedNames opened = rig.engine->State().OpenedNames();
        EXPECT_EQ(opened.path, rig.engine->Playlist().Entry(index).S2);
        EXPECT_EQ(std::pair(opened.artist, opened.title), names[std::size_t(index)]) << index;
    }
    EXPECT_EQ(rig.engine->Playlist().Entry(0).S1, "Dorvane - Sine Test");
    EXPECT_EQ(rig.engine->Playlist().Entry(0).S3, "1");
    EXPECT_EQ(rig.engine->Playlist().Entry(1).S1, "shown");
    EXPECT_EQ(rig.engine->Playlist().Entry(1).S3, "77");
}

TEST(MusicEngine, ShutdownClosesThePlayingTrack) {
    TEngineRig rig;
    rig.Add({{"A", 9000}});
    rig.engine->PlayChosen(0);
    rig.NextCaption();
    rig.Advance(300);
    ASSERT_TRUE(rig.output->Playing());
    const int ticks = rig.host.clockTicks;
    rig.engine->Shutdown();
    EXPECT_FALSE(rig.output->Playing());
    EXPECT_EQ(rig.decoder->opened, "");
    rig.engine->TimerTimeTimer(); // after the end: nothing happens
    EXPECT_EQ(rig.host.clockTicks, ticks);
}

} // namespace
} // namespace dorvane::test
