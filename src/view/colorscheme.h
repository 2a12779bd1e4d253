// The colour schemes as values: the three schemes are data, and the panel,
// the board and the menus only consume the TColorScheme they are handed.
// The custom scheme's values and their defaults are the settings'
// (play/game_settings.h); this file knows what they mean.
#pragma once

#include "play/game_settings.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

namespace dorvane {

inline constexpr int kSchemeDefault = 1; // "По умолчанию"
inline constexpr int kSchemeDark = 2;    // "Темная"
inline constexpr int kSchemeCustom = 3;  // "Другая"

// The current scheme: what the panel, the board and the menus show.
struct TColorScheme {
    int Number = kSchemeDefault;
    QColor TextColor1, TextColor2;
    QColor BackColor1, BackColor2;
    QColor StartColor1, StartColor2;
    QColor NoMoveColor, ResetColor;
    QString SideName1, SideName2;
    int Figure1 = 0, Figure2 = 1, FigureAny = 2, FigureBest = 3;

    bool operator==(const TColorScheme&) const = default;
};

// Scheme n (1, 2 or 3; anything else is taken as 1). windowColour is the
// desktop's colour for the inside of text boxes (QPalette::Base), the boxes'
// background in the default scheme.
// A custom figure outside 0..figureCount-1 (a picture that is gone) falls
// back to that figure's default, so the board never draws a missing picture.
TColorScheme ApplyScheme(int n, const TCustomScheme& custom, const TPlayerNames& names,
                         const QColor& windowColour, int figureCount);

// The relative luminance of an sRGB colour (0 black .. 1 white) and the
// contrast ratio of two colours (1 .. 21), as WCAG defines them.
double RelativeLuminance(const QColor& colour);
double ContrastRatio(const QColor& a, const QColor& b);
inline constexpr double kReadableContrast = 4.5;

// The built-in schemes' text colours were chosen for a light desktop, where
// they stay exactly as they are. On a dark background (one that white reads
// better on than black) a text colour short of kReadableContrast is made
// lighter, keeping its hue and saturation, just until it reaches it.
QColor ReadableOn(const QColor& text, const QColor& background);

// Colours are stored as 32-bit values whose low three bytes are red, green
// and blue; the high byte is ignored on reading and written as 0.
QColor ColorFromStored(std::uint32_t value);
std::uint32_t StoredFromColor(const QColor& colour);

} // namespace dorvane
