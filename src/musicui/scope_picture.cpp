#include "musicui/scope_picture.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPoint>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

namespace dorvane {

namespace {

constexpr int kStride = kScopeWidth * 3; // bytes of one row, no padding at 640
constexpr int kBytes = kStride * kScopeHeight;
constexpr int kCentreX = 320, kCentreY = 160;
constexpr std::array<int, 2> kBase = {144, 304};
// What the flames lose a row in red, green and blue.
constexpr std::array<int, 3> kCooling = {2, 14, 48};

constexpr std::array<QRgb, 4> kLineColours = {0xFFFF00, 0x00FFFF, 0xFF00FF, 0xFFFFFF};
constexpr std::array<QRgb, 6> kBaseColours = {0x630000, 0x636300, 0x006300,
                                              0x006363, 0x000063, 0x630063};

int Max(const TWaveSnapshot& s, int channel, int column) {
    return s[std::size_t(4 + 4 * column + 2 * channel)];
}
int Min(const TWaveSnapshot& s, int channel, int column) {
    return s[std::size_t(5 + 4 * column + 2 * channel)];
}

struct TAngles {
    std::array<double, kScopeWidth> cos{}, sin{};
    TAngles() {
        for (int j = 0; j < kScopeWidth; ++j) {
            cos[std::size_t(j)] = std::cos(j / kScopeAngleScale);
            sin[std::size_t(j)] = std::sin(j / kScopeAngleScale);
        }
    }
};
const TAngles& Angles() {
    static const TAngles angles;
    return angles;
}

QPoint Polar(double radius, int column) {
    const TAngles& a = Angles();
    return {kCentreX + int(std::lround(radius * a.cos[std::size_t(column)])),
            kCentreY + int(std::lround(radius * a.sin[std::size_t(column)]))};
}

struct TStroke {
    QRgb colour = 0;
    int width = 1;
};
TStroke Pen(QRgb colour, int width = 1) {
    return {colour, width};
}

} // namespace

// Lines straight into the 24-bit rows (a painter on a 24-bit picture costs
// a conversion per span). As the platform's own lines do, a line leaves out
// its last pixel; a wider pen repeats the line over a square of offsets.
class TRowPen {
public:
    explicit TRowPen(QImage& picture) : bits_(picture.bits()) {}
    void setPen(TStroke stroke) {
        colour_ = {std::uint8_t(qRed(stroke.colour)), std::uint8_t(qGreen(stroke.colour)),
                   std::uint8_t(qBlue(stroke.colour))};
        width_ = std::max(1, stroke.width);
    }
    void drawPoint(QPoint p) {
        for (int dy = 0; dy < width_; ++dy)
            for (int dx = 0; dx < width_; ++dx)
                Plot(p.x() + dx, p.y() + dy);
    }
    void drawLine(QPoint a, QPoint b) {
        for (int dy = 0; dy < width_; ++dy)
            for (int dx = 0; dx < width_; ++dx)
                Thin(a.x() + dx, a.y() + dy, b.x() + dx, b.y() + dy);
    }
    void drawPolyline(const QPoint* points, int count) {
        for (int i = 1; i < count; ++i)
            drawLine(points[i - 1], points[i]);
    }

private:
    void Plot(int x, int y) {
        if (x < 0 || y < 0 || x >= kScopeWidth || y >= kScopeHeight) return;
        std::memcpy(bits_ + y * kStride + 3 * x, colour_.data(), 3);
    }
    void Thin(int x0, int y0, int x1, int y1) {
        const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
        const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
        int error = dx + dy;
        while (x0 != x1 || y0 != y1) {
            Plot(x0, y0);
            const int twice = 2 * error;
            if (twice >= dy) {
                error += dy;
                x0 += sx;
            }
            if (twice <= dx) {
                error += dx;
                y0 += sy;
            }
        }
    }

