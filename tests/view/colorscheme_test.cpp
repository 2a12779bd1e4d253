#include "view/colorscheme.h"

#include <gtest/gtest.h>

namespace dorvane {
namespace {

const QColor kWindow(236, 233, 216);

TEST(ColorScheme, BuiltinSchemesTakeTheirColoursAndTheBuiltinNames) {
    struct TCase {
        int n;
        QColor text1, text2, back;
    };
    const TCase cases[] = {
        {1, QColor(0, 128, 0), QColor(0, 0, 255), kWindow},
        {2, QColor(0, 255, 0), QColor(0, 255, 255), QColor(0, 0, 0)},
    };
    TCustomScheme custom = DefaultGameSettings().Custom;
    custom.Figures = {3, 2, 1, 0};
    const TPlayerNames names{QStringLiteral("Аня"), QStringLiteral("Боря")};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.n);
        const TColorScheme s = ApplyScheme(c.n, custom, names, kWindow, 4);
        EXPECT_EQ(s.Number, c.n);
        EXPECT_EQ(s.TextColor1, c.text1);
        EXPECT_EQ(s.TextColor2, c.text2);
        EXPECT_EQ(s.BackColor1, c.back);
        EXPECT_EQ(s.BackColor2, c.back);
        EXPECT_EQ(s.StartColor1, QColor(0, 128, 0));
        EXPECT_EQ(s.StartColor2, QColor(0, 0, 255));
        EXPECT_EQ(s.NoMoveColor, QColor(255, 0, 255));
        EXPECT_EQ(s.ResetColor, QColor(255, 0, 0));
        EXPECT_EQ(s.SideName1, names.Player1);
        EXPECT_EQ(s.SideName2, names.Player2);
        // The custom figures never leak into the built-in schemes.
        EXPECT_EQ((std::array{s.Figure1, s.Figure2, s.FigureAny, s.FigureBest}),
                  (std::array{0, 1, 2, 3}));
    }
}

TEST(ColorScheme, CustomSchemeDefaultsAreBlueAgainstRed) {
    const TColorScheme s = ApplyScheme(3, DefaultGameSettings().Custom, TPlayerNames{}, kWindow, 4);
    EXPECT_EQ(s.Number, 3);
    EXPECT_EQ(s.TextColor1, QColor(255, 255, 255));
    EXPECT_EQ(s.TextColor2, QColor(255, 255, 255));
    EXPECT_EQ(s.BackColor1, QColor(0, 0, 255));
    EXPECT_EQ(s.BackColor2, QColor(255, 0, 0));
    EXPECT_EQ(s.StartColor1, QColor(0, 0, 255));
    EXPECT_EQ(s.StartColor2, QColor(255, 0, 0));
    EXPECT_EQ(s.NoMoveColor, QColor(0, 128, 0));
    EXPECT_EQ(s.ResetColor, QColor(255, 0, 255));
    EXPECT_EQ(s.SideName1, QStringLiteral("Синие"));
    EXPECT_EQ(s.SideName2, QStringLiteral("Красные"));
    EXPECT_EQ((std::array{s.Figure1, s.Figure2, s.FigureAny, s.FigureBest}),
              (std::array{1, 3, 0, 2}));
}

TEST(ColorScheme, CustomSchemeTakesEditedValuesAndReplacesMissingFigures) {
    TCustomScheme custom = DefaultGameSettings().Custom;
    custom.Colors[0] = StoredColor(1, 2, 3);
    custom.Colors[7] = StoredColor(7, 8, 9);
    custom.Player1 = QStringLiteral("Я");
    custom.Figures = {5, 9, -1, 4}; // 9 and -1 name no picture of a list of six
    const TColorScheme s = ApplyScheme(3, custom, TPlayerNames{}, kWindow, 6);
    EXPECT_EQ(s.TextColor1, QColor(1, 2, 3));
    EXPECT_EQ(s.ResetColor, QColor(7, 8, 9));
    EXPECT_EQ(s.SideName1, QStringLiteral("Я"));
    EXPECT_EQ((std::array{s.Figure1, s.Figure2, s.FigureAny, s.FigureBest}),
              (std::array{5, 3, 0, 4}));
}

