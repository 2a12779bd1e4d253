// The .wma reader on built ASF headers: the content description, the
// extended content descriptors by type and detail, the length.
#include "tag_test_support.h"

#include "music/wma_info.h"

namespace dorvane::test {

using namespace Qt::StringLiterals;

namespace {

struct TWmaResult {
    TID3v2Info tags;
    AsfInfo asf;
};

TWmaResult ReadWmaBytes(const Bytes& bytes, TagDetail detail = kDetailEverything) {
    TMemoryTagSource source(bytes);
    TWmaResult result;
    ReadWmaInfo(source, result.tags, detail, &result.asf);
    return result;
}

Bytes Le32(std::uint32_t v) {
    return LittleEndian(v, 4);
}

// A header with every attribute the reader knows, followed by 40,000 bytes
// of packets.
Bytes TaggedFile() {
    const Bytes header = AsfHeader({
        AsfFileProperties(40'000),
        AsfAudioStream(1, 22050, 4000),
        AsfContent(u"  Title ", u"Author", u"(c) Me", u"Line one\r\nLine two"),
        AsfExtendedContent({
            AsfDescriptor(u"WM/TrackNumber", 3, Le32(7)),
            AsfDescriptor(u"WM/AlbumTitle", 0, AsfString(u" Album ")),
            AsfDescriptor(u"WM/Year", 0, AsfString(u"2024")),
            AsfDescriptor(u"WM/AlbumTitle ", 0, AsfString(u"blank after the name")),
            AsfDescriptor(u" WM/Genre", 0, AsfString(u"blank before the name")),
            AsfDescriptor(u"WM/Genre", 0, AsfString(u"Rock")),
            AsfDescriptor(u"WM/UserWebURL", 1, {1, 2, 3}),
            AsfDescriptor(u"WM/Composer", 5, LittleEndian(9, 2)),
            AsfDescriptor(u"WM/OriginalArtist", 1, {1, 2, 3}),
            AsfDescriptor(u"wm/lyrics", 0, AsfString(u"not matched")),
            AsfDescriptor(u"WM/Lyrics", 0, AsfString(u"Первая\rВторая")),
        }),
    });
    return Cat({header, Zeros(40'000)});
}

struct TWmaCase {
    const char* name;
    TagDetail detail;
    QString TID3v2Info::*field;
    QString expected;
};

TEST(WmaTags, AttributesByDetail) {
    const std::vector<TWmaCase> cases = {
        {"title, trimmed", kDetailTitles, &TID3v2Info::Titel, "Title"},
        {"author", kDetailTitles, &TID3v2Info::Artist, "Author"},
        {"no copyright at detail 5", kDetailQuery, &TID3v2Info::Copyright, ""},
        {"no descriptors at detail 2", kDetailTitles, &TID3v2Info::Track, ""},
        {"WM/TrackNumber as a 32-bit number", kDetailAlbum, &TID3v2Info::Track, "7"},
        {"detail 3 stops after the track", kDetailAlbum, &TID3v2Info::Album, ""},
        {"WM/AlbumTitle as text, trimmed", kDetailQuery, &TID3v2Info::Album, "Album"},
        {"WM/Year", kDetailQuery, &TID3v2Info::Year, "2024"},
        {"no genre at detail 5", kDetailQuery, &TID3v2Info::Genre, ""},
        {"copyright at detail 6", kDetailEverything, &TID3v2Info::Copyright, "(c) Me"},
        {"description", kDetailEverything, &TID3v2Info::Comment, "Line one\r\nLine two"},
        {"its first line", kDetailEverything, &TID3v2Info::Comment1, "Line one"},
        {"WM/Genre", kDetailEverything, &TID3v2Info::Genre, "Rock"},
        {"bytes for WM/UserWebURL", kDetailEverything, &TID3v2Info::URL, "Binary data"},
        {"bytes for anything else are nothing", kDetailEverything, &TID3v2Info::OrigArtist, ""},
        {"a 16-bit number is nothing", kDetailEverything, &TID3v2Info::Composer, ""},
        {"names match exactly; lyrics", kDetailEverything, &TID3v2Info::Verses,
         u"Первая\rВторая"_s},
        {"and their first line", kDetailEverything, &TID3v2Info::Verses1, u"Первая"_s},
        {"no lyrics below detail 13", 12, &TID3v2Info::Verses, ""},
        {"a name with a blank after it is another name", kDetailEverything, &TID3v2Info::Album,
         "Album"},
        {"and one with a blank before it", kDetailEverything, &TID3v2Info::Genre, "Rock"},
    };
    const Bytes file = TaggedFile();
    for (const TWmaCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TID3v2Info tags = ReadWmaBytes(file, c.detail).tags;
        EXPECT_TRUE(tags.Ok);
        EXPECT_EQ(tags.*c.field, c.expected);
    }
}

TEST(WmaStream, LengthFromSizeAndBitRates) {
    const Bytes file = TaggedFile();
    const AsfInfo asf = ReadWmaBytes(file, kDetailTitles).asf;
    EXPECT_EQ(asf.FileSize, file.size());
    EXPECT_EQ(asf.Channels, 1);
    EXPECT_EQ(asf.SampleRate, 22050u);
    EXPECT_EQ(asf.AvgBytesPerSec, 4000u);
    EXPECT_EQ(asf.MaxBitRate, 40'000u);
    EXPECT_EQ(asf.HeaderEnd, file.size() - 40'000);
    EXPECT_EQ(asf.FileProperties.Position, 30u);
    // 40,000 bytes are 8 s at the file's 40,000 bit/s and 10 s at the
    // stream's 4000 bytes/s: the mean is 9.
    EXPECT_EQ(asf.Duration, 9u);
}

// Lossless WMA moves more than 65,535 bytes a second; the whole field counts.
TEST(WmaStream, HighByteRate) {
    const Bytes file =
        Cat({AsfHeader({AsfFileProperties(1'411'200), AsfAudioStream(2, 44100, 176'400)}),
             Zeros(1'764'000)});
    const AsfInfo asf = ReadWmaBytes(file, kDetailTitles).asf;
    EXPECT_EQ(asf.AvgBytesPerSec, 176'400u);
    EXPECT_EQ(asf.Duration, 10u);
}

TEST(WmaStream, NoLengthWithoutBothRates) {
    const Bytes file = Cat({AsfHeader({AsfAudioStream(2, 44100, 16'000)}), Zeros(160'000)});
    EXPECT_EQ(ReadWmaBytes(file).asf.Duration, 0u);
}

// A size that would carry the walk past 2^64 back to the file's start ends
// it: the header ends after the last object that fitted.
TEST(WmaStream, ObjectSizeThatWrapsAround) {
    const Bytes sound = Cat({AsfFileProperties(40'000), AsfAudioStream(1, 22050, 4000)});
    const std::uint64_t hostileAt = 30 + sound.size();
    Bytes header = AsfHeader({sound, AsfObject(kAsfData, Zeros(8))});
    header[24] = 3; // the object count: the two above and the hostile one
    std::fill(header.begin() + 16, header.begin() + 24, 0xFF);                 // the header's size
    const Bytes wrapped = LittleEndian(~std::uint64_t(0) - hostileAt + 31, 8); // to 30
    std::copy(wrapped.begin(), wrapped.end(), header.begin() + std::ptrdiff_t(hostileAt) + 16);
    const AsfInfo asf = ReadWmaBytes(Cat({header, Zeros(40'000)})).asf;
    EXPECT_EQ(asf.HeaderEnd, hostileAt);
    EXPECT_EQ(asf.Duration, 9u);
}

struct TBrokenCase {
    const char* name;
    Bytes file;
    bool ok;
    QString titel;
};

TEST(WmaTags, BrokenHeaders) {
    const Bytes content = AsfContent(u"Title", u"Author");
    Bytes tooLarge = AsfHeader({content});
    tooLarge[30 + 16] = 0xFF; // the object's size: 255 + ...
    tooLarge[30 + 23] = 0x7F; // ... far past the header
    Bytes zeroSize = AsfHeader({content});
    std::fill(zeroSize.begin() + 30 + 16, zeroSize.begin() + 30 + 24, 0);
    Bytes longTitle = AsfHeader({content});
    longTitle[30 + 24] = 0xFF; // the title's length: more than the object holds
    longTitle[30 + 25] = 0xFF;
    Bytes moreObjects = Cat({AsfHeader({content}), Zeros(10)});
    moreObjects[24] = 9;
    const Bytes intact = AsfHeader({content});
    // The header claims 2^62 bytes and its object 2^40: the object's strings
    // are still inside the file, the walk ends there.
    Bytes huge = Cat({AsfHeader({content}), Zeros(100)});
    std::fill(huge.begin() + 16, huge.begin() + 24, 0);
    huge[23] = 0x40;
    std::fill(huge.begin() + 30 + 16, huge.begin() + 30 + 24, 0);
    huge[30 + 21] = 0x01;
    huge[24] = 2;
    Bytes badGuid = intact;
    badGuid[0] ^= 1;
    const std::vector<TBrokenCase> cases = {
        {"intact", intact, true, "Title"},
        {"sizes claiming terabytes", huge, true, "Title"},
        {"an object larger than the header", tooLarge, true, ""},
        {"an object of size 0", zeroSize, true, ""},
        {"a string past its object", longTitle, true, ""},
        {"not an ASF header", badGuid, false, ""},
        {"only the header's start", Bytes(intact.begin(), intact.begin() + 29), false, ""},
        {"an object count larger than the objects", moreObjects, true, "Title"},
    };
    for (const TBrokenCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TID3v2Info tags = ReadWmaBytes(c.file).tags;
        EXPECT_EQ(tags.Ok, c.ok);
        EXPECT_EQ(tags.Titel, c.titel);
    }
}

} // namespace

} // namespace dorvane::test
