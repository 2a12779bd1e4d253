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
    const QByteArray text = FormatSettingsText(document);
    QString error;
    const std::optional<TSettingsDocument> parsed = ParseSettingsText(text, &error);
    ASSERT_TRUE(parsed.has_value()) << error.toStdString() << "\n" << text.toStdString();
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
    const std::optional<TSettingsDocument> parsed = ParseSettingsText(text, nullptr);
    ASSERT_TRUE(parsed.has_value());
    ASSERT_EQ(parsed->main.entries.size(), 2);
    EXPECT_EQ(parsed->main.entries[0], (TSettingsEntry{"intellect", "1"}));
    ASSERT_EQ(parsed->lists.size(), 1);
    EXPECT_EQ(parsed->lists[0].entries.size(), 2);
    EXPECT_EQ(*parsed->FindList("MUSIC")->Find("1"), "b");
    EXPECT_TRUE(ParseSettingsText("", nullptr).has_value());
}

TEST(SettingsText, RefusesDamagedText) {
    const QByteArray damaged[] = {
        "no separator\n",   "a=1\n[]\n",     "[unterminated\n",
        "[a]b\n",           "[a\\]\n",       "a=trailing backslash\\\n",
        "a=\\x\n",          "bad\\qname=1\n",
        "a=\xC3\n",         // cut UTF-8 sequence
        "a=\xED\xA0\x80\n", // a UTF-16 surrogate, not a character
    };
    for (const QByteArray& bytes : damaged) {
        QString error;
        EXPECT_FALSE(ParseSettingsText(bytes, &error).has_value()) << bytes.toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}

} // namespace
} // namespace dorvane
