#include "artgen.h"

#include <cmath>

namespace artgen {

std::uint64_t TRng::Next() {
    State += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = State;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double TRng::Uniform() {
    return static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

namespace {

double Lattice(int x, int y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<double>(h & 0xFFFFFF) / static_cast<double>(0xFFFFFF);
}

double Smooth(double t) {
    return t * t * (3.0 - 2.0 * t);
}

} // namespace

double ValueNoise(double x, double y, std::uint32_t seed) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const double tx = Smooth(x - fx);
    const double ty = Smooth(y - fy);
    const double a = Lattice(ix, iy, seed);
    const double b = Lattice(ix + 1, iy, seed);
    const double c = Lattice(ix, iy + 1, seed);
    const double d = Lattice(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double Fbm(double x, double y, int octaves, std::uint32_t seed) {
    double sum = 0.0;
    double amplitude = 0.5;
    double norm = 0.0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * ValueNoise(x, y, seed + static_cast<std::uint32_t>(i) * 101u);
        norm += amplitude;
        x *= 2.03;
        y *= 2.03;
        amplitude *= 0.5;
    }
    return sum / norm;
}

} // namespace artgen
