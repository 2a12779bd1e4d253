// The balls, the person icon, the two word pictures and the program icon.
#include "artgen.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace artgen {

QImage RenderBall(int size, QColor base) {
    // Phong shading of a unit sphere lit from the upper left, with a little
    // light bounced up from below so the dark side is not a flat blot.
    constexpr int kSub = 4;
    const double c = size / 2.0;
    const double r = size / 2.0 - 0.75;
    double lx = -0.45, ly = -0.6, lz = 0.66;
    const double ln = std::sqrt(lx * lx + ly * ly + lz * lz);
    lx /= ln;
    ly /= ln;
    lz /= ln;
    const double br = base.redF(), bg = base.greenF(), bb = base.blueF();

    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < size; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size; ++x) {
            double sr = 0, sg = 0, sb = 0, cover = 0;
            for (int sy = 0; sy < kSub; ++sy) {
                for (int sx = 0; sx < kSub; ++sx) {
                    const double dx = (x + (sx + 0.5) / kSub - c) / r;
                    const double dy = (y + (sy + 0.5) / kSub - c) / r;
                    const double d2 = dx * dx + dy * dy;
                    if (d2 > 1.0) continue;
                    const double nz = std::sqrt(1.0 - d2);
                    const double ndl = dx * lx + dy * ly + nz * lz;
                    const double diffuse = std::max(0.0, ndl);
                    // Reflection of the light about the normal, seen from the front.
                    const double rz = 2.0 * ndl * nz - lz;
                    const double spec = std::pow(std::max(0.0, rz), 28.0);
                    const double bounce = std::max(0.0, dy) * 0.18 * (1.0 - nz * 0.5);
                    const double rim = 0.75 + 0.25 * nz;
                    const double k = (0.22 + 0.88 * diffuse + bounce) * rim;
                    sr += std::min(1.0, br * k + 0.85 * spec);
                    sg += std::min(1.0, bg * k + 0.85 * spec);
                    sb += std::min(1.0, bb * k + 0.85 * spec);
                    cover += 1.0;
                }
            }
            const double n = kSub * kSub;
            auto byte = [](double v) {
                return std::clamp(static_cast<int>(v * 255.0 + 0.5), 0, 255);
            };
            line[x] = qRgba(byte(sr / n), byte(sg / n), byte(sb / n), byte(cover / n));
        }
    }
    return image;
}

QImage MakePersonIcon() {
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Shoulders: the top half of a wide rounded shape, cut by the frame.
    QPainterPath body;
    body.moveTo(3.5, 31.5);
    body.cubicTo(3.5, 22.0, 9.0, 18.5, 16.0, 18.5);
    body.cubicTo(23.0, 18.5, 28.5, 22.0, 28.5, 31.5);
    body.closeSubpath();
    QLinearGradient shirt(6, 18, 26, 32);
    shirt.setColorAt(0, QColor(92, 148, 214));
    shirt.setColorAt(1, QColor(30, 64, 130));
    p.setPen(QPen(QColor(22, 40, 80), 1.0));
    p.setBrush(shirt);
    p.drawPath(body);

    QRadialGradient face(13.5, 8.5, 9.0);
    face.setColorAt(0, QColor(255, 228, 200));
    face.setColorAt(0.7, QColor(232, 180, 140));
    face.setColorAt(1, QColor(190, 130, 95));
    p.setPen(QPen(QColor(120, 76, 50), 1.0));
    p.setBrush(face);
    p.drawEllipse(QRectF(9.5, 2.5, 13.0, 14.0));

    // Hair as a cap over the top of the head.
    QPainterPath hair;
    hair.moveTo(9.6, 9.5);
    hair.cubicTo(9.0, 1.0, 23.0, 1.0, 22.4, 9.5);
    hair.cubicTo(19.0, 6.0, 13.0, 6.0, 9.6, 9.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(88, 56, 34));
    p.drawPath(hair);
    return image;
}

