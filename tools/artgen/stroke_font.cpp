// Capital letters as polylines on a 4 x 6 grid (x to the right, y down), so
// that the word pictures never depend on the fonts of the machine that
// generates them.
#include "artgen.h"

#include <QPainter>
#include <QPainterPath>

#include <initializer_list>
#include <map>
#include <vector>

namespace artgen {
namespace {

using TStroke = std::vector<QPointF>;
using TGlyph = std::vector<TStroke>;

const std::map<QChar, TGlyph>& Glyphs() {
    static const std::map<QChar, TGlyph> glyphs = {
        {'C', {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 5}, {1, 6}, {3, 6}, {4, 5}}}},
        {'A', {{{0, 6}, {2, 0}, {4, 6}}, {{0.7, 4}, {3.3, 4}}}},
        {'D', {{{0, 0}, {2.4, 0}, {4, 1.6}, {4, 4.4}, {2.4, 6}, {0, 6}, {0, 0}}}},
        {'E', {{{4, 0}, {0, 0}, {0, 6}, {4, 6}}, {{0, 3}, {3, 3}}}},
        {'M', {{{0, 6}, {0, 0}, {2, 3.4}, {4, 0}, {4, 6}}}},
        {'N', {{{0, 6}, {0, 0}, {4, 6}, {4, 0}}}},
        {'O', {{{1, 0}, {3, 0}, {4, 1}, {4, 5}, {3, 6}, {1, 6}, {0, 5}, {0, 1}, {1, 0}}}},
        {'P', {{{0, 6}, {0, 0}, {3, 0}, {4, 1}, {4, 2.2}, {3, 3.2}, {0, 3.2}}}},
        {'R', {{{0, 6}, {0, 0}, {3, 0}, {4, 1}, {4, 2.2}, {3, 3.2}, {0, 3.2}}, {{2, 3.2}, {4, 6}}}},
        {'S',
         {{{4, 1},
           {3, 0},
           {1, 0},
           {0, 1},
           {0, 2},
           {1, 3},
           {3, 3},
           {4, 4},
           {4, 5},
           {3, 6},
           {1, 6},
           {0, 5}}}},
        {'T', {{{0, 0}, {4, 0}}, {{2, 0}, {2, 6}}}},
        {'U', {{{0, 0}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 0}}}},
        {'V', {{{0, 0}, {2, 6}, {4, 0}}}},
    };
    return glyphs;
}

} // namespace

double StrokeTextWidth(const QString& text, double height, double spacing) {
    const double cell = height / 6.0 * 4.0;
    return text.isEmpty() ? 0.0 : text.size() * cell + (text.size() - 1) * spacing;
}

void StrokeText(QPainter& p, const QString& text, double x, double y, double height,
                double spacing) {
    const double scale = height / 6.0;
    QPainterPath path;
    for (const QChar ch : text) {
        const auto it = Glyphs().find(ch);
        if (it != Glyphs().end()) {
            for (const TStroke& stroke : it->second) {
                path.moveTo(x + stroke.front().x() * scale, y + stroke.front().y() * scale);
                for (std::size_t i = 1; i < stroke.size(); ++i)
                    path.lineTo(x + stroke[i].x() * scale, y + stroke[i].y() * scale);
            }
        }
        x += 4.0 * scale + spacing;
    }
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

} // namespace artgen
