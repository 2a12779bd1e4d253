#include "shell/settings_text.h"

#include <gtest/gtest.h>

namespace dorvane {
namespace {

TEST(SettingsText, FormatParsesBackToTheSameDocument) {
    TSettingsDocument document;
    document.main.Set("", "unnamed");
    document.main.Set("Start Menu Folder", "Kvo\\Dorvane");
    document.main.Set("Player1", "Зеленые");
    document.main.Set(" padded ", " 7 ");
    document.main.Set("=[#;]\\", "line1\nline2\r\tend\\");
    document.main.Set("Empty", "");
    document.List("Music").Set("0", "/home/me/Музыка/a b.mp3");
    document.List("Music").Set("1", "[not a header]");
    document.List("#[odd]=").Set("", "#");
    // A file name that is not UTF-8 keeps its bytes (U+DC00 + byte).
    document.List("Files").Set("0", QStringLiteral("/g/") + QChar(0xDCFF) + QChar(0xDC80) + "x");
    // A character beyond the BMP whose low half lies among those codes.
    document.List("Files").Set("1", QString::fromUtf8("\xf3\xa3\xa3\x9d"));
    const QByteArray text = FormatSettingsText(document);
    EXPECT_TRUE(text.contains("0=/g/\\xFF\\x80x")) << text.toStdString();
    TSettingsProblems problems;
    const std::optional<TSettingsDocument> parsed = ParseSettingsText(text, &problems);
    ASSERT_TRUE(parsed.has_value()) << text.toStdString();
    EXPECT_EQ(problems.skippedLines, 0) << problems.first.toStdString();
    EXPECT_EQ(*parsed, document);
    EXPECT_EQ(FormatSettingsText(*parsed), text);
}

TEST(SettingsText, ReadsHandWrittenFiles) {
    const QByteArray text = "\xEF\xBB\xBF# written by hand\r\n"
                            "; another comment\n"
                            "\n"
                            "intellect=3\n"
                            "Intellect=1\n" // a name given twice: first place, last value
                            "Help=1\n"
                            "[Music]\n"
                            "0=a\n"
                            "[music]\n" // the same list again continues it
                            "1=b";
    const std::optional<TSettingsDocument> parsed = ParseSettingsText(text);
    ASSERT_TRUE(parsed.has_value());
    ASSERT_EQ(parsed->main.Entries().size(), 2);
    EXPECT_EQ(parsed->main.Entries()[0], (TSettingsEntry{"intellect", "1"}));
    ASSERT_EQ(parsed->Lists().size(), 1);
    EXPECT_EQ(parsed->Lists()[0].Entries().size(), 2);
    EXPECT_EQ(*parsed->FindList("MUSIC")->Find("1"), "b");
    EXPECT_TRUE(ParseSettingsText("").has_value());
}

// A line that is none of the forms costs that line only.
TEST(SettingsText, SkipsDamagedLinesAndKeepsTheRest) {
    const QByteArray damaged[] = {
        "no separator",           "[]",    "[unterminated", "[a]b",         "[a\\]",
        "a=trailing backslash\\", "a=\\x", "a=\\xG1",       "bad\\qname=1",
    };
    for (const QByteArray& line : damaged) {
        const QByteArray text = "Before=1\n" + line + "\nAfter=2\n";
        TSettingsProblems problems;
        const std::optional<TSettingsDocument> parsed = ParseSettingsText(text, &problems);
        ASSERT_TRUE(parsed.has_value()) << line.toStdString();
        EXPECT_EQ(problems.skippedLines, 1) << line.toStdString();
        EXPECT_TRUE(problems.first.startsWith("line 2: ")) << problems.first.toStdString();
        ASSERT_TRUE(parsed->main.Find("before"));
        ASSERT_TRUE(parsed->main.Find("AFTER")) << line.toStdString();
        EXPECT_EQ(*parsed->main.Find("After"), "2");
    }
}

TEST(SettingsText, RefusesTextThatIsNotUtf8) {
    for (const QByteArray& bytes : {QByteArray("a=\xC3\n"),            // a cut sequence
                                    QByteArray("a=\xED\xA0\x80\n")}) { // a UTF-16 surrogate
        TSettingsProblems problems;
        EXPECT_FALSE(ParseSettingsText(bytes, &problems).has_value());
        EXPECT_FALSE(problems.first.isEmpty());
    }
}

// Names are indexed while the file is read: a large file costs time in
// proportion to its size (see bench/settings_store_bench.cpp for figures).
TEST(SettingsText, ParsesAHundredThousandKeys) {
    QByteArray text;
    for (int i = 0; i < 100000; ++i)
        text += "Key" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\n";
    text += "key99999=last\n"; // the same name in another case: the first place, the last value
    const std::optional<TSettingsDocument> parsed = ParseSettingsText(text);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->main.Entries().size(), 100000);
    EXPECT_EQ(*parsed->main.Find("KEY12345"), "12345");
    EXPECT_EQ(*parsed->main.Find("Key99999"), "last");
    EXPECT_EQ(parsed->main.Entries().back().name, "Key99999");
}

} // namespace
} // namespace dorvane