    std::uint8_t* bits_;
    std::array<std::uint8_t, 3> colour_{};
    int width_ = 1;
};

namespace {

bool Radial(int style) {
    return style == 1 || (style >= 7 && style <= 12);
}
bool Figure(int style) {
    return style >= 13;
}

std::uint8_t Saturate(int value) {
    return std::uint8_t(std::clamp(value, 0, 255));
}

// Each byte b of a row takes max(b, from * 3 / 4): a trail that thins out
// with distance.
void SmearRow(std::uint8_t* row, const std::uint8_t* from) {
    for (int i = 0; i < kStride; ++i)
        row[i] = std::max(row[i], std::uint8_t((from[i] * 3) >> 2));
}

} // namespace

QString ScopeCaption(int style) {
    static const std::array<const char*, kScopeStyles> names = {
        "технический", "технический", "цветной",   "абстрактный", "многогранный", "лазерный",
        "пламенный",   "пламенный 1", "цветной 1", "пламенный 2", "цветной 2",    "пламенный 3",
        "цветной 3",   "«Сердца»",    "«Лиссажу»", "«Звезда»"};
    style = std::clamp(style, 0, kScopeStyles - 1);
    const char* family = Radial(style) ? "радиальный " : Figure(style) ? "фигурный " : "линейный ";
    return QStringLiteral("Осциллограф ") + QString::fromUtf8(family) + QStringLiteral(" ") +
           QString::fromUtf8(names[std::size_t(style)]);
}

void TTitleBanner::Follow(int orderPosition, TRandomSource& random) {
    if (seen_ && orderPosition == lastPosition_) return;
    seen_ = true;
    lastPosition_ = orderPosition;
    Restart(random);
}

void TTitleBanner::Restart(TRandomSource& random) {
    visible_ = true;
    arrivedAt_ = -1;
    direction_ = int(random.Below(2));
    position_ = direction_ == 0 ? kScopeWidth - 1 : 0;
}

void TTitleBanner::Draw(QPainter& painter, const QString& text, std::int64_t nowMs) {
    if (!visible_) return;
    if (arrivedAt_ >= 0 && nowMs - arrivedAt_ >= kShowMs) {
        visible_ = false;
        return;
    }
    const QFontMetrics metrics = painter.fontMetrics();
    const int width = metrics.horizontalAdvance(text);
    const int height = metrics.height();
    int x = 0, top = 0;
    if (direction_ == 0) {
        const int target = (kScopeWidth - width) / 2;
        if (arrivedAt_ < 0 && position_ > target) --position_;
        if (position_ <= target && arrivedAt_ < 0) arrivedAt_ = nowMs;
        x = position_;
        top = (kScopeHeight - height) / 2;
    } else {
        const int target = (kScopeHeight - height) / 2;
        if (arrivedAt_ < 0 && position_ < target) ++position_;
        if (position_ >= target && arrivedAt_ < 0) arrivedAt_ = nowMs;
        x = (kScopeWidth - width) / 2;
        top = position_;
    }
    const int baseline = top + metrics.ascent();
    painter.setPen(Qt::black);
    painter.drawText(x, baseline, text);
    painter.setPen(Qt::white);
    painter.drawText(x - 2, baseline - 2, text);
}

TScopePicture::TScopePicture(std::uint64_t seed, int style)
    : picture_(kScopeWidth, kScopeHeight, QImage::Format_RGB888), random_(seed),
      style_(std::clamp(style, 0, kScopeStyles - 1)), scratch_(std::size_t(kBytes)) {
    Clear();
    baseColour_ = Draw(0, 5);
    baseHold_ = Draw(3, 5);
}

bool TScopePicture::SetStyle(int style) {
    style = std::clamp(style, 0, kScopeStyles - 1);
    if (style == style_) return false;
    style_ = style;
    Clear();
    return true;
}

void TScopePicture::Clear() {
    picture_.fill(Qt::black);
}

void TScopePicture::DrawFrame(const TWaveSnapshot& snapshot) {
    Animate();
    if (style_ >= 9 && style_ <= 14) ZoomTrail();
    DrawLines(snapshot);
    if (style_ >= 2) {
        Process();
        Fade();
    }
}

void TScopePicture::Animate() {
    pulse_ += pulseStep_;
    if (pulse_ >= 160 || pulse_ <= 0) {
        pulse_ = std::clamp(pulse_, 0, 160);
        pulseStep_ = -pulseStep_;
    }
    swing_ += swingStep_;
    if (swing_ >= 160 || swing_ <= 0) {
        swing_ = std::clamp(swing_, 0, 160);
        swingStep_ = -swingStep_;
    }
    factor_ += factorStep_;
    if (factor_ >= 8.0 || factor_ <= 1.0) {
        // Each turn of the sweep shows another figure.
        factor_ = std::clamp(factor_, 1.0, 8.0);
        factorStep_ = -factorStep_;
        useSine_ = random_.Below(2) == 0;
        mirror_ = random_.Below(2) == 0 ? -1 : 1;
    }
    if (--baseHold_ <= 0) {
        baseColour_ = Draw(0, 5);
        baseHold_ = Draw(3, 5);
    }
}

void TScopePicture::DrawLines(const TWaveSnapshot& s) {
    if (style_ <= 1) picture_.fill(Qt::black);
    if (style_ == 0) DrawGrid();
    if (style_ == 1) {
        QPainter circles(&picture_);
        circles.setPen(QColor(0x008000));
        for (int r = 16; r <= 192; r += 16)
            circles.drawEllipse(QPoint(kCentreX, kCentreY), r, r);
        circles.drawLine(0, kCentreY, kScopeWidth - 1, kCentreY);
        circles.drawLine(kCentreX, 0, kCentreX, kScopeHeight - 1);
    }
    TRowPen painter(picture_);
    if (style_ >= 2 && style_ <= 5) lineColour_ = kLineColours[random_.Below(4)];
    for (int c = 0; c < 2; ++c) {
        if (Radial(style_))
            DrawPolar(painter, s, c);
        else if (style_ == 13)
            DrawHearts(painter, s, c);
        else if (style_ == 14)
            DrawLissajous(painter, s, c);
        else if (style_ == 15)
            DrawStar(painter, s, c);
        else
            DrawLinear(painter, s, c, kBase[std::size_t(c)]);
    }
    if (Radial(style_) || Figure(style_)) {
        painter.setPen(Pen(0x000000));
        painter.drawLine(QPoint(0, kScopeHeight - 1), QPoint(kScopeWidth, kScopeHeight - 1));
    }
}

void TScopePicture::DrawGrid() {
    // Straight into the rows before the painter starts: the grid is most of
    // the technical style's pixels.
    const std::array<std::uint8_t, 3> dark = {0, 0x80, 0};
    std::uint8_t* bits = picture_.bits();
    for (int y = 0; y < kScopeHeight; ++y) {
        std::uint8_t* row = bits + y * kStride;
        if (y % 16 == 0 && y >= 16 && y <= 304) {
            for (int x = 0; x < kScopeWidth; ++x)
                std::memcpy(row + 3 * x, dark.data(), 3);
        } else {
            for (int x = 16; x <= 624; x += 16)
                std::memcpy(row + 3 * x, dark.data(), 3);
        }
    }
}

void TScopePicture::DrawLinear(TRowPen& painter, const TWaveSnapshot& s, int c, int base) {
    const QRgb colour = style_ == 0 ? 0x00FF00 : lineColour_;
    std::vector<QPoint> points;
    points.reserve(2 * kScopeWidth + 1);
    auto y = [base](int value) { return base - value / 2; };
    switch (style_) {
    case 0:
    case 2:
    case 3: {
        const int jitter = style_ == 3 ? 4 : 0;
        auto shake = [&] { return jitter ? Draw(-jitter, jitter) : 0; };
        points.emplace_back(0, y(Max(s, c, 0)));
        for (int k = 0; k < kScopeWidth; ++k) {
            points.emplace_back(k + shake(), y(Max(s, c, k)) + shake());
            points.emplace_back(k + shake(), y(Min(s, c, k)) + shake());
        }
        // A line leaves out its last pixel: one step past the edge draws
        // the last column.
        points.emplace_back(kScopeWidth, points.back().y());
        painter.setPen(Pen(colour, style_ == 3 ? 2 : 1));
        painter.drawPolyline(points.data(), int(points.size()));
        break;
    }
    case 4: {
        // The columns that hit the frame's number join into one figure.
        const int wanted = Draw(0, 255);
        if (wanted == 128 || wanted == 129) break;
        for (int k = 0; k < kScopeWidth; ++k) {
            if (Max(s, c, k) != wanted && Min(s, c, k) != wanted) continue;
            points.emplace_back(k, y(Max(s, c, k)));
            points.emplace_back(k, y(Min(s, c, k)));
        }
        painter.setPen(Pen(colour, 2));
        if (points.size() >= 2)
            painter.drawPolyline(points.data(), int(points.size()));
        else if (points.size() == 1)
            painter.drawPoint(points.front());
        break;
    }
    case 5: {
        const int wanted = Draw(0, 30);
        const QPoint centre(kCentreX, kCentreY);
        bool havePrevious = false;
        QPoint previous;
        for (int k = 0; k < kScopeWidth; ++k) {
            const int value = Max(s, c, k);
            if (value / 4 != wanted && value / 4 != wanted + 33) continue;
            const QPoint point(k, y(value));
            painter.setPen(Pen(colour, 1));
            painter.drawLine(centre, point);
            if (havePrevious) {
                painter.setPen(Pen(colour, 3));
                painter.drawLine(previous, point);
            }
            previous = point;
            havePrevious = true;
        }
        break;
    }
    case 6: {
        // Silence (128 or 129) breaks the line.
        painter.setPen(Pen(0xFFFFFF, 1));
        auto flush = [&] {
            if (points.size() >= 2) painter.drawPolyline(points.data(), int(points.size()));
            points.clear();
        };
        for (int k = 0; k < kScopeWidth; ++k) {
            const int high = Max(s, c, k), low = Min(s, c, k);
            if (high == 128 || high == 129 || low == 128 || low == 129) {
                flush();
                continue;
            }
            points.emplace_back(k, y(high));
            points.emplace_back(k, y(low));
        }
        flush();
        break;
    }
    default:
        break;
    }
}

void TScopePicture::DrawPolar(TRowPen& painter, const TWaveSnapshot& s, int c) {
    QRgb colour = 0x00FF00;
    if (style_ == 7 || style_ == 9 || style_ == 11) {
        colour = qRgb(255, (pulse_ + 99) % 256, 0);
    } else if (style_ == 8 || style_ == 10 || style_ == 12) {
        const QRgb base = kBaseColours[std::size_t(baseColour_)];
        colour = qRgb(Saturate(qRed(base) + pulse_), Saturate(qGreen(base) + pulse_),
                      Saturate(qBlue(base) + pulse_));
    }
    std::vector<QPoint> points;
    points.reserve(2 * kScopeWidth + 1);
    const double offset = 64.0 * c;
    points.push_back(Polar(Max(s, c, 0) / 2 + offset, 0));
    for (int j = 0; j < kScopeWidth; ++j) {
        points.push_back(Polar(Max(s, c, j) / 2 + offset, j));
        points.push_back(Polar(Min(s, c, j) / 2 + offset, j));
    }
    painter.setPen(Pen(colour));
    painter.drawPolyline(points.data(), int(points.size()));
}

void TScopePicture::DrawHearts(TRowPen& painter, const TWaveSnapshot& s, int c) {
    const TAngles& a = Angles();
    const double centreX = kCentreX + (c == 0 ? -swing_ : swing_);
    auto at = [&](int j, double scale) {
        const double sine = a.sin[std::size_t(j)], cosine = a.cos[std::size_t(j)];
        const double x = 6.0 * sine * sine * sine;
        const double y = 4.65 * cosine + 2.0 * (2.0 * cosine * cosine - 1.0) - 1.0;
        return QPoint(int(std::lround(centreX + scale * x)),
                      int(std::lround(kCentreY + scale * y)));
    };
    painter.setPen(Pen(c == 0 ? 0xFF3050 : 0xFF5030, 1));
    for (int j = 0; j < kScopeWidth; ++j) {
        const int high = Max(s, c, j), low = Min(s, c, j);
        if (high >= 128 && high <= 191 && low >= 128 && low <= 191)
            painter.drawLine(at(j, 24.0), at(j, 24.0 + (high - 128) / 4.0));
        else
            painter.drawLine(at(j, low / 32.0 + 20.0), at(j, high / 32.0 + 20.0));
    }
}

void TScopePicture::DrawLissajous(TRowPen& painter, const TWaveSnapshot& s, int c) {
    std::vector<QPoint> points;
    points.reserve(kScopeWidth);
    const double sign = c == 0 ? 1.0 : double(mirror_);
    for (int j = 0; j < kScopeWidth; ++j) {
        const double t = j / kScopeAngleScale;
        const double scale = 24.0 * (0.75 + Max(s, c, j) / 512.0);
        const double x = 11.0 * std::sin(2.0 * t) * sign;
        const double y = 5.5 * (useSine_ ? std::sin(t * factor_) : std::cos(t * factor_));
        points.emplace_back(int(std::lround(kCentreX + scale * x)),
                            int(std::lround(kCentreY + scale * y)));
    }
    painter.setPen(Pen(c == 0 ? 0x00FFFF : 0xFF00FF, 1));
    painter.drawPolyline(points.data(), int(points.size()));
}

void TScopePicture::DrawStar(TRowPen& painter, const TWaveSnapshot& s, int c) {
    // The radius runs from the outer point (at multiples of 2π/5) to the inner
    // corner between two points (π/5 further on) and back.
    constexpr double kStep = std::numbers::pi / 5.0;
    constexpr double kInner = 0.45;
    std::vector<QPoint> points;
    points.reserve(2 * kScopeWidth);
    auto radius = [&](int value, int j) {
        const double u = std::fmod(j / kScopeAngleScale, 2.0 * kStep) / kStep;
        const double shape =
            u < 1.0 ? 1.0 - u * (1.0 - kInner) : kInner + (u - 1.0) * (1.0 - kInner);
        return shape * (50.0 + 64.0 * c + swing_ / 4.0 + (value - 128));
    };
    for (int j = 0; j < kScopeWidth; ++j) {
        points.push_back(Polar(radius(Max(s, c, j), j), j));
        points.push_back(Polar(radius(Min(s, c, j), j), j));
    }
    painter.setPen(Pen(c == 0 ? 0xFFD700 : 0xFFFFFF, 1));
    painter.drawPolyline(points.data(), int(points.size()));
}

void TScopePicture::ZoomTrail() {
    // The rectangle (6, 3)..(633, 316) grows onto the whole picture.
    static const std::array<int, kScopeWidth> columns = [] {
        std::array<int, kScopeWidth> table{};
        for (int x = 0; x < kScopeWidth; ++x)
            table[std::size_t(x)] = 3 * (6 + x * 628 / 640);
        return table;
    }();
    std::uint8_t* bits = picture_.bits();
    std::memcpy(scratch_.data(), bits, std::size_t(kBytes));
    for (int y = 0; y < kScopeHeight; ++y) {
        const std::uint8_t* from = scratch_.data() + (3 + y * 314 / 320) * kStride;
        std::uint8_t* row = bits + y * kStride;
        for (int x = 0; x < kScopeWidth; ++x) {
            const std::uint8_t* pixel = from + columns[std::size_t(x)];
            row[3 * x] = pixel[0];
            row[3 * x + 1] = pixel[1];
            row[3 * x + 2] = pixel[2];
        }
    }
}

void TScopePicture::Process() {
    std::uint8_t* bits = picture_.bits();
    auto row = [bits](int y) { return bits + y * kStride; };
    if (style_ >= 2 && style_ <= 5) {
        // Away from each base line: upwards over the wave, downwards below it.
        for (int c = 0; c < 2; ++c) {
            const int top = 160 * c, bottom = top + 159, base = kBase[std::size_t(c)];
            for (int y = base - 1; y >= top; --y)
                SmearRow(row(y), row(y + 1));
            for (int y = base + 1; y <= bottom; ++y)
                SmearRow(row(y), row(y - 1));
        }
    } else if (style_ == 6) {
        // Flames rise a row a frame above each base line.
        for (int c = 0; c < 2; ++c) {
            const int top = 160 * c, base = kBase[std::size_t(c)];
            for (int y = top; y < base - 1; ++y) {
                std::uint8_t* out = row(y);
                const std::uint8_t* below = row(y + 1);
                const std::uint8_t* below2 = row(y + 2);
                // The line is drawn white-hot; blue cools fastest and red
                // slowest, so the flame turns yellow, orange and red
                // towards its tips, and it burns out since nothing heats it
                // but the line.
                for (int i = 3; i < kStride - 3; ++i) {
                    const int rise =
                        (3 * std::max({below[i - 3], below[i], below[i + 3]}) + below2[i]) / 4 -
                        kCooling[std::size_t(i % 3)];
                    out[i] = std::max(out[i], Saturate(rise));
                }
            }
        }
    } else if (style_ == 7 || style_ == 9 || style_ == 13 || style_ == 14) {
        for (int y = 0; y < kScopeHeight - 1; ++y) {
            std::uint8_t* out = row(y);
            const std::uint8_t* next = row(y + 1) + 3;
            // White only where both are bright (along the line itself): a
            // glow that spread into the dark would keep itself alive.
            for (int i = 0; i < kStride - 3; ++i) {
                const int mean = (out[i] + next[i]) / 2;
                out[i] = out[i] >= 64 && next[i] >= 64 ? 255 : std::uint8_t(mean);
            }
        }
    } else if (style_ == 8 || style_ == 10) {
        for (int y = kScopeHeight - 1; y > 0; --y) {
            std::uint8_t* out = row(y);
            const std::uint8_t* upper = row(y - 1) + 3;
            for (int i = 0; i < kStride - 3; ++i)
                out[i] = std::uint8_t((out[i] + upper[i] + 1) / 2);
        }
    } else if (style_ == 11 || style_ == 12) {
        // Outwards from the centre: rows up and down, then columns left and right.
        for (int y = kCentreY - 1; y >= 0; --y)
            SmearRow(row(y), row(y + 1));
        for (int y = kCentreY + 1; y < kScopeHeight; ++y)
            SmearRow(row(y), row(y - 1));
        for (int y = 0; y < kScopeHeight; ++y) {
            std::uint8_t* r = row(y);
            for (int i = 3 * (kCentreX - 1); i >= 0; --i)
                r[i] = std::max(r[i], std::uint8_t((r[i + 3] * 3) >> 2));
            for (int i = 3 * (kCentreX + 1); i < kStride; ++i)
                r[i] = std::max(r[i], std::uint8_t((r[i - 3] * 3) >> 2));
        }
    } else if (style_ == 15) {
        // Sparkle: the thresholds change every frame.
        const int first = Draw(128, 191), second = Draw(176, 239);
        for (int y = 0; y < kScopeHeight - 1; ++y) {
            std::uint8_t* out = row(y);
            const std::uint8_t* next = row(y + 1);
            for (int i = 0; i < kStride; ++i) {
                const int mean = (out[i] + next[i]) / 2;
                out[i] = mean > (i % 3 == 1 ? second : first) ? 255 : std::uint8_t(mean);
            }
        }
    }
}

void TScopePicture::Step(TDecay& decay, int low, int high) {
    if (--decay.hold <= 0) {
        decay.amount = Draw(low, high);
        decay.hold = Draw(7, 13);
    }
}

void TScopePicture::Fade() {
    const bool gentle = style_ == 8 || style_ == 10 || style_ == 12 || style_ == 15;
    if (style_ == 6) {
        Step(decay_, 14, 27);
        Step(lowerDecay_, 14, 27);
    } else {
        Step(decay_, gentle ? 3 : 7, gentle ? 8 : 20);
    }
    std::uint8_t* bits = picture_.bits();
    const int half = kBytes / 2;
    auto fade = [](std::uint8_t* from, int count, int amount) {
        for (int i = 0; i < count; ++i)
            from[i] = std::uint8_t(std::max(0, from[i] - amount));
    };
    fade(bits, half, decay_.amount);
    fade(bits + half, half, style_ == 6 ? lowerDecay_.amount : decay_.amount);
}

} // namespace dorvane
