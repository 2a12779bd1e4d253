#include "view/colorscheme.h"

namespace dorvane {

namespace {

struct TBuiltinScheme {
    QColor text1, text2;
    bool windowBackground; // true: both backgrounds are the window colour
    QColor back;
};

const TBuiltinScheme kDefault{QColor(0, 128, 0), QColor(0, 0, 255), true, QColor()};
const TBuiltinScheme kDark{QColor(0, 255, 0), QColor(0, 255, 255), false, QColor(0, 0, 0)};

} // namespace

TColorScheme ApplyScheme(int n, const TCustomScheme& custom, const TPlayerNames& names,
                         const QColor& windowColour, int figureCount) {
    TColorScheme s;
    if (n == kSchemeCustom) {
        s.Number = kSchemeCustom;
        const auto c = [&custom](std::size_t i) {
            return ColorFromStored(std::uint32_t(custom.Colors[i]));
        };
        s.TextColor1 = c(0);
        s.TextColor2 = c(1);
        s.BackColor1 = c(2);
        s.BackColor2 = c(3);
        s.StartColor1 = c(4);
        s.StartColor2 = c(5);
        s.NoMoveColor = c(6);
        s.ResetColor = c(7);
        s.SideName1 = custom.Player1;
        s.SideName2 = custom.Player2;
        static const TCustomScheme defaults = DefaultGameSettings().Custom;
        std::array<int, 4> figures{};
        for (std::size_t i = 0; i < figures.size(); ++i) {
            const int f = custom.Figures[i];
            figures[i] = (f >= 0 && f < figureCount) ? f : defaults.Figures[i];
        }
        s.Figure1 = figures[0];
        s.Figure2 = figures[1];
        s.FigureAny = figures[2];
        s.FigureBest = figures[3];
        return s;
    }

    const TBuiltinScheme& b = n == kSchemeDark ? kDark : kDefault;
    s.Number = n == kSchemeDark ? kSchemeDark : kSchemeDefault;
    s.TextColor1 = b.text1;
    s.TextColor2 = b.text2;
    s.BackColor1 = s.BackColor2 = b.windowBackground ? windowColour : b.back;
    s.StartColor1 = QColor(0, 128, 0);
    s.StartColor2 = QColor(0, 0, 255);
    s.NoMoveColor = QColor(255, 0, 255);
    s.ResetColor = QColor(255, 0, 0);
    s.SideName1 = names.Player1;
    s.SideName2 = names.Player2;
    return s;
}

QColor ColorFromStored(std::uint32_t value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

std::uint32_t StoredFromColor(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return std::uint32_t(rgb.red()) | (std::uint32_t(rgb.green()) << 8) |
           (std::uint32_t(rgb.blue()) << 16);
}

} // namespace dorvane
