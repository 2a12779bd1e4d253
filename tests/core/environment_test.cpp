#include "core/environment.h"
#include "core/program_info.h"

#include <gtest/gtest.h>

namespace dorvane {
namespace {

TEST(Environment, PrettyNameOfOsRelease) {
    struct TCase {
        const char* text;
        const char* name;
    };
    const TCase cases[] = {
        {"NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nID=debian\n",
         "Debian GNU/Linux 12 (bookworm)"},
        {"PRETTY_NAME='Single quoted'", "Single quoted"},
        {"PRETTY_NAME=Plain", "Plain"},
        {"PRETTY_NAME=\"Escaped \\\"quote\\\" and \\\\\"", "Escaped \"quote\" and \\"},
        {"PRETTY_NAME=\"Unterminated", "Unterminated"},
        {"PRETTY_NAME=\"trailing backslash\\", "trailing backslash\\"},
        {"  PRETTY_NAME=\"Indented\"  \r\n", "Indented"},
        {"PRETTY_NAME=\"First\"\nPRETTY_NAME=\"Last\"", "Last"},
        {"NAME=Nothing pretty", ""},
        {"", ""},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(OsReleasePrettyName(c.text), QString::fromUtf8(c.name)) << c.text;
}

TEST(Environment, TheSystemLine) {
    EXPECT_EQ(OsDescriptionLine(QStringLiteral("Debian GNU/Linux 12 (bookworm)"),
                                QStringLiteral("6.1.0-18-amd64")),
              QStringLiteral("Debian GNU/Linux 12 (bookworm) версия 6.1 (сборка 6.1.0-18-amd64)"));
    EXPECT_EQ(OsDescriptionLine(QString(), QStringLiteral("6.18")),
              QStringLiteral("версия 6.18 (сборка 6.18)"));
    EXPECT_EQ(OsDescriptionLine(QStringLiteral("Odd"), QStringLiteral("custom")),
              QStringLiteral("Odd версия custom (сборка custom)"));
    EXPECT_EQ(OsDescriptionLine(QStringLiteral("Only a name"), QString()),
              QStringLiteral("Only a name"));
}

TEST(Environment, FullNameOfTheAccount) {
    EXPECT_EQ(GecosFullName("Анна Петрова,Room 12,,"), QStringLiteral("Анна Петрова"));
    EXPECT_EQ(GecosFullName(""), QString());
    EXPECT_EQ(GecosFullName(",,,"), QString());
    const TEnvironment probed = ProbeOsAndOwner();
    EXPECT_FALSE(probed.OwnerName.isEmpty()); // at least the login name
    EXPECT_TRUE(probed.OsDescription.contains(QStringLiteral("(сборка ")));
}

TEST(ProgramInfo, StoredTextsComeBackWhole) {
    const std::array<QString, 4>& texts = AboutTexts();
    const std::array<int, 4> lengths{37, 26, 29, 23};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i].size(), lengths[i]) << i;
        // Russian, as the rest of the program: printable ASCII and Cyrillic
        // letters only, and each text has some Cyrillic.
        qsizetype cyrillic = 0;
        for (const QChar c : texts[i]) {
            const bool letter = c.script() == QChar::Script_Cyrillic;
            cyrillic += letter ? 1 : 0;
            EXPECT_TRUE(letter || (c.unicode() >= 32 && c.unicode() < 127)) << i;
        }
        EXPECT_GT(cyrillic, 0) << i;
    }
    EXPECT_EQ(texts[1], QStringLiteral("Поддержка: перевод, отчёты")); // ё in one byte
    // Lowering by 32 wraps below zero, and restoring wraps back.
    const std::string all = {'\0', '\x1f', ' ', 'A', '\xdf', '\xe0', '\xff'};
    std::string lowered;
    for (const char c : all)
        lowered += char((static_cast<unsigned char>(c) + 224) % 256);
    EXPECT_EQ(RestoreStoredText(lowered), all);
    EXPECT_EQ(ProgramVersion().count(QLatin1Char('.')), 3);
}

} // namespace
} // namespace dorvane
