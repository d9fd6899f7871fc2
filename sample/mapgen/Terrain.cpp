#include "Terrain.h"

#include "Noise.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

struct Colour {
    double r, g, b;
};

Colour mix(Colour a, Colour b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

constexpr Colour kSand{212, 198, 146};
constexpr Colour kMeadow{116, 164, 74};
constexpr Colour kGrass{82, 134, 56};
constexpr Colour kForest{46, 96, 46};
constexpr Colour kHill{138, 116, 76};
constexpr Colour kRock{142, 136, 128};
constexpr Colour kSnow{238, 238, 243};
constexpr Colour kShallow{92, 154, 204};
constexpr Colour kDeep{22, 52, 122};
constexpr Colour kRoad{176, 150, 106};
constexpr Colour kRoadEdge{118, 98, 66};
constexpr Colour kBridge{112, 80, 48};

class Grid {
public:
    explicit Grid(int n) : n_(n), v_(static_cast<std::size_t>(n) * n) {}
    int size() const { return n_; }
    double& at(int x, int y) { return v_[static_cast<std::size_t>(y) * n_ + x]; }
    double get(int x, int y) const {
        x = std::clamp(x, 0, n_ - 1);
        y = std::clamp(y, 0, n_ - 1);
        return v_[static_cast<std::size_t>(y) * n_ + x];
    }

private:
    int n_;
    std::vector<double> v_;
};

struct Point {
    double x, y;
};

// Heights 0..1; a map may lean into the sea on one side.
Grid makeElevation(int n, std::uint64_t seed, MapRandom& rnd) {
    Grid e(n);
    const double freq = rnd.between(2.6, 4.2);
    const bool coast = rnd.unit() < 0.5;
    const int side = rnd.below(4);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            double h = fractalNoise(x * freq / n, y * freq / n, seed, 6);
            h = std::clamp((h - 0.5) * 1.7 + 0.5, 0.0, 1.0);
            if (coast) {
                const double edge = side == 0 ? x : side == 1 ? n - 1 - x : side == 2 ? y : n - 1 - y;
                const double g = edge / (0.4 * n);
                if (g < 1.0) h -= (1.0 - g) * (1.0 - g) * 0.45;
            }
            e.at(x, y) = h;
        }
    }
    return e;
}

// A river springs on high ground and follows the lowest way down until it meets water.
void carveRiver(Grid& e, double waterLevel, MapRandom& rnd) {
    const int n = e.size();
    Point p{0, 0};
    for (int tries = 0; tries < 200; ++tries) {
        p = {rnd.between(0.1, 0.9) * n, rnd.between(0.1, 0.9) * n};
        if (e.get(int(p.x), int(p.y)) > waterLevel + 0.2) break;
    }
    double heading = rnd.between(0, 2 * std::numbers::pi);
    const double step = n / 256.0;
    for (int i = 0; i < 2000; ++i) {
        double best = 1e9, bestHeading = heading;
        for (const double turn : {-0.5, -0.25, 0.0, 0.25, 0.5}) {
            const double h = heading + turn;
            const double v = e.get(int(p.x + std::cos(h) * 6 * step), int(p.y + std::sin(h) * 6 * step)) +
                             rnd.between(0, 0.01);
            if (v < best) best = v, bestHeading = h;
        }
        heading = bestHeading;
        p.x += std::cos(heading) * step;
        p.y += std::sin(heading) * step;
        if (p.x < 0 || p.y < 0 || p.x >= n || p.y >= n) return;
        const double width = (1.0 + std::min(i, 600) / 300.0) * step;
        const int r = int(std::ceil(width));
        for (int dy = -r; dy <= r; ++dy) {
            for (int dx = -r; dx <= r; ++dx) {
                const int x = int(p.x) + dx, y = int(p.y) + dy;
                if (x < 0 || y < 0 || x >= n || y >= n || dx * dx + dy * dy > width * width) continue;
                e.at(x, y) = std::min(e.at(x, y), waterLevel - 0.015);
            }
        }
        if (e.get(int(p.x + std::cos(heading) * 3 * step), int(p.y + std::sin(heading) * 3 * step)) <
            waterLevel - 0.04)
            return;
    }
}

// Midpoint displacement gives a road that wanders like one laid over real ground.
void roadPoints(Point a, Point b, double spread, int depth, MapRandom& rnd, std::vector<Point>& out) {
    if (depth == 0) {
        out.push_back(b);
        return;
    }
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    const double off = rnd.between(-spread, spread) * len;
    const Point mid{(a.x + b.x) / 2 + off * -(b.y - a.y) / (len + 1e-9),
                    (a.y + b.y) / 2 + off * (b.x - a.x) / (len + 1e-9)};
    roadPoints(a, mid, spread, depth - 1, rnd, out);
    roadPoints(mid, b, spread, depth - 1, rnd, out);
}

