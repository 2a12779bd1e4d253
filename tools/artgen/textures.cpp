// The five built-in textures. Each must work both as the board field (under
// the engraved grid and the balls) and stretched as the window background, so
// all of them keep a calm, low-contrast surface.
#include "artgen.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace artgen {
namespace {

constexpr int kSize = 200;

struct TRgb {
    double r, g, b;
};

TRgb Mix(TRgb a, TRgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

QImage Fill(const std::function<TRgb(double, double)>& shade) {
    QImage image(kSize, kSize, QImage::Format_RGB32);
    TRng dither(0x7E47);
    for (int y = 0; y < kSize; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kSize; ++x) {
            const TRgb c = shade(x / double(kSize), y / double(kSize));
            auto q = [&](double v) {
                return std::clamp(static_cast<int>(v + dither.Uniform() - 0.5 + 0.5), 0, 255);
            };
            line[x] = qRgb(q(c.r), q(c.g), q(c.b));
        }
    }
    return image;
}

// 1: dark blue-grey mottled stone.
TRgb Mottled(double u, double v) {
    const double n = Fbm(u * 6.0, v * 6.0, 5, 11);
    const double fine = Fbm(u * 40.0, v * 40.0, 2, 17);
    const double t = std::clamp((n - 0.3) * 1.6, 0.0, 1.0) * 0.85 + fine * 0.15;
    return Mix({34, 40, 54}, {92, 104, 124}, t);
}

// 2: deep teal baize with a fine woven grain; darker than the green ball
// so that the discs stand out on it.
TRgb Baize(double u, double v) {
    const double cloud = Fbm(u * 4.0, v * 4.0, 4, 23);
    const double grain =
        ValueNoise(u * 140.0, v * 140.0, 29) * 0.6 + ValueNoise(u * 70.0, v * 70.0, 31) * 0.4;
    const double t = cloud * 0.55 + grain * 0.45;
    return Mix({12, 62, 58}, {34, 104, 96}, t);
}

// 3: yellow to orange, diagonally, with a faint cloud so that it is not flat.
TRgb Gradient(double u, double v) {
    const double d = (u + v) * 0.5;
    const double cloud = Fbm(u * 3.0, v * 3.0, 3, 37) - 0.5;
    const TRgb c = Mix({252, 218, 92}, {232, 122, 36}, d + cloud * 0.18);
    return c;
}

// 4: warm wood with rings and grain running from top to bottom.
TRgb Wood(double u, double v) {
    const double warp = Fbm(u * 3.0, v * 1.2, 4, 41) * 2.5;
    const double rings = 0.5 + 0.5 * std::sin((u * 9.0 + warp) * 3.14159265358979 * 2.0);
    const double grain = ValueNoise(u * 180.0, v * 8.0, 43);
    const double t = std::pow(rings, 2.2) * 0.7 + grain * 0.3;
    return Mix({176, 118, 66}, {120, 72, 36}, t);
}

// 5: light marble with soft grey-blue veins.
TRgb Marble(double u, double v) {
    const double turbulence = Fbm(u * 2.5, v * 2.5, 4, 53);
    const double vein = std::abs(std::sin((u * 2.0 + v * 1.4 + turbulence * 3.0) * 3.14159265));
    const double t = std::pow(1.0 - vein, 10.0);
    const double cloud = Fbm(u * 5.0, v * 5.0, 4, 59);
    const TRgb base = Mix({238, 236, 230}, {208, 212, 218}, cloud);
    return Mix(base, {150, 158, 174}, t * 0.6);
}

} // namespace

QImage MakeTexture(int number) {
    switch (number) {
    case 1:
        return Fill(Mottled);
    case 2:
        return Fill(Baize);
    case 3:
        return Fill(Gradient);
    case 4:
        return Fill(Wood);
    default:
        return Fill(Marble);
    }
}

} // namespace artgen
