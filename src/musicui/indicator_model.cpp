#include "musicui/indicator_model.h"

#include <algorithm>
#include <cmath>

namespace dorvane {

namespace {

// Halves go to the even neighbour, as in every rounding of the program. The
// scales are n / 128, exact in binary, so the halves really occur.
int Round(double x) {
    const double below = std::floor(x);
    const double rest = x - below;
    const int n = int(below);
    if (rest > 0.5) return n + 1;
    if (rest < 0.5) return n;
    return n % 2 == 0 ? n : n + 1;
}

int Blend(int from, int to, int j, int n) {
    if (n <= 0) return from;
    return std::clamp(from + Round(double(n - j) * (to - from) / n), 0, 255);
}

QRgb Halved(QRgb c, bool lit) {
    return lit ? c : qRgb(qRed(c) / 2, qGreen(c) / 2, qBlue(c) / 2);
}

} // namespace

TIndicatorColumns IndicatorColumns(int width) {
    const int shift = width / 2 - 2;
    return {{4, 4 + shift}, {width / 2 - 1, width / 2 - 1 + shift}};
}

int SegmentCount(int height) {
    return std::max((height - 3) / 3 - 2, 0);
}

int FirstLitSegment(int level, int segments) {
    const double scale = double(segments) / kIndicatorMax;
    return Round((kIndicatorMax - std::clamp(level, 0, kIndicatorMax)) * scale) + 1;
}

QRgb ZoneColour(int j, int segments, bool lit) {
    const double scale = double(segments) / kIndicatorMax;
    if (j < Round(5 * scale)) return lit ? qRgb(0xFF, 0, 0) : qRgb(0x80, 0, 0);
    if (j < Round(15 * scale)) return lit ? qRgb(0xFF, 0xFF, 0) : qRgb(0x80, 0x80, 0);
    return lit ? qRgb(0, 0xFF, 0) : qRgb(0, 0x80, 0);
}

QRgb BlendColour(int j, int segments, bool lit, QRgb begin, QRgb end) {
    const QRgb c = qRgb(Blend(qRed(begin), qRed(end), j, segments),
                        Blend(qGreen(begin), qGreen(end), j, segments),
                        Blend(qBlue(begin), qBlue(end), j, segments));
    return Halved(c, lit);
}

TTubeRows TubeRows(int height, int level) {
    const double scale = (height - 10) / double(kIndicatorMax);
    return {Round((kIndicatorMax - std::clamp(level, 0, kIndicatorMax)) * scale) + 5,
            Round(5 * scale) + 4, Round(15 * scale) + 4};
}

QRgb TubeColour(int y, int k, int h, const TTubeRows& rows) {
    const double step = h > 0 ? 64.0 / h : 0.0;
    if (y < rows.litTop) {
        const int grey = int(64 + k * step);
        return qRgb(grey, grey, grey);
    }
    const int b = std::max(int(255 - 2 * k * step), 0);
    if (y < rows.redEnd) return qRgb(b, 0, 0);
    if (y < rows.yellowEnd) return qRgb(b, b, 0);
    return qRgb(0, b, 0);
}

void PaintIndicator(QImage& image, const TIndicatorLook& look, int level0, int level1) {
    image.fill(Qt::black);
    const int width = image.width();
    const int height = image.height();
    const TIndicatorColumns columns = IndicatorColumns(width);
    const std::array<int, 2> levels = {level0, level1};
    for (std::size_t c = 0; c < 2; ++c) {
        const int left = std::max(columns.left[c], 0);
        const int right = std::min(columns.right[c], width - 1);
        if (right < left) continue;
        if (look.style == 2) {
            const TTubeRows rows = TubeRows(height, levels[c]);
            const int h = (columns.right[c] - columns.left[c]) / 2;
            const int centre = columns.left[c] + h;
            for (int k = 0; k <= h; ++k)
                for (int y = 5; y < height - 5; ++y) {
                    const QRgb colour = TubeColour(y, k, h, rows);
                    for (const int x : {centre - k, centre + k})
                        if (x >= left && x <= right) image.setPixel(x, y, colour);
                }
            continue;
        }
        const int n = SegmentCount(height);
        const int firstLit = FirstLitSegment(levels[c], n);
        for (int j = 1; j <= n; ++j) {
            const bool lit = j >= firstLit;
            const QRgb colour = look.style == 0 ? ZoneColour(j, n, lit)
                                                : BlendColour(j, n, lit, look.begin, look.end);
            for (int y = SegmentTop(j); y <= SegmentTop(j) + 1 && y < height; ++y)
                for (int x = left; x <= right; ++x)
                    image.setPixel(x, y, colour);
        }
    }
}

QImage PaintIndicator(QSize size, const TIndicatorLook& look, int level0, int level1) {
    QImage image(size.expandedTo({1, 1}), QImage::Format_RGB32);
    PaintIndicator(image, look, level0, level1);
    return image;
}

TIndicatorPreset IndicatorPreset(int preset) {
    struct TPair {
        QRgb begin, end;
    };
    static constexpr TPair kPairs[] = {
        {0, 0},
        {0x808080, 0xFFFFFF},
        {0x0080C0, 0x00FFFF},
        {0x0000FF, 0x00FFFF},
        {0x6E4137, 0xFFD2C8},
        {0x800080, 0xFF80FF},
        {0x800040, 0xFF00C0},
        {0x29383A, 0xA4D2E6},
        {0xFF0000, 0xFFFF00},
        {0x00498C, 0x21AAF7},
        {0, 0},
        {0xFF0000, 0xFF8080},
        {0xFF0000, 0x800000},
    };
    if (preset == 0) return {0, false, 0, 0};
    if (preset == 10) return {2, false, 0, 0};
    const TPair& pair = kPairs[std::clamp(preset, 1, kIndicatorPresets - 1)];
    return {1, true, pair.begin | 0xFF000000u, pair.end | 0xFF000000u};
}

} // namespace dorvane