Point landPoint(const Grid& e, double waterLevel, MapRandom& rnd) {
    const int n = e.size();
    Point p{n / 2.0, n / 2.0};
    for (int tries = 0; tries < 300; ++tries) {
        p = {rnd.between(0.05, 0.95) * n, rnd.between(0.05, 0.95) * n};
        const double h = e.get(int(p.x), int(p.y));
        if (h > waterLevel + 0.03 && h < waterLevel + 0.3) break;
    }
    return p;
}

void setPixel(Picture& pic, int x, int y, Colour c) {
    if (x < 0 || y < 0 || x >= pic.size || y >= pic.size) return;
    auto* p = &pic.rgb[(static_cast<std::size_t>(y) * pic.size + x) * 3];
    p[0] = static_cast<std::uint8_t>(std::clamp(c.r, 0.0, 255.0));
    p[1] = static_cast<std::uint8_t>(std::clamp(c.g, 0.0, 255.0));
    p[2] = static_cast<std::uint8_t>(std::clamp(c.b, 0.0, 255.0));
}

void drawRoad(Picture& pic, const Grid& e, double waterLevel, const std::vector<Point>& path) {
    const double width = pic.size / 256.0 * 1.6;
    for (const bool edge : {true, false}) {
        const double w = edge ? width + pic.size / 256.0 * 0.8 : width;
        for (std::size_t i = 1; i < path.size(); ++i) {
            const Point a = path[i - 1], b = path[i];
            const int steps = int(std::hypot(b.x - a.x, b.y - a.y)) + 1;
            for (int s = 0; s <= steps; ++s) {
                const double t = double(s) / steps;
                const double cx = a.x + (b.x - a.x) * t, cy = a.y + (b.y - a.y) * t;
                const int r = int(std::ceil(w));
                for (int dy = -r; dy <= r; ++dy) {
                    for (int dx = -r; dx <= r; ++dx) {
                        if (dx * dx + dy * dy > w * w) continue;
                        const int x = int(cx) + dx, y = int(cy) + dy;
                        const bool wet = e.get(x, y) < waterLevel;
                        setPixel(pic, x, y, wet ? kBridge : edge ? kRoadEdge : kRoad);
                    }
                }
            }
        }
    }
}

Colour landColour(double h, double moisture) {
    if (h < 0.03) return mix(kSand, kMeadow, h / 0.03);
    if (h < 0.35) {
        const Colour grass = mix(kMeadow, kGrass, (h - 0.03) / 0.32);
        return mix(grass, kForest, (moisture - 0.5) / 0.12);
    }
    if (h < 0.6) return mix(mix(kGrass, kForest, (moisture - 0.5) / 0.12), kHill, (h - 0.35) / 0.25);
    if (h < 0.8) return mix(kHill, kRock, (h - 0.6) / 0.2);
    return mix(kRock, kSnow, (h - 0.8) / 0.12);
}

}  // namespace

Picture drawTerrain(int mapNumber, int size) {
    const std::uint64_t seed = mix64(0x5EED0000ull + static_cast<std::uint64_t>(mapNumber));
    MapRandom rnd(seed);
    Grid e = makeElevation(size, seed, rnd);
    const double waterLevel = rnd.between(0.36, 0.45);
    const int rivers = 1 + rnd.below(2);
    for (int i = 0; i < rivers; ++i) carveRiver(e, waterLevel, rnd);

    Picture pic{size, std::vector<std::uint8_t>(static_cast<std::size_t>(size) * size * 3)};
    const double shadeScale = size * 0.9;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double h = e.get(x, y);
            const double grain = (latticeValue(x, y, seed ^ 0xABCDu) - 0.5) * 10.0;
            Colour c;
            if (h < waterLevel) {
                c = mix(kShallow, kDeep, (waterLevel - h) / 0.1);
            } else {
                const double moisture = fractalNoise(x * 5.0 / size, y * 5.0 / size, seed ^ 0x77u, 4);
                c = landColour((h - waterLevel) / (1.0 - waterLevel), moisture);
                // Light from the upper left.
                const double slope = (e.get(x - 1, y) - e.get(x + 1, y)) + (e.get(x, y - 1) - e.get(x, y + 1));
                const double shade = std::clamp(1.0 + slope * shadeScale * 0.25, 0.8, 1.2);
                c = {c.r * shade, c.g * shade, c.b * shade};
            }
            setPixel(pic, x, y, {c.r + grain, c.g + grain, c.b + grain});
        }
    }

    const int roads = 2 + rnd.below(3);
    for (int i = 0, tries = 0; i < roads && tries < 60; ++tries) {
        const Point a = landPoint(e, waterLevel, rnd), b = landPoint(e, waterLevel, rnd);
        std::vector<Point> path{a};
        roadPoints(a, b, 0.22, 6, rnd, path);
        // Short bridges over rivers only; a road never runs across a lake.
        const auto wet = std::count_if(path.begin(), path.end(), [&](Point p) {
            return e.get(int(p.x), int(p.y)) < waterLevel;
        });
        if (wet > 2 || std::hypot(b.x - a.x, b.y - a.y) < size / 5.0) continue;
        drawRoad(pic, e, waterLevel, path);
        ++i;
    }
    return pic;
}
