// The .mp3 reader on built bytes: the audio stream's header and length, the
// ID3v2 frames and their texts, the ID3v1 tag.
#include "tag_test_support.h"

#include "music/id3_tags.h"

#include <string_view>

namespace dorvane::test {

using namespace Qt::StringLiterals;

namespace {

// A version 2.3 tag padded to exactly size bytes, header included.
Bytes TagOfSize(std::size_t size) {
    const Bytes frames = TextFrame("TIT2", "Title");
    return Id3Tag(frames, size - 10 - frames.size());
}

Bytes Stream(const Bytes& header, std::size_t audioBytes) {
    Bytes audio = header;
    audio.resize(audioBytes, 0);
    return audio;
}

struct TStreamCase {
    const char* name;
    Bytes file;
    bool found;
    std::uint64_t firstFrame;
    std::uint32_t riffDataOffset;
    int bitRate;
    std::uint64_t duration;
    std::uint64_t frameCount;
    bool xing;
    bool vbri;
};

TEST(Mp3Stream, HeaderLengthAndBitRate) {
    constexpr std::uint32_t kXingBytes = 5000 * 417;
    // (5000 frames x 1152 samples) / 44100 Hz = 130.6 s; the byte count gives
    // 417 bytes a frame: 417 x 44100 / 144 / 1000 = 127 kbit/s.
    const std::vector<TStreamCase> cases = {
        {"CBR 128 kbit/s, 4,000,000 bytes after a 1024-byte tag: 250 s",
         Cat({TagOfSize(1024), Stream(Mp3Header(), 4'000'000)}), true, 1024, 0, 128, 250,
         4'000'000 / 417, false, false},
        {"the same with an ID3v1 tag, which is not audio",
         Cat({TagOfSize(1024), Stream(Mp3Header(), 4'000'000), Id3v1Tag({})}), true, 1024, 0, 128,
         250, 4'000'000 / 417, false, false},
        {"Xing, 5000 frames at 44100 Hz: 130 s", Cat({XingFrame(5000, kXingBytes), Mp3Frames(3)}),
         true, 0, 0, 127, 130, 5000, true, false},
        {"Xing, 5000 frames, whatever the file's size",
         Cat({TagOfSize(300), XingFrame(5000, kXingBytes), Zeros(3'000'000)}), true, 300, 0, 127,
         130, 5000, true, false},
        {"Xing in a mono frame, 21 bytes in",
         Cat({Stream(Cat({Mp3Header(9, true), Zeros(17), Of("Xing"), BigEndian(3), BigEndian(5000),
                          BigEndian(kXingBytes)}),
                     417),
              Mp3Frames(2)}),
         true, 0, 0, 127, 130, 5000, true, false},
        {"Xing without a frame count keeps the constant-rate figures",
         Cat({Stream(Cat({Mp3Header(), Zeros(32), Of("Xing"), BigEndian(2), BigEndian(kXingBytes)}),
                     160'000)}),
         true, 0, 0, 128, 10, 160'000 / 417, true, false},
        {"VBRI, 5000 frames: 130 s", Cat({VbriFrame(5000, kXingBytes), Mp3Frames(2)}), true, 0, 0,
         127, 130, 5000, false, true},
        {"MPEG-2 layer 3, 22050 Hz, 32 kbit/s", Stream({0xFF, 0xF3, 0x40, 0xC0}, 40'000), true, 0,
         0, 32, 10, 40'000 / 104, false, false},
        {"MPEG-2.5 layer 3, 8000 Hz, 8 kbit/s", Stream({0xFF, 0xE3, 0x18, 0xC0}, 10'000), true, 0,
         0, 8, 10, 10'000 / 72, false, false},
        {"MPEG-1 layer 1, 384 kbit/s", Stream({0xFF, 0xFF, 0xC0, 0x00}, 480'000), true, 0, 0, 384,
         10, 480'000 / 416, false, false},
        // Below MPEG-1 only layer 3 halves its frame: layer 1 keeps 384
        // samples and (12 x rate / hertz) 4-byte slots, layer 2 keeps 1152
        // samples and 144 x rate / hertz bytes.
        {"MPEG-2 layer 1, 22050 Hz, 128 kbit/s: 276-byte frames",
         Stream({0xFF, 0xF7, 0x80, 0xC0}, 27'600), true, 0, 0, 128, 1, 100, false, false},
        {"MPEG-2 layer 2, 22050 Hz, 64 kbit/s: 417-byte frames",
         Stream({0xFF, 0xF5, 0x80, 0xC0}, 41'700), true, 0, 0, 64, 5, 100, false, false},
        {"MPEG-2.5 layer 2, 11025 Hz, 32 kbit/s: 417-byte frames",
         Stream({0xFF, 0xE5, 0x40, 0xC0}, 41'700), true, 0, 0, 32, 10, 100, false, false},
        // 5000 x 384 / 22050 = 87 s; 276 bytes a frame: 276 x 22050 / 48 / 1000.
        {"Xing in an MPEG-2 layer 1 frame: 384 samples a frame",
         Cat({Stream(Cat({Bytes{0xFF, 0xF7, 0x80, 0xC0}, Zeros(9), Of("Xing"), BigEndian(3),
                          BigEndian(5000), BigEndian(5000 * 276)}),
                     276),
              Zeros(276)}),
         true, 0, 0, 126, 87, 5000, true, false},
        {"padding lengthens the frame by one byte", Stream(Mp3Header(9, false, true), 418 * 100),
         true, 0, 0, 128, 2, 100, false, false},
        {"RIFF wrapper, data chunk at 62: the frame at 70",
         Cat({Of("RIFF"), Zeros(58), Of("data"), Zeros(4), Stream(Mp3Header(), 16'000)}), true, 70,
         70, 128, 1, 16'000 / 417, false, false},
        {"RIFF wrapper, data chunk at 64: the frame at 72",
         Cat({Of("RIFF"), Zeros(60), Of("data"), Zeros(4), Stream(Mp3Header(), 16'000)}), true, 72,
         72, 128, 1, 16'000 / 417, false, false},
        {"a RIFF wrapper after an ID3v2 tag",
         Cat({TagOfSize(100), Of("RIFF"), Zeros(58), Of("data"), Zeros(4),
              Stream(Mp3Header(), 16'000)}),
         true, 170, 70, 128, 1, 16'000 / 417, false, false},
        {"junk before the first frame is searched through",
         Cat({Zeros(5000), Stream(Mp3Header(), 16'000)}), true, 5000, 0, 128, 1, 16'000 / 417,
         false, false},
        {"the search looks at 8192 positions", Cat({Zeros(8191), Stream(Mp3Header(), 16'000)}),
         true, 8191, 0, 128, 1, 16'000 / 417, false, false},
        {"and no further", Cat({Zeros(8192), Stream(Mp3Header(), 16'000)}), false, 0, 0, 0, 0, 0,
         false, false},
        // A sync pattern inside the tag (picture data, say) is not the stream:
        // the search starts where the tag ends.
        {"the search starts after the tag",
         Cat({Id3Tag(
                  Cat({TextFrame("TIT2", "T"), Id3Frame("PRIV", Cat({Mp3Header(), Zeros(20)}))})),
              Zeros(10), Stream(Mp3Header(), 16'000)}),
         true, 10 + 12 + 34 + 10, 0, 128, 1, 16'000 / 417, false, false},
        {"the search starts after a tag of more than 8 KiB",
         Cat({TagOfSize(20'000), Zeros(3), Stream(Mp3Header(), 16'000)}), true, 20'003, 0, 128, 1,
         16'000 / 417, false, false},
        {"reserved version: a header, nothing more", Stream({0xFF, 0xEB, 0x90, 0x00}, 16'000), true,
         0, 0, 0, 0, 0, false, false},
        {"forbidden bit-rate index: no length", Stream({0xFF, 0xFB, 0xF0, 0x00}, 16'000), true, 0,
         0, -1, 0, 0, false, false},
        {"free format: no length", Stream({0xFF, 0xFB, 0x00, 0x00}, 16'000), true, 0, 0, 0, 0, 0,
         false, false},
        {"no sync at all", Zeros(2000), false, 0, 0, 0, 0, 0, false, false},
        {"a file shorter than its tag claims is not searched",
         Cat({Of("ID3"), {3, 0, 0}, Syncsafe(100'000), Stream(Mp3Header(), 16'000)}), false, 0, 0,
         0, 0, 0, false, false},
    };
    for (const TStreamCase& c : cases) {
        SCOPED_TRACE(c.name);
        const MpegInfo mpeg = ReadMp3Bytes(c.file).mpeg;
        EXPECT_EQ(mpeg.FileSize, c.file.size());
        EXPECT_EQ(mpeg.Found, c.found);
        EXPECT_EQ(mpeg.FirstFrame, c.firstFrame);
        EXPECT_EQ(mpeg.RiffDataOffset, c.riffDataOffset);
        EXPECT_EQ(mpeg.BitRate, c.bitRate);
        EXPECT_EQ(mpeg.Duration, c.duration);
        EXPECT_EQ(mpeg.FrameCount, c.frameCount);
        EXPECT_EQ(mpeg.Xing, c.xing);
        EXPECT_EQ(mpeg.Vbri, c.vbri);
    }
}

// LAME writes the Xing layout as "Info" into constant-rate files, in a
// first frame whose bit rate may be higher than the stream's: the counts it
// holds give the length, not that frame's rate.
TEST(Mp3Stream, InfoHeaderOfConstantRate) {
    Bytes first = Cat({Mp3Header(4), Zeros(32), Of("Info"), BigEndian(3), BigEndian(5000),
                       BigEndian(5000 * 104)});
    first.resize(182, 0); // 56 kbit/s at 44100 Hz
    const MpegInfo mpeg = ReadMp3Bytes(Cat({first, Zeros(4999 * 104)})).mpeg;
    EXPECT_TRUE(mpeg.Info);
    EXPECT_FALSE(mpeg.Xing);
    EXPECT_EQ(mpeg.FrameCount, 5000u);
    EXPECT_EQ(mpeg.Duration, 130u);
    EXPECT_EQ(mpeg.BitRate, 31); // 104 bytes a frame: 104 x 44100 / 144 / 1000
}

TEST(Mp3Stream, HeaderFields) {
    // 0xFF 0xFB 0x92 0xC4: MPEG-1 layer 3 without CRC, 128 kbit/s, 44100 Hz,
    // padding, mono, original.
    const MpegInfo mpeg = ReadMp3Bytes(Stream({0xFF, 0xFB, 0x92, 0xC4}, 20'000)).mpeg;
    EXPECT_EQ(mpeg.VersionCode, 3);
    EXPECT_EQ(mpeg.Version, 1.0);
    EXPECT_EQ(mpeg.LayerCode, 1);
    EXPECT_EQ(mpeg.Layer, 3);
    EXPECT_EQ(mpeg.Protection, 1);
    EXPECT_EQ(mpeg.Padding, 1);
    EXPECT_EQ(mpeg.ChannelMode, 3);
    EXPECT_EQ(mpeg.Original, 1);
    EXPECT_EQ(mpeg.SampleRate, 44100);
    EXPECT_EQ(mpeg.SamplesDiv8, 144);
    EXPECT_EQ(mpeg.XingOffset, 21);
    EXPECT_EQ(mpeg.FrameLength, 418u);
}

TEST(Mp3Stream, NotWantedNotRead) {
    const Bytes file = Cat({TagOfSize(1024), Stream(Mp3Header(), 16'000)});
    TMemoryTagSource memory(file);
    TRecordingSource source(memory);
    TID3v1Info v1;
    TID3v2Info v2;
    ReadMp3Info(source, v1, v2, nullptr, kDetailTitles);
    EXPECT_EQ(v2.Titel, "Title");
    // The tag and the last 128 bytes; nothing of the stream.
    for (const auto& [offset, n] : source.requests) {
        SCOPED_TRACE(offset);
        EXPECT_TRUE(offset + n <= 1024 || (offset == file.size() - 128 && n == 128));
    }
}

struct TFrameCase {
    const char* name;
    Bytes tag;
    QString TID3v2Info::*field;
    QString expected;
};

TEST(Mp3Tags, FrameTexts) {
    const std::u16string_view terminated(u"Песня\0junk", 10);
    const std::vector<TFrameCase> cases = {
        {"single bytes are Windows-1251", Id3Tag(TextFrame("TIT2", "\xCF\xE5\xF1\xED\xFF")),
         &TID3v2Info::Titel, u"Песня"_s},
        {"UTF-16 after FF FE", Id3Tag(Utf16Frame("TIT2", u"Песня")), &TID3v2Info::Titel,
         u"Песня"_s},
        {"UTF-16 after FE FF",
         Id3Tag(Id3Frame("TIT2", Cat({{1, 0xFE, 0xFF}, Utf16(u"Песня", true)}))),
         &TID3v2Info::Titel, u"Песня"_s},
        {"UTF-16 ends at its terminator", Id3Tag(Utf16Frame("TIT2", terminated)),
         &TID3v2Info::Titel, u"Песня"_s},
        {"UTF-16 without a mark is nothing", Id3Tag(Id3Frame("TIT2", Cat({{1}, Utf16(u"ab")}))),
         &TID3v2Info::Titel, QString()},
        {"encoding 3 is UTF-8", Id3Tag(TextFrame("TIT2", "Песня", 3)), &TID3v2Info::Titel,
         u"Песня"_s},
        {"encoding 2 is UTF-16 big-endian without a mark",
         Id3Tag(Id3Frame("TIT2", Cat({{2}, Utf16(u"Песня", true)}))), &TID3v2Info::Titel,
         u"Песня"_s},
        {"encoding 2 with a mark anyway",
         Id3Tag(Id3Frame("TIT2", Cat({{2, 0xFE, 0xFF}, Utf16(u"Песня", true)}))),
         &TID3v2Info::Titel, u"Песня"_s},
        {"controls inside single bytes go, blanks at the ends too",
         Id3Tag(TextFrame("TPE1", std::string_view("  A\x01"
                                                   "B\x0D\x0A"
                                                   "C \0",
                                                   11))),
         &TID3v2Info::Artist, u"ABC"_s},
        {"a byte above 3 is no encoding but text", Id3Tag(Id3Frame("TIT2", Of("Title"))),
         &TID3v2Info::Titel, u"Title"_s},
        {"TCON (17) is Rock", Id3Tag(TextFrame("TCON", "(17)")), &TID3v2Info::Genre, u"Rock"_s},
        {"TCON (17) with text after it", Id3Tag(TextFrame("TCON", "(17)Hard")), &TID3v2Info::Genre,
         u"Rock"_s},
        {"TCON (0) is the first of the list", Id3Tag(TextFrame("TCON", "(0)")), &TID3v2Info::Genre,
         u"Blues"_s},
        {"TCON (147) is the last", Id3Tag(TextFrame("TCON", "(147)")), &TID3v2Info::Genre,
         u"Synthpop"_s},
        {"TCON (200) stays", Id3Tag(TextFrame("TCON", "(200)")), &TID3v2Info::Genre, u"(200)"_s},
        {"TCON (1000) is too long a number", Id3Tag(TextFrame("TCON", "(1000)")),
         &TID3v2Info::Genre, u"(1000)"_s},
        {"TCON (+1) is no number", Id3Tag(TextFrame("TCON", "(+1)")), &TID3v2Info::Genre,
         u"(+1)"_s},
        {"TCON as a name", Id3Tag(TextFrame("TCON", "Jazz")), &TID3v2Info::Genre, u"Jazz"_s},
        {"COMM: language and an empty description dropped",
         Id3Tag(Id3Frame("COMM", Cat({{0}, Of("eng"), {0}, Of("Nice song")}))),
         &TID3v2Info::Comment, u"Nice song"_s},
        {"COMM: a CD database note dropped",
         Id3Tag(Id3Frame("COMM", Cat({{0}, Of("eng"), Of("CDDB Disc ID"), {0}, Of("a1b2c3")}))),
         &TID3v2Info::Comment, u"a1b2c3"_s},
        {"COMM in UTF-16",
         Id3Tag(Id3Frame(
             "COMM",
             Cat({{1}, Of("rus"), {0xFF, 0xFE, 0, 0, 0xFF, 0xFE}, Utf16(u"Хорошо\rи долго")}))),
         &TID3v2Info::Comment, u"Хорошо\rи долго"_s},
        {"COMM's first line",
         Id3Tag(Id3Frame(
             "COMM",
             Cat({{1}, Of("rus"), {0xFF, 0xFE, 0, 0, 0xFF, 0xFE}, Utf16(u"Хорошо\rи долго")}))),
         &TID3v2Info::Comment1, u"Хорошо"_s},
        {"COMM in UTF-16 big-endian past its description",
         Id3Tag(Id3Frame("COMM",
                         Cat({{2}, Of("rus"), Utf16(u"d", true), {0, 0}, Utf16(u"Хорошо", true)}))),
         &TID3v2Info::Comment, u"Хорошо"_s},
        {"USLT's first line",
         Id3Tag(Id3Frame(
             "USLT",
             Cat({{1}, Of("rus"), {0xFF, 0xFE, 0, 0, 0xFF, 0xFE}, Utf16(u"Первая\r\nВторая")}))),
         &TID3v2Info::Verses1, u"Первая"_s},
        {"WXXX", Id3Tag(Id3Frame("WXXX", Cat({{0, 0}, Of("http://example.org/")}))),
         &TID3v2Info::URL, u"http://example.org/"_s},
        {"TRCK as written", Id3Tag(TextFrame("TRCK", "3/12")), &TID3v2Info::Track, u"3/12"_s},
        {"version 2.4's TDRC is the year", Id3Tag(TextFrame("TDRC", "2024-05-01", 3, 4), 0, 4),
         &TID3v2Info::Year, u"2024-05-01"_s},
        {"TSSE", Id3Tag(TextFrame("TSSE", "LAME 3.100")), &TID3v2Info::Means, u"LAME 3.100"_s},
        {"padding before a frame is passed over",
         Id3Tag(Cat({TextFrame("TALB", "A"), Zeros(7), Of("   "), TextFrame("TIT2", "Later")})),
         &TID3v2Info::Titel, u"Later"_s},
        {"a frame larger than the rest of the tag ends the walk",
         Cat({Id3Tag(Cat({Of("TIT2"), BigEndian(1000), Zeros(2), {0}, Of("Cut")}), 20),
              Zeros(1000)}),
         &TID3v2Info::Titel, QString()},
    };
    for (const TFrameCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TID3v2Info v2 = ReadMp3Bytes(c.tag).v2;
        EXPECT_TRUE(v2.Ok);
        EXPECT_EQ(v2.*c.field, c.expected);
    }
}

// In version 2.4 a frame's size is syncsafe like the tag's: 300 is written
// 00 00 02 2C, which read plainly would be 556 and swallow the next frame.
TEST(Mp3Tags, Version24FrameSizesAreSyncsafe) {
    const std::string title(299, 'a');
    const Bytes frames = Cat({TextFrame("TIT2", title, 3, 4), TextFrame("TPE1", "Artist", 3, 4)});
    ASSERT_EQ(Bytes(frames.begin() + 4, frames.begin() + 8), Bytes({0, 0, 2, 0x2C}));
    const TID3v2Info v2 = ReadMp3Bytes(Id3Tag(frames, 100, 4)).v2;
    EXPECT_EQ(v2.Titel, QString::fromStdString(title));
    EXPECT_EQ(v2.Artist, "Artist");
}

struct TDetailCase {
    const char* name;
    Bytes frames;
    TagDetail detail;
    QString titel, artist, album, composer;
};

TEST(Mp3Tags, DetailCountsDecodedFields) {
    const Bytes four = Cat({TextFrame("TIT2", "T"), TextFrame("TPE1", "A"), TextFrame("TALB", "B"),
                            TextFrame("TCOM", "C")});
    const std::vector<TDetailCase> cases = {
        {"2: title and artist", four, kDetailTitles, "T", "A", "", ""},
        {"3: and the album", four, kDetailAlbum, "T", "A", "B", ""},
        {"6: everything here", four, kDetailComments, "T", "A", "B", "C"},
        {"a frame below the detail is not counted",
         Cat({TextFrame("TALB", "B"), TextFrame("TIT2", "T"), TextFrame("TPE1", "A")}),
         kDetailTitles, "T", "A", "", ""},
        {"every decoded frame counts, a repeated one too",
         Cat({TextFrame("TIT2", "T"), TextFrame("TIT2", "U"), TextFrame("TPE1", "A")}),
         kDetailTitles, "U", "", "", ""},
        {"an empty text counts",
         Cat({TextFrame("TIT2", ""), TextFrame("TIT2", ""), TextFrame("TPE1", "A")}), kDetailTitles,
         "", "", "", ""},
    };
    for (const TDetailCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TID3v2Info v2 = ReadMp3Bytes(Id3Tag(c.frames), c.detail).v2;
        EXPECT_EQ(v2.Titel, c.titel);
        EXPECT_EQ(v2.Artist, c.artist);
        EXPECT_EQ(v2.Album, c.album);
        EXPECT_EQ(v2.Composer, c.composer);
    }
}

TEST(Mp3Tags, HugeTextFrameIsPassedOver) {
    // A frame's size may claim far more than a title; within a file that
    // really is that long it is skipped unread.
    const std::uint32_t huge = kMaxTextFrame + 1;
    Bytes tag = Id3Tag(
        Cat({Of("TIT2"), BigEndian(huge), Zeros(2), Zeros(huge), TextFrame("TPE1", "After")}));
    TMemoryTagSource memory(tag);
    TRecordingSource source(memory);
    TID3v1Info v1;
    TID3v2Info v2;
    ReadMp3Info(source, v1, v2, nullptr, kDetailTitles);
    EXPECT_EQ(v2.Titel, "");
    EXPECT_EQ(v2.Artist, "After");
    EXPECT_LT(source.largest, std::size_t(huge));
}

struct TV1Case {
    const char* name;
    Id3v1Fields fields;
    TagDetail detail;
    QString TID3v1Info::*field;
    QString expected;
};

TEST(Mp3Tags, Version1) {
    const Id3v1Fields full{"Title", "Artist", "Album", "1999", "Comment", 7, 17};
    Id3v1Fields noTrack = full;
    noTrack.track = 0;
    noTrack.comment = std::string(30, 'c');
    Id3v1Fields noGenre = full;
    noGenre.genre = 255;
    Id3v1Fields lastGenre = full;
    lastGenre.genre = 147;
    Id3v1Fields pastGenres = full;
    pastGenres.genre = 148;
    Id3v1Fields cyrillic = full;
    cyrillic.title = "  \xCF\xE5\xF1\xED\xFF  ";
    const std::vector<TV1Case> cases = {
        {"title", full, kDetailTitles, &TID3v1Info::Titel, "Title"},
        {"artist", full, kDetailTitles, &TID3v1Info::Artist, "Artist"},
        {"Windows-1251, blanks trimmed", cyrillic, kDetailTitles, &TID3v1Info::Titel, u"Песня"_s},
        {"no album at detail 2", full, kDetailTitles, &TID3v1Info::Album, ""},
        {"album at detail 3", full, kDetailAlbum, &TID3v1Info::Album, "Album"},
        {"year", full, kDetailAlbum, &TID3v1Info::Year, "1999"},
        {"byte 125 = 0, byte 126 = 7: track 7", full, kDetailAlbum, &TID3v1Info::Track, "7"},
        {"byte 125 not 0: no track", noTrack, kDetailEverything, &TID3v1Info::Track, ""},
        {"and the comment has 30 bytes", noTrack, kDetailEverything, &TID3v1Info::Comment,
         QString(30, u'c')},
        {"the comment ends before a track", full, kDetailEverything, &TID3v1Info::Comment,
         "Comment"},
        {"no genre at detail 5", full, kDetailQuery, &TID3v1Info::Genre, ""},
        {"genre 17 is Rock", full, kDetailComments, &TID3v1Info::Genre, "Rock"},
        {"genre 147", lastGenre, kDetailComments, &TID3v1Info::Genre, "Synthpop"},
        {"genre 148 is none", pastGenres, kDetailComments, &TID3v1Info::Genre, ""},
        {"genre 255 is none", noGenre, kDetailComments, &TID3v1Info::Genre, ""},
    };
    for (const TV1Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TMp3Result result = ReadMp3Bytes(Cat({Mp3Frames(2), Id3v1Tag(c.fields)}), c.detail);
        EXPECT_TRUE(result.v1.Ok);
        EXPECT_FALSE(result.v2.Ok);
        EXPECT_EQ(result.v1.*c.field, c.expected);
        EXPECT_EQ(result.mpeg.ID3v1Size, 128);
    }
}

TEST(Mp3Tags, NoTagsNothingFound) {
    const TMp3Result result = ReadMp3Bytes(Mp3Frames(3));
    EXPECT_FALSE(result.v1.Ok);
    EXPECT_FALSE(result.v2.Ok);
    EXPECT_TRUE(result.mpeg.Found);
    EXPECT_EQ(result.mpeg.ID3v2Size, 0u);
}

} // namespace

} // namespace dorvane::test
