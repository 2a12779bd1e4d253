// The playlist window's colour schemes ("Цветовая схема" 1..18): the list's
// background, titles and numbers, the level meter's preset and, for some,
// the width of the meter's panel. Colours are 0xRRGGBB.
#pragma once

#include <QtGlobal>

namespace dorvane {

struct TListScheme {
    quint32 background = 0;
    quint32 titles = 0;
    quint32 numbers = 0;
    int indicatorPreset = 0;
    int indicatorWidth = 0; // 0: the panel keeps its width
};

inline constexpr int kListSchemes = 18;
// The scheme the default settings match ("2", shown in bold).
inline constexpr int kDefaultListScheme = 2;

// number 1..18 (clamped).
TListScheme ListScheme(int number);

} // namespace dorvane