QImage MakeWordPicture(const QString& word, QColor top, QColor bottom) {
    QImage image(72, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF plate(1.5, 4.5, 69.0, 23.0);
    QLinearGradient fill(0, plate.top(), 0, plate.bottom());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(QPen(bottom.darker(160), 1.0));
    p.setBrush(fill);
    p.drawRoundedRect(plate, 5, 5);
    // A soft gloss on the upper half.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 46));
    p.drawRoundedRect(QRectF(3, 6, 66, 9), 4, 4);

    // The word stays inside the straight part of the plate: a long one is
    // drawn smaller rather than over the rounded ends.
    const double room = plate.width() - 2 * 5.0 - 2.0;
    double height = 11.0;
    double spacing = 1.6;
    while (StrokeTextWidth(word, height, spacing) > room && height > 5.0) {
        height -= 0.25;
        spacing = 1.6 * height / 11.0;
    }
    const double width = StrokeTextWidth(word, height, spacing);
    const double x = (72.0 - width) / 2.0;
    const double y = (32.0 - height) / 2.0;
    p.setPen(QPen(QColor(0, 0, 0, 150), 1.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    StrokeText(p, word, x + 0.8, y + 0.8, height, spacing);
    p.setPen(QPen(QColor(255, 255, 255), 1.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    StrokeText(p, word, x, y, height, spacing);
    return image;
}

QImage MakeProgramIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);

    const double s = size;
    const QRectF board(s * 0.03, s * 0.03, s * 0.94, s * 0.94);
    QLinearGradient felt(0, 0, s, s);
    felt.setColorAt(0, QColor(44, 140, 84));
    felt.setColorAt(1, QColor(16, 80, 44));
    p.setPen(QPen(QColor(8, 44, 24), std::max(1.0, s / 48.0)));
    p.setBrush(felt);
    p.drawRoundedRect(board, s * 0.16, s * 0.16);

    if (size >= 32) {
        // The grid lines of the centre of the board.
        p.setPen(QPen(QColor(10, 52, 28, 160), std::max(1.0, s / 64.0)));
        for (int i = 1; i < 4; ++i) {
            const double t = s * (0.03 + 0.94 * i / 4.0);
            p.drawLine(QPointF(t, s * 0.08), QPointF(t, s * 0.92));
            p.drawLine(QPointF(s * 0.08, t), QPointF(s * 0.92, t));
        }
    }

    // The four discs of the start position.
    const int ball = static_cast<int>(std::lround(s * 0.40));
    const QImage green = RenderBall(ball, QColor(48, 176, 72));
    const QImage blue = RenderBall(ball, QColor(44, 96, 224));
    const double lo = s * 0.5 - ball - s * 0.005;
    const double hi = s * 0.5 + s * 0.005;
    p.drawImage(QPointF(lo, lo), green);
    p.drawImage(QPointF(hi, hi), green);
    p.drawImage(QPointF(hi, lo), blue);
    p.drawImage(QPointF(lo, hi), blue);
    return image;
}

namespace {

// The plate behind both logos: they are JPEG pictures without transparency.
void LogoPlate(QPainter& p, const QRectF& r) {
    QLinearGradient plate(r.topLeft(), r.bottomLeft());
    plate.setColorAt(0, QColor(28, 104, 92));
    plate.setColorAt(1, QColor(10, 52, 46));
    p.fillRect(r, plate);
}

} // namespace

QImage MakeLogoBanner() {
    QImage image(240, 78, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    LogoPlate(p, QRectF(0, 0, 240, 78));
    // Two discs at the left, the name beside them.
    p.drawImage(QPointF(10, 14), RenderBall(30, QColor(48, 176, 72)));
    p.drawImage(QPointF(30, 34), RenderBall(30, QColor(44, 96, 224)));
    const double height = 28.0;
    const double spacing = 5.0;
    const QString name = QStringLiteral("DORVANE");
    const double x = 72.0 + (160.0 - StrokeTextWidth(name, height, spacing)) / 2.0;
    const double y = (78.0 - height) / 2.0;
    p.setPen(QPen(QColor(0, 0, 0, 140), 4.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    StrokeText(p, name, x + 1.5, y + 1.5, height, spacing);
    p.setPen(QPen(QColor(250, 240, 200), 3.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    StrokeText(p, name, x, y, height, spacing);
    return image;
}

QImage MakeLogoIcon() {
    QImage image(48, 48, QImage::Format_RGB32);
    QPainter p(&image);
    LogoPlate(p, QRectF(0, 0, 48, 48));
    p.drawImage(0, 0, MakeProgramIcon(48));
    return image;
}

} // namespace artgen
