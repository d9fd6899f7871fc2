#include "MapGeometry.h"

#include <algorithm>

#include <QPainter>

#include "SpawnTable.h"

namespace {

int rowOf(int y, int zoom) { return kMapCells * zoom - y * zoom; }

}  // namespace

SpotRect normalised(SpotRect rect) {
    return {std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
            std::max(rect.left, rect.right), std::max(rect.top, rect.bottom)};
}

SpotRect pointSpotRect(int x, int y, int zoom) {
    return {x * zoom - 1, rowOf(y, zoom) - 2, x * zoom + 1, rowOf(y, zoom)};
}

SpotRect rangeSpotRect(int x0, int y0, int x1, int y1, int zoom) {
    return {x0 * zoom - 1, rowOf(y0, zoom) - 2, x1 * zoom - 1, rowOf(y1, zoom)};
}

SpotRect rangeSelectionRect(int x0, int y0, int x1, int y1, int zoom) {
    return {x0 * zoom - 1, rowOf(y0, zoom) - 2, x1 * zoom + 1, rowOf(y1, zoom)};
}

std::vector<SpotRect> spotRectangles(std::span<const SpawnEntry> work, int count, int zoom) {
    std::vector<SpotRect> rects;
    appendSpotRectangles(work, count, zoom, rects);
    return rects;
}

void appendSpotRectangles(std::span<const SpawnEntry> work, int count, int zoom, std::vector<SpotRect>& out) {
    const auto n = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(count, 0)), 0, work.size());
    out.reserve(out.size() + n);
    for (const SpawnEntry& e : work.first(n)) {
        if (e.spotid == -1) continue;
        out.push_back(e.ispoint ? pointSpotRect(e.x0, e.y0, zoom) : rangeSpotRect(e.x0, e.y0, e.x1, e.y1, zoom));
    }
}

int roundHalfEven(long long num, long long den) {
    long long q = num / den;
    long long r = num % den;
    if (r < 0) {  // floor division for pointers captured left of or above the surface
        r += den;
        --q;
    }
    if (2 * r > den || (2 * r == den && (q % 2 != 0))) ++q;
    return static_cast<int>(q);
}

QPoint labelCell(QPoint pixel, int zoom) {
    return {roundHalfEven(pixel.x(), zoom),
            roundHalfEven(static_cast<long long>(kMapCells) * zoom - 1 - pixel.y(), zoom)};
}

QPoint selectionCell(QPoint pixel, int zoom) {
    return {roundHalfEven(pixel.x(), zoom),
            roundHalfEven(static_cast<long long>(kMapCells) * zoom - pixel.y(), zoom)};
}

void drawOutline(QPainter& painter, SpotRect rect) {
    const SpotRect r = normalised(rect);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return;
    const QColor white(255, 255, 255);
    painter.fillRect(r.left, r.top, width, 1, white);
    painter.fillRect(r.left, r.bottom - 1, width, 1, white);
    painter.fillRect(r.left, r.top, 1, height, white);
    painter.fillRect(r.right - 1, r.top, 1, height, white);
}
