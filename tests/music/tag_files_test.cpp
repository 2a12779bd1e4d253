// The readers on files: what FFmpeg's muxers write, every truncation of
// those files, and names that are no sound files at all.
#include "tag_test_support.h"

#include "music/id3_tags.h"
#include "music/wma_info.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dorvane::test {

using namespace Qt::StringLiterals;

namespace {

QString DataFile(const char* name) {
    return QStringLiteral(DORVANE_TAG_DATA "/") + QLatin1StringView(name);
}

Bytes ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray all = file.readAll();
    return Bytes(all.begin(), all.end());
}

void Write(const QString& path, TByteView bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())),
              qint64(bytes.size()));
}

struct TFfmpegMp3 {
    const char* file;
    QString titel, artist, album, year, track, genre;
    std::uint64_t firstFrame;
    int bitRate;
    std::uint64_t duration;
    std::uint64_t frameCount;
    bool xing;
};

TEST(TagFiles, WrittenByFfmpeg) {
    // cbr32: a 150-byte tag, then an Info header of 40 frames (1152 samples at
    // 44100 Hz) and 4362 bytes, and the 128-byte ID3v1 tag; the first frame,
    // which carries the Info header, is one of 56 kbit/s, the rest of 32.
    // vbr: 41 frames of 576 samples at 22050 Hz, 1613 bytes. riff: the "data"
    // chunk's bytes start at 104.
    const int averageRate = (4362 / 40) * 44100 / 144 / 1000;
    const std::vector<TFfmpegMp3> cases = {
        {"cbr32_v23_v1.mp3", "Sine Test", "Dorvane", "Fixtures", "2024", "3", "Rock", 150,
         averageRate, 1, 40, false},
        {"cbr_v23_utf16.mp3", u"Песня"_s, u"Исполнитель"_s, "", "", "", "", 0x61 + 10, averageRate,
         1, 40, false},
        {"vbr_v24_utf8.mp3", u"Песня"_s, u"Исполнитель"_s, "", "", "5", "", 0x68 + 10, 11, 1, 41,
         true},
        {"riff.mp3", "", "", "", "", "", "", 104, 32, 1, (4284 - 104) / 104, false},
        // MPEG-2 layer II at 32 kbit/s: frames of 1152 samples, 144 x 32000 /
        // 22050 = 208 and 144 x 32000 / 24000 = 192 bytes; ffprobe counts 20
        // and 21 frames.
        {"layer2_22050.mp3", "", "", "", "", "", "", 0, 32, 1, 20, false},
        {"layer2_24000.mp3", "", "", "", "", "", "", 0, 32, 1, 21, false},
    };
    for (const TFfmpegMp3& c : cases) {
        SCOPED_TRACE(c.file);
        TID3v1Info v1;
        TID3v2Info v2;
        MpegInfo mpeg;
        ASSERT_EQ(ReadMp3Info(DataFile(c.file), v1, v2, &mpeg, kDetailEverything),
                  TTagFileStatus::Read);
        EXPECT_EQ(v2.Titel, c.titel);
        EXPECT_EQ(v2.Artist, c.artist);
        EXPECT_EQ(v2.Album, c.album);
        EXPECT_EQ(v2.Year, c.year);
        EXPECT_EQ(v2.Track, c.track);
        EXPECT_EQ(v2.Genre, c.genre);
        EXPECT_TRUE(mpeg.Found);
        EXPECT_EQ(mpeg.FirstFrame, c.firstFrame);
        EXPECT_EQ(mpeg.BitRate, c.bitRate);
        EXPECT_EQ(mpeg.Duration, c.duration);
        EXPECT_EQ(mpeg.FrameCount, c.frameCount);
        EXPECT_EQ(mpeg.Xing, c.xing);
    }
}

TEST(TagFiles, FfmpegId3v1) {
    TID3v1Info v1;
    TID3v2Info v2;
    ReadMp3Info(DataFile("cbr32_v23_v1.mp3"), v1, v2, nullptr, kDetailEverything);
    EXPECT_TRUE(v1.Ok);
    EXPECT_EQ(v1.Titel, "Sine Test");
    EXPECT_EQ(v1.Track, "3");
    EXPECT_EQ(v1.Genre, "Rock");
}

