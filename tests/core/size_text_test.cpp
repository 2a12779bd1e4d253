#include "core/size_text.h"

#include <gtest/gtest.h>

namespace dorvane {
namespace {

const QLocale kRussian(QLocale::Russian, QLocale::Russia);
// Qt's Russian locale groups thousands with a no-break space.
const QString kGroup = kRussian.groupSeparator();

QString Spaced(QString text) {
    return text.replace(QLatin1Char(' '), kGroup).replace(QStringLiteral("_"), QStringLiteral(" "));
}

struct TSizeCase {
    qint64 bytes;
    const char* grouped; // a blank stands for the group separator,
    const char* size;    // "_" for a plain blank
    const char* withBytes;
};

// Rounding to two decimals and the zeros that "#,##0.##" leaves out.
const TSizeCase kCases[] = {
    {0, "0", "0_Б", "0_Б"},
    {1000, "1 000", "1 000_Б", "1 000_Б"},
    {1023, "1 023", "1 023_Б", "1 023_Б"},
    {1024, "1 024", "1_КБ", "1_КБ_(1 024)"},
    {1536, "1 536", "1,5_КБ", "1,5_КБ_(1 536)"},
    {1048575, "1 048 575", "1 024_КБ", "1 024_КБ_(1 048 575)"},
    {1048576, "1 048 576", "1_МБ", "1_МБ_(1 048 576)"},
    {5 * 1048576 + 262144, "5 505 024", "5,25_МБ", "5,25_МБ_(5 505 024)"},
    {1073741824, "1 073 741 824", "1_ГБ", "1_ГБ_(1 073 741 824)"},
    {1234567890123, "1 234 567 890 123", "1 149,78_ГБ", "1 149,78_ГБ_(1 234 567 890 123)"},
};

TEST(SizeText, RussianSeparatorsTable) {
    for (const TSizeCase& c : kCases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(FormatGrouped(c.bytes, kRussian), Spaced(QString::fromUtf8(c.grouped)));
        EXPECT_EQ(FormatSize(c.bytes, kRussian), Spaced(QString::fromUtf8(c.size)));
        EXPECT_EQ(FormatSizeWithBytes(c.bytes, kRussian), Spaced(QString::fromUtf8(c.withBytes)));
        EXPECT_EQ(FormatOccupied(c.bytes, kRussian),
                  QStringLiteral("Занято: ") + Spaced(QString::fromUtf8(c.withBytes)));
    }
}

TEST(SizeText, BytesAndWholeMegabytes) {
    EXPECT_EQ(FormatBytes(12345, kRussian), Spaced(QStringLiteral("12 345_Б")));
    EXPECT_EQ(FormatMegabytes(1048575, kRussian), Spaced(QStringLiteral("0_МБ")));
    EXPECT_EQ(FormatMegabytes(qint64(24105) * 1048576 + 1, kRussian),
              Spaced(QStringLiteral("24 105_МБ")));
}

TEST(SizeText, TheUsersSeparatorsAreTaken) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(FormatSize(1536, english), QStringLiteral("1.5 КБ"));
    EXPECT_EQ(FormatGrouped(1234567, english), QStringLiteral("1,234,567"));
    // A locale told to leave groups out still groups: the texts always do.
    QLocale bare = english;
    bare.setNumberOptions(QLocale::OmitGroupSeparator);
    EXPECT_EQ(FormatSizeWithBytes(2048, bare), QStringLiteral("2 КБ (2,048)"));
}

} // namespace
} // namespace dorvane
