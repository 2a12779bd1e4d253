// Reading playlist files: each format's line rule, the extra data of M3U and
// PLS, and where a listed path is looked for.
#include "music/playlist_formats.h"
#include "music_fixture.h"

#include <gtest/gtest.h>

namespace dorvane::test {
namespace {

// root/cwd         the process's current folder as the reader sees it
// root/drive       the list's drive (its mount point)
// root/drive/lists the list's folder
class TListFolders {
public:
    TListFolders() {
        folder_.Write("cwd/here.mp3");
        folder_.Write("drive/Music/deep.mp3", "12345");
        folder_.Write("drive/lists/a.mp3", "abc");
        folder_.Write("drive/lists/notes.txt");
        folder_.Write("drive/lists/sub/b.flac");
        folder_.Write("drive/lists/Сон.mp3");
        folder_.Fifo("drive/lists/pipe.mp3");
        for (const char* name : {"R&B 'x' \"y\" <z>.mp3", "Ё.mp3", "&bogus;.mp3", "&#0;.mp3",
                                 "&amp.mp3", "&#xD800;.mp3"})
            folder_.Write(QStringLiteral("drive/lists/") + QString::fromUtf8(name));
        context_.currentFolder = folder_.Path("cwd");
        context_.driveRoot = folder_.Path("drive");
        context_.listFolder = folder_.Path("drive/lists");
    }
    const TListContext& Context() const { return context_; }
    QString Root() const { return folder_.Path(); }