TEST(TagFiles, FfmpegWma) {
    TID3v2Info tags;
    AsfInfo asf;
    ASSERT_EQ(ReadWmaInfo(DataFile("tags.wma"), tags, kDetailEverything, &asf),
              TTagFileStatus::Read);
    EXPECT_EQ(tags.Titel, "Sine Test");
    EXPECT_EQ(tags.Artist, "Dorvane");
    EXPECT_EQ(tags.Album, "Fixtures");
    EXPECT_EQ(tags.Track, "7"); // FFmpeg writes it as text
    EXPECT_EQ(tags.Year, "");   // FFmpeg names it "date", not "WM/Year"
    EXPECT_EQ(asf.Channels, 1);
    EXPECT_EQ(asf.SampleRate, 22050u);
    EXPECT_EQ(asf.MaxBitRate, 32'000u);
    EXPECT_EQ(asf.AvgBytesPerSec, 4000u);
    // One second of sound in two packets of 3200 bytes: the length from the
    // size counts the packets' padding, (6450 x 8 / 32000 + 6450 / 4000) / 2
    // = 1.6 s.
    EXPECT_EQ(asf.HeaderEnd, 756u);
    EXPECT_EQ(asf.Duration, 2u);
}

// Whatever a truncated file still holds is what the whole file holds: a
// text is either gone or the same, a header found is the same header.
TEST(TagFiles, EveryTruncation) {
    for (const char* name :
         {"cbr32_v23_v1.mp3", "cbr_v23_utf16.mp3", "vbr_v24_utf8.mp3", "riff.mp3"}) {
        SCOPED_TRACE(name);
        const Bytes whole = ReadBytes(DataFile(name));
        ASSERT_FALSE(whole.empty());
        const TMp3Result full = ReadMp3Bytes(whole);
        for (std::size_t size = 0; size < whole.size(); ++size) {
            const TMp3Result cut = ReadMp3Bytes(Bytes(whole.begin(), whole.begin() + size));
            const auto same = [&](const QString& part, const QString& all) {
                return part.isEmpty() || part == all;
            };
            if (!same(cut.v2.Titel, full.v2.Titel) || !same(cut.v2.Artist, full.v2.Artist) ||
                !same(cut.v2.Track, full.v2.Track) ||
                (cut.mpeg.Found && cut.mpeg.FirstFrame != full.mpeg.FirstFrame) || cut.v1.Ok) {
                ADD_FAILURE() << "cut at " << size;
                break;
            }
        }
    }
    const Bytes whole = ReadBytes(DataFile("tags.wma"));
    TID3v2Info full;
    AsfInfo fullAsf;
    TMemoryTagSource source(whole);
    ReadWmaInfo(source, full, kDetailEverything, &fullAsf);
    for (std::size_t size = 0; size < whole.size(); ++size) {
        const Bytes part(whole.begin(), whole.begin() + size);
        TMemoryTagSource cutSource(part);
        TID3v2Info cut;
        AsfInfo asf;
        ReadWmaInfo(cutSource, cut, kDetailEverything, &asf);
        if ((!cut.Titel.isEmpty() && cut.Titel != full.Titel) ||
            (!cut.Album.isEmpty() && cut.Album != full.Album) || asf.Duration > fullAsf.Duration) {
            ADD_FAILURE() << "tags.wma cut at " << size;
            break;
        }
    }
}

// The file reader reads what the byte reader reads, at every length.
TEST(TagFiles, FilesReadLikeBytes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const Bytes whole = ReadBytes(DataFile("vbr_v24_utf8.mp3"));
    const QString path = dir.filePath(u"cut.mp3"_s);
    for (std::size_t size = 0; size <= whole.size(); size += 7) {
        const Bytes part(whole.begin(), whole.begin() + size);
        Write(path, part);
        TMp3Result fromFile;
        ASSERT_EQ(ReadMp3Info(path, fromFile.v1, fromFile.v2, &fromFile.mpeg, kDetailEverything),
                  TTagFileStatus::Read);
        const TMp3Result fromBytes = ReadMp3Bytes(part);
        ASSERT_EQ(fromFile.v2.Titel, fromBytes.v2.Titel) << size;
        ASSERT_EQ(fromFile.mpeg.Found, fromBytes.mpeg.Found) << size;
        ASSERT_EQ(fromFile.mpeg.Duration, fromBytes.mpeg.Duration) << size;
    }
}

// A file that really is large, with a tag and a frame that claim most of it:
// the frame is passed over, nothing is read in one piece larger than the
// reader's own limit.
TEST(TagFiles, SizesClaimingGigabytes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"large.mp3"_s);
    constexpr std::uint32_t kTag = 0x0FFFFFFF; // the largest syncsafe size, 256 MiB
    const Bytes start = Cat({Of("ID3"),
                             {3, 0, 0},
                             Syncsafe(kTag),
                             Of("TIT2"),
                             BigEndian(kTag - 10),
                             Zeros(2),
                             {0},
                             Of("Title")});
    Write(path, start);
    ASSERT_TRUE(QFile::resize(path, qint64(3) << 30)); // sparse: 3 GiB of nothing
    TRegularFile file = TRegularFile::Open(QFile::encodeName(path).toStdString());
    ASSERT_TRUE(file.ok());
    TFileTagSource fileSource(std::move(file));
    TRecordingSource source(fileSource);
    TID3v1Info v1;
    TID3v2Info v2;
    MpegInfo mpeg;
    ReadMp3Info(source, v1, v2, &mpeg, kDetailEverything);
    EXPECT_TRUE(v2.Ok);
    EXPECT_EQ(v2.Titel, "");
    EXPECT_EQ(mpeg.ID3v2Size, kTag + 10);
    EXPECT_FALSE(mpeg.Found);
    EXPECT_LE(source.largest, std::size_t(kMaxTextFrame));
    EXPECT_LT(source.total, std::uint64_t(64) << 10);

    // The same claims in a small file stop at the file's end.
    const TMp3Result small = ReadMp3Bytes(Cat({start, Zeros(1000)}));
    EXPECT_TRUE(small.v2.Ok);
    EXPECT_EQ(small.v2.Titel, "");
    EXPECT_FALSE(small.mpeg.Found);
}

