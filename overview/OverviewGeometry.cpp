#include "OverviewGeometry.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kLastCell = kMapCells - 1;

bool contains(const SpotRect& r, QPoint p) {
    return p.x() >= r.left && p.x() < r.right && p.y() >= r.top && p.y() < r.bottom;
}

long long area(const CellBox& b) { return static_cast<long long>(b.x1 - b.x0 + 1) * (b.y1 - b.y0 + 1); }

// How near a pixel lies to an edge line: 0 on it.
int distance(int from, int line) { return std::abs(from - line); }

}  // namespace

CellBox cellBox(const SpawnEntry& spot) {
    if (spot.ispoint) return {spot.x0, spot.y0, spot.x0, spot.y0};
    return {std::min(spot.x0, spot.x1), std::min(spot.y0, spot.y1), std::max(spot.x0, spot.x1),
            std::max(spot.y0, spot.y1)};
}

QPoint cellPixel(int x, int y, int zoom) { return {x * zoom, (kLastCell - y) * zoom}; }

namespace {

int floorDiv(int a, int b) { return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0); }

}  // namespace

// Cell x owns the columns x*z - z/2 up to x*z - z/2 + z; cell y the rows from
// (255 - y)*z - z/2 on, z of them, Y growing upwards.
QPoint cellUnder(QPoint pixel, int zoom) {
    const int half = zoom / 2;
    return {floorDiv(pixel.x() + half, zoom), kLastCell - floorDiv(pixel.y() + half, zoom)};
}

QPoint shownCell(QPoint pixel, int zoom) {
    const QPoint cell = cellUnder(pixel, zoom);
    return {std::clamp(cell.x(), 0, kLastCell), std::clamp(cell.y(), 0, kLastCell)};
}

SpotRect markRect(int x, int y, int zoom) {
    const QPoint p = cellPixel(x, y, zoom);
    return {p.x() - kMarkRadius, p.y() - kMarkRadius, p.x() + kMarkRadius + 1, p.y() + kMarkRadius + 1};
}

SpotRect outlineRect(const CellBox& box, int zoom) {
    const QPoint upperLeft = cellPixel(box.x0, box.y1, zoom);
    const QPoint lowerRight = cellPixel(box.x1, box.y0, zoom);
    return {upperLeft.x(), upperLeft.y(), lowerRight.x() + 1, lowerRight.y() + 1};
}

SpotRect spotRect(const SpawnEntry& spot, int zoom) {
    return spot.ispoint ? markRect(spot.x0, spot.y0, zoom) : outlineRect(cellBox(spot), zoom);
}

SpotRect spotBounds(const SpawnEntry& spot, int zoom) {
    // A selected spot gets a wider halo, and a range handles on its corners.
    if (!spot.ispoint) return grown(spotRect(spot, zoom), kMarkRadius + 2);
    return grown(spotRect(spot, zoom), kTickLength + 2);
}

SpotRect grown(const SpotRect& r, int by) { return {r.left - by, r.top - by, r.right + by, r.bottom + by}; }

