#include "view/colorscheme.h"

#include <algorithm>
#include <cmath>

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

double RelativeLuminance(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(rgb.red()) + 0.7152 * linear(rgb.green()) + 0.0722 * linear(rgb.blue());
}

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableOn(const QColor& text, const QColor& background) {
    const bool dark = ContrastRatio(background, Qt::white) > ContrastRatio(background, Qt::black);
    if (!dark || ContrastRatio(text, background) >= kReadableContrast) return text;
    // Lighter is always more contrast on a dark background, and white
    // reaches the ratio there, so the least lightness that does is found by
    // halving the interval.
    const QColor hsl = text.toHsl();
    const float hue = hsl.hslHueF();
    const float saturation = hsl.hslSaturationF();
    float low = hsl.lightnessF();
    float high = 1.0f;
    for (int step = 0; step < 24; ++step) {
        const float middle = (low + high) / 2;
        if (ContrastRatio(QColor::fromHslF(hue, saturation, middle), background) >=
            kReadableContrast)
            high = middle;
        else
            low = middle;
    }
    QColor readable = QColor::fromHslF(hue, saturation, high).toRgb();
    // Rounding to whole channels may land just below the ratio.
    while (ContrastRatio(readable, background) < kReadableContrast && readable != Qt::white)
        readable = QColor::fromHslF(hue, saturation, std::min(1.0f, readable.lightnessF() + 0.004f))
                       .toRgb();
    return readable;
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
