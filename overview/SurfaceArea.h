#pragma once
// Pixel areas that the overview surface's state, drawing and dragging share.

#include <algorithm>
#include <span>

#include <QPoint>
#include <QRect>

#include "OverviewGeometry.h"

namespace surfacearea {

// Beyond this many spots changing their look at once, drawing every block again is as quick.
constexpr int kManySpots = 256;

inline QRect qtRect(const SpotRect& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

// Where a whole group of spots is drawn, selected or not.
inline SpotRect boundsOf(std::span<const SpawnEntry> spots, int zoom) {
    SpotRect all{0, 0, 0, 0};
    for (const SpawnEntry& spot : spots) {
        const SpotRect r = spotBounds(spot, zoom);
        all = all.right <= all.left ? r
                                    : SpotRect{std::min(all.left, r.left), std::min(all.top, r.top),
                                               std::max(all.right, r.right), std::max(all.bottom, r.bottom)};
    }
    return all;
}

inline SpotRect shifted(const SpotRect& r, QPoint by) { return {r.left + by.x(), r.top + by.y(), r.right + by.x(), r.bottom + by.y()}; }

// A cell step (Y upwards) as pixels on the screen.
inline QPoint pixelStep(QPoint cells, int zoom) { return {cells.x() * zoom, -cells.y() * zoom}; }

}  // namespace surfacearea