    // "title|path below root|length" per entry.
    QStringList Read(const QString& extension, QStringList lines) const {
        for (QString& line : lines) {
            line.replace(QStringLiteral("$ROOT"), Root());
            line.replace(QStringLiteral("$UP"), QStringLiteral("../").repeated(40) + Root().mid(1));
        }
        QStringList out;
        for (const FList& e : ParsePlaylistLines(lines, extension, context_))
            out << e.S1 + u'|' + e.S2.mid(Root().size() + 1) + u'|' + e.S3;
        return out;
    }

private:
    TMusicFolder folder_;
    TListContext context_;
};

struct TListCase {
    const char* name;
    const char* extension;
    QStringList lines;
    QStringList entries;
};

const QString kA = QStringLiteral("drive/lists/a.mp3");

std::vector<TListCase> ListCases() {
    return {
        {"m3u_extinf_gives_length_and_title",
         ".m3u",
         {"#EXTINF:215,Моя песня", "a.mp3"},
         {"Моя песня|" + kA + "|215"}},
        {"m3u_extinf_above_a_missing_file_adds_nothing", ".m3u", {"#EXTINF:215,T", "gone.mp3"}, {}},
        {"m3u_extinf_without_comma_is_all_title",
         ".m3u",
         {"#EXTINF:215", "a.mp3"},
         {"#EXTINF:215|" + kA + "|"}},
        {"m3u_extinf_with_empty_title_takes_the_name",
         ".m3u",
         {"#EXTINF:7,", "a.mp3"},
         {"a|" + kA + "|7"}},
        {"m3u_title_and_length_are_cut",
         ".m3u",
         {"#EXTINF:" + QString(3000, u'7') + "," + QString(2'000'000, u'т'), "a.mp3"},
         {QString(kMaxTitleLength, u'т') + "|" + kA + "|" + QString(kMaxTitleLength, u'7')}},
        {"pls_title_is_cut",
         ".pls",
         {"File1=a.mp3", "Title1=" + QString(5000, u'т')},
         {QString(kMaxTitleLength, u'т') + "|" + kA + "|"}},
        {"m3u_path_alone_takes_the_name", ".m3u", {"#EXTM3U", "a.mp3"}, {"a|" + kA + "|"}},
        {"m3u_extinf_is_case_sensitive", ".m3u8", {"#extinf:5,low", "a.mp3"}, {"a|" + kA + "|"}},
        {"m3u_takes_any_file", ".m3u", {"notes.txt"}, {"notes|drive/lists/notes.txt|"}},
        {"m3u_duplicates_stay", ".M3U", {"a.mp3", "a.mp3"}, {"a|" + kA + "|", "a|" + kA + "|"}},
        {"pls_title_and_length",
         ".pls",
         {"[playlist]", "NumberOfEntries=1", "File1=a.mp3", "Title1=Т", "Length1=61"},
         {"Т|" + kA + "|61"}},
        {"pls_length_before_title",
         ".pls",
         {"File1=a.mp3", "Length1=61", "Title1=Т"},
         {"Т|" + kA + "|61"}},
        {"pls_unnumbered_title_three_lines_down_is_not_seen",
         ".kpl",
         {"File=a.mp3", "NumberOfEntries=1", "Length=61", "Title=late"},
         {"a|" + kA + "|61"}},
        {"pls_numbered_title_three_lines_down_is_its_own",
         ".kpl",
         {"File1=a.mp3", "NumberOfEntries=1", "Length1=61", "Title1=late"},
         {"late|" + kA + "|61"}},
        {"pls_details_written_before_their_file",
         ".pls",
         {"File1=a.mp3", "Title2=Второй", "Length2=7", "File2=sub/b.flac"},
         {"a|" + kA + "|", "Второй|drive/lists/sub/b.flac|7"}},
        {"pls_next_numbers_title_is_not_taken",
         ".pls",
         {"File1=a.mp3", "Title2=Второй", "File2=sub/b.flac"},
         {"a|" + kA + "|", "Второй|drive/lists/sub/b.flac|"}},
        {"pls_the_first_title_of_a_number_counts",
         ".pls",
         {"Title01=first", "File1=a.mp3", "Title1=second", "Length1=3", "LENGTH1=4"},
         {"first|" + kA + "|3"}},
        {"pls_numbered_title_is_for_every_file_of_its_number",
         ".pls",
         {"File1=a.mp3", "File1=sub/b.flac", "Title1=T"},
         {"T|" + kA + "|", "T|drive/lists/sub/b.flac|"}},
        {"pls_file_without_number_takes_the_next_two_lines",
         ".pls",
         {"File=a.mp3", "Title2=near", "Length7=5", "Title=far"},
         {"near|" + kA + "|5"}},
        {"pls_unnumbered_title_below_a_numbered_file",
         ".pls",
         {"File3=a.mp3", "Title=plain"},
         {"plain|" + kA + "|"}},
        {"pls_file_in_any_case", ".pls", {"file2=sub/b.flac"}, {"b|drive/lists/sub/b.flac|"}},
        {"pls_file_without_equals_is_no_path", ".pls", {"File1"}, {}},
        {"wpl_media_src", ".wpl", {"<seq><media src=\"a.mp3\"/>"}, {"a|" + kA + "|"}},
        {"wpl_short_first_quoted_value_is_ignored",
         ".wpl",
         {"<media tid=\"{1}\" src=\"a.mp3\"/>"},
         {}},
        {"wpl_windows_separators",
         ".wpl",
         {"<media src=\"sub\\b.flac\"/>"},
         {"b|drive/lists/sub/b.flac|"}},
        {"wpl_needs_media_element", ".wpl", {"<ref src=\"a.mp3\"/>"}, {}},
        {"asx_ref_href_any_case", ".asx", {"<REF HREF=\"a.mp3\"/>"}, {"a|" + kA + "|"}},
        {"wpl_named_entities",
         ".wpl",
         {"<media src=\"R&amp;B &apos;x&apos; &quot;y&quot; &lt;z&gt;.mp3\"/>"},
         {"R&B 'x' \"y\" <z>|drive/lists/R&B 'x' \"y\" <z>.mp3|"}},
        {"asx_decimal_reference",
         ".asx",
         {"<ref href=\"&#1025;.mp3\"/>"},
         {"Ё|drive/lists/Ё.mp3|"}},
        {"asx_hex_reference", ".asx", {"<ref href=\"&#x401;.mp3\"/>"}, {"Ё|drive/lists/Ё.mp3|"}},
        {"wpl_unknown_entity_stays",
         ".wpl",
         {"<media src=\"&bogus;.mp3\"/>"},
         {"&bogus;|drive/lists/&bogus;.mp3|"}},
        {"wpl_reference_to_nul_stays",
         ".wpl",
         {"<media src=\"&#0;.mp3\"/>"},
         {"&#0;|drive/lists/&#0;.mp3|"}},
        {"wpl_entity_without_semicolon_stays",
         ".wpl",
         {"<media src=\"&amp.mp3\"/>"},
         {"&amp|drive/lists/&amp.mp3|"}},
        {"asx_reference_to_a_surrogate_stays",
         ".asx",
         {"<ref href=\"&#xD800;.mp3\"/>"},
         {"&#xD800;|drive/lists/&#xD800;.mp3|"}},
        {"m3u_keeps_entities_as_written", ".m3u", {"&#x401;.mp3"}, {}},
        {"plc_between_bars", ".plc", {"1|a.mp3|x", "|ab|"}, {"a|" + kA + "|"}},
        {"lst_takes_only_sound_files", ".lst", {"notes.txt", "a.mp3"}, {"a|" + kA + "|"}},
        {"lsf_takes_only_sound_files",
         ".lsf",
         {"sub/b.flac", "notes.txt"},
         {"b|drive/lists/sub/b.flac|"}},
        {"relative_path_tries_the_current_folder_first",
         ".m3u",
         {"here.mp3"},
         {"here|cwd/here.mp3|"}},
        {"path_from_the_drives_root",
         ".m3u",
         {"\\Music\\deep.mp3"},
         {"deep|drive/Music/deep.mp3|"}},
        {"drive_path_against_the_lists_drive",
         ".m3u",
         {"E:\\Music\\deep.mp3"},
         {"deep|drive/Music/deep.mp3|"}},
        {"drive_path_by_its_last_components",
         ".m3u",
         {"C:\\Users\\me\\lists\\sub\\b.flac"},
         {"b|drive/lists/sub/b.flac|"}},
        {"absolute_path", ".m3u", {"$ROOT/drive/lists/a.mp3"}, {"a|" + kA + "|"}},
        {"absolute_path_is_not_relative", ".m3u", {"/a.mp3"}, {}},
        {"climbing_above_the_root_stops_there",
         ".m3u",
         {"$UP/drive/lists/a.mp3"},
         {"a|" + kA + "|"}},
        {"absolute_path_climbing_above_the_root",
         ".m3u",
         {"/../..$ROOT/drive/lists/a.mp3"},
         {"a|" + kA + "|"}},
        {"drive_root_path_climbing_above_the_root",
         ".m3u",
         {"\\..\\..$ROOT/drive/lists/a.mp3"},
         {"a|" + kA + "|"}},
        {"cyrillic_name", ".m3u", {"Сон.mp3"}, {"Сон|drive/lists/Сон.mp3|"}},
        {"a_folder_is_no_entry", ".m3u", {"sub", "$ROOT/drive/lists"}, {}},
        {"a_fifo_is_no_entry", ".m3u", {"pipe.mp3"}, {}},
        {"a_name_with_nul_is_no_entry", ".m3u", {QStringLiteral("a.mp3") + QChar(0) + "x"}, {}},
    };
}

class TListRule : public testing::TestWithParam<TListCase> {};

TEST_P(TListRule, GivesTheEntries) {
    const TListFolders folders;
    const TListCase& c = GetParam();
    EXPECT_EQ(folders.Read(QString::fromUtf8(c.extension), c.lines), c.entries);
}

INSTANTIATE_TEST_SUITE_P(Lines, TListRule, testing::ValuesIn(ListCases()),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(PlaylistFormats, EntryCarriesSizeTimeAndExtension) {
    const TListFolders folders;
    const std::vector<FList> entries =
        ParsePlaylistLines({"\\Music\\deep.mp3"}, QStringLiteral(".m3u"), folders.Context());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].Size, 5);
    EXPECT_EQ(entries[0].Ext, QStringLiteral(".mp3"));
    const QDateTime written = QFileInfo(entries[0].S2).lastModified();
    // 100-ns units since 1601: the seconds since 1970 plus 11644473600.
    EXPECT_EQ(entries[0].Time / 10'000'000u,
              std::uint64_t(written.toSecsSinceEpoch() + 11644473600));
}

TEST(PlaylistFormats, DriveCandidatesInOrder) {
    TListContext context;
    context.currentFolder = QStringLiteral("/cwd");
    context.listFolder = QStringLiteral("/media/stick/lists");
    context.driveRoot = QStringLiteral("/media/stick");
    EXPECT_EQ(ListedPathCandidates(QStringLiteral("E:\\Music\\x.mp3"), context),
              QStringList({"/cwd/E:\\Music\\x.mp3", "/media/stick/lists/E:\\Music\\x.mp3",
                           "/media/stick/Music/x.mp3", "/media/stick/lists/Music/x.mp3",
                           "/media/stick/lists/x.mp3"}));
    EXPECT_EQ(
        ListedPathCandidates(QStringLiteral("\\Music\\x.mp3"), context),
        QStringList({"/cwd/\\Music\\x.mp3", "/media/stick/lists/\\Music\\x.mp3", "/Music/x.mp3",
                     "/media/stick/lists/Music/x.mp3", "/media/stick/Music/x.mp3"}));
    EXPECT_EQ(ListedPathCandidates(QStringLiteral("../x.mp3"), context),
              QStringList({"/x.mp3", "/media/stick/x.mp3"}));
    EXPECT_TRUE(ListedPathCandidates(QString(kMaxListedPathLength + 1, u'a'), context).isEmpty());
}

TEST(PlaylistFormats, DriveRootIsTheMountPoint) {
    const TMusicFolder folder;
    const QString root = DriveRootOf(folder.Folder("a/b"));
    EXPECT_TRUE(folder.Path("a/b").startsWith(root));
    // Nothing between the root and the folder is on another device.
    EXPECT_EQ(DriveRootOf(root), root);
    EXPECT_EQ(DriveRootOf(QStringLiteral("/")), QStringLiteral("/"));
}

struct TQuotedCase {
    const char* line;
    const char* tag;
    const char* attribute;
    char delimiter;
    const char* expected;
};

class TQuoted : public testing::TestWithParam<TQuotedCase> {};

TEST_P(TQuoted, TakesTheFirstQuotedText) {
    const TQuotedCase& c = GetParam();
    EXPECT_EQ(ExtractQuoted(QString::fromUtf8(c.line), QString::fromUtf8(c.tag),
                            QString::fromUtf8(c.attribute), QLatin1Char(c.delimiter),
                            QLatin1Char(c.delimiter)),
              QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TQuoted,
    testing::Values(TQuotedCase{"<media src=\"Song.MP3\"/>", "<media ", "src", '"', "Song.MP3"},
                    TQuotedCase{"<MEDIA SRC=\"Song.mp3\"/>", "<media ", "src", '"', "Song.mp3"},
                    TQuotedCase{"<media src=\"abc\"/>", "<media ", "src", '"', ""},
                    TQuotedCase{"<media src=\"abcd\"/>", "<media ", "src", '"', "abcd"},
                    TQuotedCase{"<media src=\"a&amp;b.mp3\"/>", "<media ", "src", '"',
                                "a&amp;b.mp3"},
                    TQuotedCase{"<media src=\"unclosed.mp3", "<media ", "src", '"', ""},
                    TQuotedCase{"<media x=1>", "<media ", "src", '"', ""},
                    TQuotedCase{"1|long.mp3|2|", "", "", '|', "long.mp3"}));

TEST(PlaylistFormats, DecodePlaylistRefusesBytesWithoutLines) {
    const TListFolders folders;
    EXPECT_FALSE(DecodePlaylist(QByteArray(), QStringLiteral(".m3u"), folders.Context()));
    EXPECT_FALSE(
        DecodePlaylist(QByteArray("\x00\x01", 2), QStringLiteral(".m3u"), folders.Context()));
    const auto entries = DecodePlaylist("\xEF\xBB\xBF#EXTINF:3,Т\r\na.mp3\r\n",
                                        QStringLiteral(".m3u"), folders.Context());
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 1u);
    EXPECT_EQ((*entries)[0].S1, QStringLiteral("Т"));
}

} // namespace
} // namespace dorvane::test
