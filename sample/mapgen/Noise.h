#pragma once
// Deterministic noise for the map pictures: the same map number always gives the
// same picture, on every compiler and library (no std:: distributions).

#include <cmath>
#include <cstdint>

inline std::uint64_t mix64(std::uint64_t z) {
    z += 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// 0..1 from a lattice point.
inline double latticeValue(std::int64_t x, std::int64_t y, std::uint64_t seed) {
    const std::uint64_t h = mix64(seed ^ mix64(static_cast<std::uint64_t>(x) * 0x100000001B3ull ^
                                               static_cast<std::uint64_t>(y)));
    return static_cast<double>(h >> 11) * (1.0 / 9007199254740992.0);
}

inline double smooth(double t) { return t * t * (3.0 - 2.0 * t); }

inline double valueNoise(double x, double y, std::uint64_t seed) {
    const double fx = std::floor(x), fy = std::floor(y);
    const auto ix = static_cast<std::int64_t>(fx), iy = static_cast<std::int64_t>(fy);
    const double tx = smooth(x - fx), ty = smooth(y - fy);
    const double a = latticeValue(ix, iy, seed), b = latticeValue(ix + 1, iy, seed);
    const double c = latticeValue(ix, iy + 1, seed), d = latticeValue(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

// Fractal sum of octaves, about 0..1.
inline double fractalNoise(double x, double y, std::uint64_t seed, int octaves) {
    double sum = 0, amplitude = 1, total = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * valueNoise(x, y, seed + static_cast<std::uint64_t>(o) * 7919);
        total += amplitude;
        amplitude *= 0.5;
        x *= 2.03;
        y *= 2.03;
    }
    return sum / total;
}

// A small random-number source for choosing rivers, roads and coasts.
class MapRandom {
public:
    explicit MapRandom(std::uint64_t seed) : state_(mix64(seed)) {}
    std::uint64_t next() { return state_ = mix64(state_); }
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    double between(double lo, double hi) { return lo + (hi - lo) * unit(); }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

private:
    std::uint64_t state_;
};