TEST(ColorScheme, UnknownSchemeNumberIsTheDefaultScheme) {
    for (int n : {0, 5, -2, 7})
        EXPECT_EQ(ApplyScheme(n, DefaultGameSettings().Custom, TPlayerNames{}, kWindow, 4).Number,
                  1)
            << n;
}

TEST(ColorScheme, ContrastIsTheWcagRatio) {
    EXPECT_NEAR(ContrastRatio(Qt::white, Qt::black), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(Qt::black, Qt::white), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(QColor(0, 128, 0), Qt::white), 5.14, 0.01);
    EXPECT_NEAR(ContrastRatio(QColor(0, 0, 255), Qt::white), 8.59, 0.01);
    EXPECT_NEAR(ContrastRatio(QColor(119, 119, 119), Qt::white), 4.48, 0.01);
    EXPECT_NEAR(RelativeLuminance(QColor(255, 0, 0)), 0.2126, 1e-4);
}

TEST(ColorScheme, DesignColoursKeepTheirHueAndBecomeReadableOnDarkFaces) {
    const QColor design[] = {QColor(0, 128, 0), QColor(0, 0, 255), QColor(255, 0, 255),
                             QColor(255, 0, 0), QColor(128, 0, 0)};
    // Fusion's dark button face, a darker box, black, and a mid grey that
    // white still reads better on.
    const QColor dark[] = {QColor(53, 53, 53), QColor(42, 42, 42), QColor(0, 0, 0),
                           QColor(110, 110, 110)};
    for (const QColor& back : dark)
        for (const QColor& text : design) {
            SCOPED_TRACE(text.name().toStdString() + " on " + back.name().toStdString());
            const QColor readable = ReadableOn(text, back);
            EXPECT_GE(ContrastRatio(readable, back), kReadableContrast);
            EXPECT_NEAR(readable.hslHueF(), text.hslHueF(), 1.0 / 360);
            EXPECT_NEAR(readable.hslSaturationF(), text.hslSaturationF(), 0.02);
            if (readable == text) continue;
            // Only as much lighter as it takes.
            const QColor less = QColor::fromHslF(text.hslHueF(), text.hslSaturationF(),
                                                 readable.lightnessF() - 0.03f);
            EXPECT_LT(ContrastRatio(less, back), kReadableContrast);
        }
    // Light faces keep the design's colours as they are, even where they are
    // short of the ratio (green and red on Fusion's light button).
    const QColor light[] = {QColor(239, 239, 239), QColor(255, 255, 255), kWindow};
    for (const QColor& back : light)
        for (const QColor& text : design)
            EXPECT_EQ(ReadableOn(text, back), text);
    // A colour that already reads is left alone.
    EXPECT_EQ(ReadableOn(QColor(0, 255, 0), Qt::black), QColor(0, 255, 0));
    EXPECT_EQ(ReadableOn(QColor(0, 255, 255), QColor(53, 53, 53)), QColor(0, 255, 255));
}

TEST(ColorScheme, StoredColoursKeepRedInTheLowByte) {
    EXPECT_EQ(StoredFromColor(QColor(255, 0, 0)), 0x0000FFu);
    EXPECT_EQ(StoredFromColor(QColor(0, 128, 0)), 0x008000u);
    EXPECT_EQ(StoredFromColor(QColor(255, 0, 255)), 0xFF00FFu);
    EXPECT_EQ(ColorFromStored(0x00FF0000u), QColor(0, 0, 255));
    // The high byte carries no colour.
    EXPECT_EQ(ColorFromStored(0xFF102030u), QColor(0x30, 0x20, 0x10));
    EXPECT_EQ(ColorFromStored(StoredFromColor(QColor(12, 34, 56))), QColor(12, 34, 56));
}

} // namespace
} // namespace dorvane