TEST(TagFiles, NamesThatAreNoSoundFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fifo = dir.filePath(u"pipe.mp3"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = dir.filePath(u"folder.wma"_s);
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString device = dir.filePath(u"zero.mp3"_s);
    ASSERT_TRUE(QFile::link(u"/dev/zero"_s, device));
    const QString linkToFifo = dir.filePath(u"pipe-link.wma"_s);
    ASSERT_TRUE(QFile::link(fifo, linkToFifo));
    const QString otherType = dir.filePath(u"song.ogg"_s);
    ASSERT_TRUE(QFile::copy(DataFile("cbr32_v23_v1.mp3"), otherType));
    const QString upperCase = dir.filePath(u"SONG.MP3"_s);
    ASSERT_TRUE(QFile::copy(DataFile("cbr32_v23_v1.mp3"), upperCase));

    struct TCase {
        QString path;
        TTagFileStatus mp3;
        TTagFileStatus wma;
    };
    const std::vector<TCase> cases = {
        {fifo, TTagFileStatus::NotRegular, TTagFileStatus::OtherType},
        {folder, TTagFileStatus::OtherType, TTagFileStatus::NotRegular},
        {device, TTagFileStatus::NotRegular, TTagFileStatus::OtherType},
        {linkToFifo, TTagFileStatus::OtherType, TTagFileStatus::NotRegular},
        {otherType, TTagFileStatus::OtherType, TTagFileStatus::OtherType},
        {dir.filePath(u"missing.mp3"_s), TTagFileStatus::Missing, TTagFileStatus::OtherType},
        {dir.filePath(u"missing.wma"_s), TTagFileStatus::OtherType, TTagFileStatus::Missing},
        {upperCase, TTagFileStatus::Read, TTagFileStatus::OtherType},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        // Outputs left from an earlier read are cleared whatever happens.
        TID3v1Info v1;
        v1.Titel = "stale";
        TID3v2Info v2;
        v2.Ok = true;
        MpegInfo mpeg;
        mpeg.Found = true;
        EXPECT_EQ(ReadMp3Info(c.path, v1, v2, &mpeg, kDetailTitles), c.mp3);
        if (c.mp3 != TTagFileStatus::Read) {
            EXPECT_EQ(v1.Titel, "");
            EXPECT_FALSE(v2.Ok);
            EXPECT_FALSE(mpeg.Found);
        }
        AsfInfo asf;
        asf.Duration = 5;
        EXPECT_EQ(ReadWmaInfo(c.path, v2, kDetailTitles, &asf), c.wma);
        EXPECT_FALSE(v2.Ok);
        EXPECT_EQ(asf.Duration, 0u);
    }
}

} // namespace

} // namespace dorvane::test
