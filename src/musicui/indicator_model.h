// The geometry and colours of the two-channel level meter (TKvoIndicator),
// and its picture for a size, a style and two levels, without a widget.
//
// The meter has two columns. Styles 0 and 1 stack segments of two pixel rows
// with one black row between them, segment 1 at the top; a column lights
// its segments from the bottom up to its level. Style 0 colours them by zone
// (red, yellow, green from the top), style 1 blends from the begin colour at
// the bottom to the end colour at the top. Style 2 draws each column as a
// lit tube: bright at its centre, darker to its sides.
//
// Every rounding here takes a half to the even neighbour.
#pragma once

#include <QImage>
#include <QRgb>
#include <QSize>

#include <array>

namespace dorvane {

inline constexpr int kIndicatorMax = 128;

// The first and last x of each column (both inclusive).
struct TIndicatorColumns {
    std::array<int, 2> left{};
    std::array<int, 2> right{};
};
TIndicatorColumns IndicatorColumns(int width);

// Styles 0 and 1: the number of segments, the first pixel row of segment j
// (1 = top), the first segment lit at a level.
int SegmentCount(int height);
inline int SegmentTop(int j) {
    return 3 * j + 2;
}
int FirstLitSegment(int level, int segments);
QRgb ZoneColour(int j, int segments, bool lit);
QRgb BlendColour(int j, int segments, bool lit, QRgb begin, QRgb end);

// Style 2: the top row of the lit part and the rows where red and yellow
// end.
struct TTubeRows {
    int litTop = 0;
    int redEnd = 0;
    int yellowEnd = 0;
};
TTubeRows TubeRows(int height, int level);
// The colour of row y at distance k from a column's centre of half width h.
QRgb TubeColour(int y, int k, int h, const TTubeRows& rows);

struct TIndicatorLook {
    int style = 0; // 0..2
    QRgb begin = qRgb(0xFF, 0, 0);
    QRgb end = qRgb(0xFF, 0xFF, 0);
};
// Draws into image (kept at its size; the widget reuses one image between
// size changes) or into a new image of size.
void PaintIndicator(QImage& image, const TIndicatorLook& look, int level0, int level1);
QImage PaintIndicator(QSize size, const TIndicatorLook& look, int level0, int level1);

// The presets the meter cycles through on a click (0..12): a style and,
// for style 1, the colours.
struct TIndicatorPreset {
    int style = 1;
    bool colours = false; // the colours below apply
    QRgb begin = 0;
    QRgb end = 0;
};
inline constexpr int kIndicatorPresets = 13;
TIndicatorPreset IndicatorPreset(int preset);

} // namespace dorvane
