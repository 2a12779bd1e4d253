// The tempo map of MIDI files built here byte by byte, the hostile files it
// must refuse, and the tune the program ships.
#include "music/midi_timing.h"

#include <QByteArray>
#include <QFile>

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace dorvane {
namespace {

// n big-endian bytes of v; past 8 bytes (a padding of zeros) the high ones
// are 0.
QByteArray Big(std::uint64_t v, int n) {
    QByteArray out;
    for (int i = n - 1; i >= 0; --i)
        out.append(char(i < 8 ? (v >> (8 * i)) & 0xFF : 0));
    return out;
}

QByteArray Header(int format, int tracks, int division) {
    return "MThd" + Big(6, 4) + Big(format, 2) + Big(tracks, 2) + Big(division, 2);
}

QByteArray Track(const QByteArray& events) {
    return "MTrk" + Big(std::uint32_t(events.size()), 4) + events;
}

QByteArray TempoEvent(std::uint32_t us) {
    return QByteArray("\xFF\x51\x03", 3) + Big(us, 3);
}

const QByteArray kEnd("\x00\xFF\x2F\x00", 4);

std::optional<TMidiTiming> Read(const QByteArray& bytes) {
    return TMidiTiming::Read(std::span<const char>(bytes.constData(), std::size_t(bytes.size())));
}

TEST(MidiTiming, AFileWithoutTempoPlaysAt120BeatsAMinute) {
    // One note of 960 ticks at 480 a quarter: two beats, one second.
    const QByteArray file =
        Header(0, 1, 480) + Track(QByteArray("\x00\x90\x3C\x40\x87\x40\x80\x3C\x40", 9) + kEnd);
    const auto timing = Read(file);
    ASSERT_TRUE(timing);
    EXPECT_EQ(timing->totalTicks(), 960u);
    EXPECT_EQ(timing->lengthMs(), 1000);
    EXPECT_EQ(timing->MsToTicks(500), 480u);
}

TEST(MidiTiming, TempoChangesOfAnyTrackMakeOneMap) {
    // Track 1 sets 60 bpm at tick 0 and 240 bpm at tick 480; track 2 lasts
    // 1440 ticks: one second, then 960 ticks at a quarter second a beat.
    const QByteArray conductor = QByteArray(1, '\0') + TempoEvent(1000000) +
                                 QByteArray("\x83\x60", 2) + TempoEvent(250000) + kEnd;
    const QByteArray notes = QByteArray("\x00\x90\x3C\x40\x8B\x20\x3C\x00", 8) + kEnd;
    const auto timing = Read(Header(1, 2, 480) + Track(conductor) + Track(notes));
    ASSERT_TRUE(timing);
    EXPECT_EQ(timing->totalTicks(), 1440u);
    EXPECT_EQ(timing->TicksToMs(480), 1000);
    EXPECT_EQ(timing->lengthMs(), 1500);
    EXPECT_EQ(timing->MsToTicks(1250), 960u);
    EXPECT_EQ(timing->MsToTicks(99999), 1440u);
}

TEST(MidiTiming, SmpteTimeIgnoresTempo) {
    // 25 frames of 40 ticks: a millisecond a tick.
    const QByteArray division = Big(std::uint32_t(std::uint8_t(-25)) << 8 | 40, 2);
    QByteArray file = "MThd" + Big(6, 4) + Big(0, 2) + Big(1, 2) + division;
    file += Track(QByteArray(1, '\0') + TempoEvent(1000000) + QByteArray("\x87\x68", 2) +
                  QByteArray("\xFF\x2F\x00", 3));
    const auto timing = Read(file);
    ASSERT_TRUE(timing);
    EXPECT_EQ(timing->lengthMs(), 1000);
}

TEST(MidiTiming, AnRmidFileHandsOverItsDataChunk) {
    const QByteArray smf =
        Header(0, 1, 96) + Track(QByteArray("\x00\x90\x3C\x40\x60\x3C\x00", 7) + kEnd);
    auto little = [](std::uint32_t v) {
        QByteArray out;
        for (int i = 0; i < 4; ++i)
            out.append(char((v >> (8 * i)) & 0xFF));
        return out;
    };
    const QByteArray info = "LIST" + little(4) + "INFO";
    const QByteArray body = "RMID" + info + "data" + little(std::uint32_t(smf.size())) + smf;
    const QByteArray file = "RIFF" + little(std::uint32_t(body.size())) + body;
    const auto timing = Read(file);
    ASSERT_TRUE(timing);
    EXPECT_EQ(timing->smfOffset(), std::size_t(file.size() - smf.size()));
    EXPECT_EQ(timing->smfSize(), std::size_t(smf.size()));
    EXPECT_EQ(timing->lengthMs(), 500);
}

struct THostile {
    const char* name;
    QByteArray bytes;
};

class MidiTimingRefuses : public testing::TestWithParam<THostile> {};

TEST_P(MidiTimingRefuses, TheFile) {
    EXPECT_FALSE(Read(GetParam().bytes)) << GetParam().name;
}

const QByteArray kNote("\x00\x90\x3C\x40\x60\x3C\x00", 7);

INSTANTIATE_TEST_SUITE_P(
    Hostile, MidiTimingRefuses,
    testing::Values(
        THostile{"empty", QByteArray()}, THostile{"text", QByteArray("hello, this is not MIDI")},
        THostile{"header only", Header(0, 1, 480)},
        THostile{"truncated header", Header(0, 1, 480).left(11)},
        THostile{"no track chunk", Header(0, 1, 480) + "XTRK" + Big(0, 4)},
        THostile{"track longer than the file", Header(0, 1, 480) + "MTrk" + Big(1000, 4) + kEnd},
        THostile{"header size past the file", "MThd" + Big(0xFFFFFFF0, 4) + Big(0, 6)},
        THostile{"format 3", Header(3, 1, 480) + Track(kEnd)},
        THostile{"no tracks announced", Header(0, 0, 480) + Track(kEnd)},
        THostile{"division 0", Header(0, 1, 0) + Track(kEnd)},
        THostile{"five-byte delta", Header(0, 1, 480) + Track("\x81\x81\x81\x81\x01\x90\x3C\x40")},
        THostile{"data byte without a status",
                 Header(0, 1, 480) + Track(QByteArray("\x00\x3C\x40", 3) + kEnd)},
        THostile{"event cut by the track end",
                 Header(0, 1, 480) + Track(QByteArray("\x00\x90\x3C", 3))},
        THostile{"meta length past the track",
                 Header(0, 1, 480) + Track(QByteArray("\x00\xFF\x01\x7F", 4) + "abc")},
        THostile{"system common message",
                 Header(0, 1, 480) + Track(QByteArray("\x00\xF2\x01\x02", 4) + kEnd)},
        THostile{"rmid without data",
                 QByteArray("RIFF\x04\x00\x00\x00RMID", 12) + Header(0, 1, 96) + Track(kNote)}),
    [](const testing::TestParamInfo<THostile>& param) {
        std::string name;
        for (const char* c = param.param.name; *c; ++c)
            if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
        return name;
    });

TEST(MidiTiming, TheShippedTuneLastsThirtyTwoSeconds) {
    QFile file(QStringLiteral(DORVANE_SOUND_DATA "/dorvane_theme.mid"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto timing = Read(file.readAll());
    ASSERT_TRUE(timing);
    // Thirteen bars of 1920 ticks, the last note released 10 ticks early;
    // eleven bars at 100 bpm, one at 92, the last at 80.
    EXPECT_EQ(timing->totalTicks(), 13u * 1920 - 10);
    EXPECT_EQ(timing->TicksToMs(11 * 1920), 26400);
    EXPECT_EQ(timing->lengthMs(),
              std::int64_t(26400 + 1920 * 652173 / 480000.0 + 1910 * 750000 / 480000.0));
}

} // namespace
} // namespace dorvane
