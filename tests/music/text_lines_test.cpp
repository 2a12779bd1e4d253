// The playlist text reader: which encoding the bytes are read in, and the
// lines they give.
#include "music/text_lines.h"
#include "music_fixture.h"

#include <QStringDecoder>

#include <gtest/gtest.h>

namespace dorvane::test {
namespace {

QByteArray Utf16(const QString& text, bool littleEndian) {
    QByteArray out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const char high = char(u >> 8), low = char(u & 0xFF);
        out += littleEndian ? low : high;
        out += littleEndian ? high : low;
    }
    return out;
}

struct TEncodingCase {
    const char* name;
    QByteArray bytes;
    QStringList lines; // empty: no lines
};

const QString kSong = QStringLiteral("Песня.mp3");

std::vector<TEncodingCase> EncodingCases() {
    const QByteArray cut = QByteArray("ж") + QByteArray(8188, 'a') + "Ж" + QByteArray(10, 'b');
    return {
        {"xml_declaration_is_utf8", "<?xml?>\nЖ", {"<?xml?>", "Ж"}},
        {"utf16le_mark", "\xFF\xFE" + Utf16(kSong + "\r\nb", true), {kSong, "b"}},
        {"utf16be_mark", "\xFE\xFF" + Utf16(kSong + "\nb", false), {kSong, "b"}},
        {"utf8_mark", "\xEF\xBB\xBF" + kSong.toUtf8(), {kSong}},
        {"half_a_utf8_mark_is_ansi", "\xEF\xBBzzzzzzzz", {QStringLiteral("п»zzzzzzzz")}},
        {"utf8_without_mark", kSong.toUtf8() + "\n", {kSong}},
        {"ansi_without_mark", "\xCF\xE5\xF1\xED\xFF.mp3\r\n", {kSong}},
        {"five_byte_text_is_ansi_even_when_utf8", "Жж\n", {QStringLiteral("Р–Р¶")}},
        {"utf8_broken_in_the_middle_is_ansi",
         "abc\xD0zzzzzzzzzzzz",
         {QStringLiteral("abcРzzzzzzzzzzzz")}},
        {"utf8_cut_at_the_sample_end", cut, {QString::fromUtf8(cut)}},
        {"utf16le_cyrillic_without_mark", Utf16(kSong + "\r\n", true), {kSong}},
        {"utf16be_cyrillic_without_mark", Utf16(kSong + "\r\n", false), {kSong}},
        {"binary_even_size", QByteArray("\x00\x01\x02\x03", 4), {}},
        {"binary_odd_size", QByteArray("\x00\x01\x02", 3), {}},
        {"utf16_with_other_script_is_refused", Utf16(QStringLiteral("ab中文"), true), {}},
        {"mark_only", "\xEF\xBB\xBF", {}},
        {"line_ends", "a\r\nb\nc\rd\r\n", {"a", "b", "c", "d"}},
        {"empty_lines", "\n\n", {"", ""}},
    };
}

class TEncoding : public testing::TestWithParam<TEncodingCase> {};

TEST_P(TEncoding, GivesTheLines) {
    const TEncodingCase& c = GetParam();
    const TTextLines got = DecodeTextLines(c.bytes);
    EXPECT_EQ(got.lines, c.lines);
    EXPECT_EQ(got.ok, !c.lines.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Bytes, TEncoding, testing::ValuesIn(EncodingCases()),
                         [](const auto& p) { return std::string(p.param.name); });

// A file is read in pieces of 1 MiB: a CR LF split between two pieces is
// still one line end, in single bytes and in UTF-16 alike.
TEST(TextLines, LineEndAcrossPieces) {
    constexpr qsizetype kPiece = qsizetype(1) << 20;
    const TMusicFolder folder;
    QByteArray bytes = QByteArray("abc\n").repeated(kPiece / 4 - 1) + "abc";
    ASSERT_EQ(bytes.size(), kPiece - 1);
    bytes += "\r\nz";
    const QString wideText =
        QStringLiteral("abc\n").repeated(kPiece / 8 - 1) + QStringLiteral("abc\r\nz");
    const QByteArray wide = "\xFF\xFE" + Utf16(wideText, true); // the CR ends the first piece
    for (const auto& [list, count] : {std::pair{bytes, kPiece / 4 + 1}, {wide, kPiece / 8 + 1}}) {
        const TTextLines read = ReadTextLines(folder.Write("pieces.m3u", list));
        ASSERT_TRUE(read.ok);
        EXPECT_EQ(read.lines.size(), count);
        EXPECT_EQ(read.lines.last(), "z");
        EXPECT_EQ(read.lines[read.lines.size() - 2], "abc");
        EXPECT_EQ(DecodeTextLines(list).lines, read.lines);
    }
}

// An endless line costs no more than kMaxLineLength characters, and the
// lines after it are read as ever.
TEST(TextLines, LongLinesAreCut) {
    const QByteArray bytes = QByteArray(3 * kMaxLineLength, 'a') + "\r\nb";
    const TTextLines lines = DecodeTextLines(bytes);
    ASSERT_EQ(lines.lines.size(), 2);
    EXPECT_EQ(lines.lines[0], QString(kMaxLineLength, u'a'));
    EXPECT_EQ(lines.lines[1], "b");
    const QByteArray wide =
        "\xFF\xFE" + Utf16(QString(kMaxLineLength + 7, u'ж') + QStringLiteral("\nb"), true);
    EXPECT_EQ(DecodeTextLines(wide).lines, QStringList({QString(kMaxLineLength, u'ж'), "b"}));
}

TEST(TextLines, ReadsOnlyRegularFilesWithBytes) {
    const TMusicFolder folder;
    EXPECT_EQ(ReadTextLines(folder.Write("a.m3u", "x\r\ny")).lines, QStringList({"x", "y"}));
    EXPECT_FALSE(ReadTextLines(folder.Write("empty.m3u", "")).ok);
    EXPECT_FALSE(ReadTextLines(folder.Fifo("pipe.m3u")).ok) << "and does not wait for a writer";
    EXPECT_FALSE(ReadTextLines(folder.Path()).ok);
    EXPECT_FALSE(ReadTextLines(folder.Path("missing.m3u")).ok);
}

TEST(TextLines, AnsiIsWindows1251AsTheSystemConvertsIt) {
    QStringDecoder icu("windows-1251");
    if (!icu.isValid()) GTEST_SKIP() << "this Qt has no converter for windows-1251";
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98) continue; // no character; ICU and Windows disagree on the stand-in
        const QByteArray byte(1, char(b));
        EXPECT_EQ(DecodeWindows1251(byte), QString(icu.decode(byte))) << "byte " << b;
    }
}

} // namespace
} // namespace dorvane::test