bool intersects(const SpotRect& a, const SpotRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::optional<QPoint> facingStep(std::int32_t dir) {
    switch (dir) {
    case 7: return QPoint(-1, -1);
    case 8: return QPoint(0, -1);
    case 9: return QPoint(1, -1);
    case 4: return QPoint(-1, 0);
    case 6: return QPoint(1, 0);
    case 1: return QPoint(-1, 1);
    case 2: return QPoint(0, 1);
    case 3: return QPoint(1, 1);
    default: return std::nullopt;
    }
}

Grab grabAt(const SpawnEntry& spot, QPoint pixel, int zoom) {
    const SpotRect r = spotRect(spot, zoom);
    if (!contains(grown(r, kGrabMargin), pixel)) return Grab::None;
    if (spot.ispoint) return Grab::Point;
    // An edge is taken from outside up to the margin, and from its line inwards less
    // far in a small outline, whose inside is then the body's, so that it can be moved.
    const int inward = std::min(kGrabMargin, std::min(r.right - r.left, r.bottom - r.top) / 4);
    const auto near = [&](int from, int line, bool inside) {
        return inside ? distance(from, line) < inward : distance(from, line) <= kGrabMargin;
    };
    const int right = r.right - 1;
    const int bottom = r.bottom - 1;
    const bool left = near(pixel.x(), r.left, pixel.x() >= r.left);
    const bool rightEdge = near(pixel.x(), right, pixel.x() <= right);
    const bool top = near(pixel.y(), r.top, pixel.y() >= r.top);
    const bool bottomEdge = near(pixel.y(), bottom, pixel.y() <= bottom);
    // Both edges near (a narrow outline): the nearer one.
    const bool takeLeft = left && (!rightEdge || distance(pixel.x(), r.left) < distance(pixel.x(), right));
    const bool takeRight = rightEdge && !takeLeft;
    const bool takeTop = top && (!bottomEdge || distance(pixel.y(), r.top) < distance(pixel.y(), bottom));
    const bool takeBottom = bottomEdge && !takeTop;
    if (takeTop) return takeLeft ? Grab::TopLeft : takeRight ? Grab::TopRight : Grab::Top;
    if (takeBottom) return takeLeft ? Grab::BottomLeft : takeRight ? Grab::BottomRight : Grab::Bottom;
    if (takeLeft) return Grab::Left;
    if (takeRight) return Grab::Right;
    return Grab::Body;
}

namespace {

SpotRect hitArea(const SpawnEntry& spot, int zoom) { return grown(spotRect(spot, zoom), kGrabMargin); }

void sortTopmostFirst(std::span<const SpawnEntry> spots, std::vector<int>& under) {
    std::sort(under.begin(), under.end(), [&](int a, int b) {
        const SpawnEntry& sa = spots[static_cast<std::size_t>(a)];
        const SpawnEntry& sb = spots[static_cast<std::size_t>(b)];
        if (sa.ispoint != sb.ispoint) return sa.ispoint;
        const long long areaA = area(cellBox(sa));
        const long long areaB = area(cellBox(sb));
        if (areaA != areaB) return areaA < areaB;
        return a > b;
    });
}

}  // namespace

std::vector<int> spotsUnder(std::span<const SpawnEntry> spots, QPoint pixel, int zoom) {
    std::vector<int> under;
    for (std::size_t i = 0; i < spots.size(); ++i)
        if (contains(hitArea(spots[i], zoom), pixel)) under.push_back(static_cast<int>(i));
    sortTopmostFirst(spots, under);
    return under;
}

int spotTaken(std::span<const SpawnEntry> spots, const std::vector<int>& under, int selected, QPoint pixel,
              int zoom) {
    if (under.empty()) return -1;
    const bool onSelected = selected >= 0 && std::find(under.begin(), under.end(), selected) != under.end();
    if (onSelected) {
        const Grab grab = grabAt(spots[static_cast<std::size_t>(selected)], pixel, zoom);
        if (grab != Grab::None && grab != Grab::Body) return selected;
    }
    return under.front();
}

int SpotIndex::block(int pixel) const { return std::clamp(pixel / (kBlockCells * zoom_), 0, kBlocks - 1); }

// Spots are filed by where their drawing reaches, which holds where the mouse takes them.
void SpotIndex::build(std::span<const SpawnEntry> spots, int zoom) {
    zoom_ = zoom;
    blocks_.assign(static_cast<std::size_t>(kBlocks * kBlocks), {});
    for (std::size_t i = 0; i < spots.size(); ++i) {
        const Span span = blocksOf(spotBounds(spots[i], zoom));
        for (int row = span.firstRow; row <= span.lastRow; ++row)
            for (int column = span.firstColumn; column <= span.lastColumn; ++column)
                blocks_[static_cast<std::size_t>(row * kBlocks + column)].push_back(static_cast<int>(i));
    }
}

SpotIndex::Span SpotIndex::blocksOf(const SpotRect& area) const {
    return {block(area.top), block(area.bottom - 1), block(area.left), block(area.right - 1)};
}

SpotRect SpotIndex::blockArea(int row, int column) const {
    const int side = kBlockCells * zoom_;
    return {column * side, row * side, (column + 1) * side, (row + 1) * side};
}

void SpotIndex::refile(int i, const SpawnEntry& was, const SpawnEntry& now) {
    const Span before = blocksOf(spotBounds(was, zoom_));
    const Span after = blocksOf(spotBounds(now, zoom_));
    const auto within = [](const Span& s, int row, int column) {
        return row >= s.firstRow && row <= s.lastRow && column >= s.firstColumn && column <= s.lastColumn;
    };
    for (int row = before.firstRow; row <= before.lastRow; ++row)
        for (int column = before.firstColumn; column <= before.lastColumn; ++column) {
            if (within(after, row, column)) continue;
            auto& filed = blocks_[static_cast<std::size_t>(row * kBlocks + column)];
            filed.erase(std::lower_bound(filed.begin(), filed.end(), i));
        }
    for (int row = after.firstRow; row <= after.lastRow; ++row)
        for (int column = after.firstColumn; column <= after.lastColumn; ++column) {
            if (within(before, row, column)) continue;
            auto& filed = blocks_[static_cast<std::size_t>(row * kBlocks + column)];
            filed.insert(std::lower_bound(filed.begin(), filed.end(), i), i);  // kept in drawing order
        }
}

std::vector<int> SpotIndex::under(std::span<const SpawnEntry> spots, QPoint pixel) const {
    std::vector<int> found;
    if (blocks_.empty()) return found;
    for (const int i : blocks_[static_cast<std::size_t>(block(pixel.y()) * kBlocks + block(pixel.x()))])
        if (static_cast<std::size_t>(i) < spots.size() && contains(hitArea(spots[static_cast<std::size_t>(i)], zoom_), pixel))
            found.push_back(i);
    sortTopmostFirst(spots, found);
    return found;
}

bool resizes(Grab grab) { return grab != Grab::None && grab != Grab::Point && grab != Grab::Body; }

SpawnEntry dragged(const SpawnEntry& spot, Grab grab, int dx, int dy) {
    const CellBox old = cellBox(spot);
    CellBox box = old;
    if (grab == Grab::Point || grab == Grab::Body) {
        dx = std::clamp(dx, -box.x0, kLastCell - box.x1);
        dy = std::clamp(dy, -box.y0, kLastCell - box.y1);
        box = {box.x0 + dx, box.y0 + dy, box.x1 + dx, box.y1 + dy};
    } else if (grab != Grab::None && !spot.ispoint) {
        const auto edge = [](int cell, int by) { return std::clamp(cell + by, 0, kLastCell); };
        // The screen's top edge is the range's upper row, y1; Y grows upwards.
        if (grab == Grab::Left || grab == Grab::TopLeft || grab == Grab::BottomLeft) box.x0 = edge(box.x0, dx);
        if (grab == Grab::Right || grab == Grab::TopRight || grab == Grab::BottomRight) box.x1 = edge(box.x1, dx);
        if (grab == Grab::Top || grab == Grab::TopLeft || grab == Grab::TopRight) box.y1 = edge(box.y1, dy);
        if (grab == Grab::Bottom || grab == Grab::BottomLeft || grab == Grab::BottomRight) box.y0 = edge(box.y0, dy);
        box = {std::min(box.x0, box.x1), std::min(box.y0, box.y1), std::max(box.x0, box.x1), std::max(box.y0, box.y1)};
    }
    if (box == old) return spot;
    SpawnEntry moved = spot;
    moved.x0 = static_cast<std::uint8_t>(box.x0);
    moved.y0 = static_cast<std::uint8_t>(box.y0);
    if (!spot.ispoint) {
        moved.x1 = static_cast<std::uint8_t>(box.x1);
        moved.y1 = static_cast<std::uint8_t>(box.y1);
    }
    return moved;
}

SpawnEntry nudged(const SpawnEntry& spot, int dx, int dy) {
    return dragged(spot, spot.ispoint ? Grab::Point : Grab::Body, dx, dy);
}

std::optional<CellBox> groupBox(std::span<const SpawnEntry> spots) {
    if (spots.empty()) return std::nullopt;
    CellBox group = cellBox(spots.front());
    for (const SpawnEntry& spot : spots) {
        const CellBox box = cellBox(spot);
        group = {std::min(group.x0, box.x0), std::min(group.y0, box.y0), std::max(group.x1, box.x1),
                 std::max(group.y1, box.y1)};
    }
    return group;
}

QPoint groupStep(std::span<const SpawnEntry> spots, int dx, int dy) {
    const std::optional<CellBox> group = groupBox(spots);
    if (!group) return {};
    return {std::clamp(dx, -group->x0, kLastCell - group->x1), std::clamp(dy, -group->y0, kLastCell - group->y1)};
}

std::vector<SpawnEntry> movedBy(std::span<const SpawnEntry> spots, int dx, int dy) {
    std::vector<SpawnEntry> moved;
    moved.reserve(spots.size());
    for (const SpawnEntry& spot : spots) moved.push_back(nudged(spot, dx, dy));
    return moved;
}

std::optional<std::vector<SpawnEntry>> placedAt(std::span<const SpawnEntry> spots, int map, QPoint upperLeft) {
    const std::optional<CellBox> group = groupBox(spots);
    if (!group) return std::vector<SpawnEntry>{};
    const int dx = upperLeft.x() - group->x0;
    const int dy = upperLeft.y() - group->y1;
    const auto onMap = [](int cell) { return cell >= 0 && cell <= kLastCell; };
    if (!onMap(group->x0 + dx) || !onMap(group->x1 + dx) || !onMap(group->y0 + dy) || !onMap(group->y1 + dy))
        return std::nullopt;
    std::vector<SpawnEntry> placed;
    placed.reserve(spots.size());
    for (SpawnEntry spot : spots) {
        spot.mapnumber = static_cast<std::uint8_t>(map);
        spot.x0 = static_cast<std::uint8_t>(spot.x0 + dx);
        spot.y0 = static_cast<std::uint8_t>(spot.y0 + dy);
        if (!spot.ispoint) {
            spot.x1 = static_cast<std::uint8_t>(spot.x1 + dx);
            spot.y1 = static_cast<std::uint8_t>(spot.y1 + dy);
        }
        placed.push_back(spot);
    }
    return placed;
}
