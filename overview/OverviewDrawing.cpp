// How the overview surface draws: a kept image of the picture and every spot, drawn
// again block by block where spots change, with the dragged spots and the selection box
// painted over it.

#include "OverviewSurface.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QColor>
#include <QPaintEvent>
#include <QPainter>

#include "Colours.h"
#include "SurfaceArea.h"

using namespace surfacearea;

namespace {

constexpr double kGoldenAngle = 137.50776405;  // consecutive numbers get far-apart hues

SpotRect clipped(const SpotRect& r, const SpotRect& to) {
    return {std::max(r.left, to.left), std::max(r.top, to.top), std::min(r.right, to.right),
            std::min(r.bottom, to.bottom)};
}

SpotRect around(QPoint p, int radius) { return {p.x() - radius, p.y() - radius, p.x() + radius + 1, p.y() + radius + 1}; }

// A spot as rectangles filled in order: the dark halo first, then the bright strokes.
// Fill takes (SpotRect, QRgb), so that the same drawing goes into the kept image's
// pixels and, for the selected and the dragged spot, through a painter.
template <class Fill>
void drawSpot(const SpawnEntry& spot, int zoom, bool selected, Fill&& fill) {
    const int halo = selected ? 2 : 1;
    const QRgb stroke = selected ? kSelectedColour : monsterColour(spot.monsterid);
    const auto ring = [&](const SpotRect& r, int width, QRgb colour) {
        fill(SpotRect{r.left, r.top, r.right, r.top + width}, colour);
        fill(SpotRect{r.left, r.bottom - width, r.right, r.bottom}, colour);
        fill(SpotRect{r.left, r.top, r.left + width, r.bottom}, colour);
        fill(SpotRect{r.right - width, r.top, r.right, r.bottom}, colour);
    };
    if (spot.ispoint) {
        const QPoint at = cellPixel(spot.x0, spot.y0, zoom);
        const std::optional<QPoint> step = facingStep(spot.dir);
        const auto tick = [&](int radius, QRgb colour) {
            if (!step) return;
            for (int k = kMarkRadius + 1; k <= kMarkRadius + kTickLength; ++k) fill(around(at + *step * k, radius), colour);
        };
        fill(grown(markRect(spot.x0, spot.y0, zoom), halo), kHaloColour);
        tick(halo, kHaloColour);
        fill(markRect(spot.x0, spot.y0, zoom), stroke);
        tick(0, stroke);
        return;
    }
    const SpotRect outline = outlineRect(cellBox(spot), zoom);
    const QPoint corners[] = {{outline.left, outline.top}, {outline.right - 1, outline.top},
                              {outline.left, outline.bottom - 1}, {outline.right - 1, outline.bottom - 1}};
    ring(grown(outline, halo), 2 * halo + 1, kHaloColour);
    if (selected)
        for (const QPoint corner : corners) fill(around(corner, kMarkRadius + 1), kHaloColour);
    ring(outline, 1, stroke);
    if (selected)
        for (const QPoint corner : corners) fill(around(corner, kMarkRadius), stroke);
}

// Fills straight into an RGB32 image's pixels, within an area.
struct PixelFill {
    QImage& image;
    SpotRect area;
    void operator()(const SpotRect& r, QRgb colour) const {
        const SpotRect c = clipped(r, area);
        if (c.right <= c.left || c.bottom <= c.top) return;
        for (int y = c.top; y < c.bottom; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            std::fill(line + c.left, line + c.right, colour);
        }
    }
};

}  // namespace

QRgb monsterColour(std::int32_t monsterid) {
    const double turns = std::fmod(static_cast<double>(monsterid) * kGoldenAngle, 360.0);
    const int hue = static_cast<int>(turns < 0 ? turns + 360.0 : turns) % 360;
    return QColor::fromHsv(hue, 190, 255).rgb();
}
void OverviewSurface::updateArea(const SpotRect& area) { update(qtRect(area)); }

// The blocks the area reaches into are drawn again when next painted.
void OverviewSurface::markStale(const SpotRect& area) {
    const SpotIndex::Span span = index_.blocksOf(area);
    for (int row = span.firstRow; row <= span.lastRow; ++row) {
        for (int column = span.firstColumn; column <= span.lastColumn; ++column) {
            std::uint8_t& stale = staleBlocks_[static_cast<std::size_t>(row * SpotIndex::kBlocks + column)];
            if (stale) continue;  // its paint is asked for already, or it is out of view
            stale = 1;
            updateArea(index_.blockArea(row, column));
        }
    }
}

void OverviewSurface::markAllStale() {
    std::fill(staleBlocks_.begin(), staleBlocks_.end(), 1);
    update();
}

// The kept image, brought up to date where it is painted.
const QImage& OverviewSurface::drawnFor(const QRect& painted) {
    const int side = kMapCells * zoom_;
    if (base_.isNull()) {
        base_ = picture_.at(zoom_);
        if (base_.isNull()) {
            base_ = QImage(side, side, QImage::Format_RGB32);
            base_.fill(kFormColour);
            QPainter painter(&base_);
            QFont caption = font();
            caption.setBold(true);
            caption.setPixelSize(13);
            painter.setFont(caption);
            painter.drawText(base_.rect(), Qt::AlignCenter, QStringLiteral("NO MAP or monster spot"));
        }
        if (drawn_.size() != base_.size()) drawn_ = QImage(base_.size(), QImage::Format_RGB32);
        std::fill(staleBlocks_.begin(), staleBlocks_.end(), 1);
    }
    const SpotIndex::Span span = index_.blocksOf({painted.left(), painted.top(), painted.right() + 1, painted.bottom() + 1});
    for (int row = span.firstRow; row <= span.lastRow; ++row) {
        for (int column = span.firstColumn; column <= span.lastColumn; ++column) {
            std::uint8_t& stale = staleBlocks_[static_cast<std::size_t>(row * SpotIndex::kBlocks + column)];
            if (!stale) continue;
            drawBlock(row, column);
            stale = 0;
        }
    }
    return drawn_;
}

// The block as drawing everything would leave it: the base's pixels, then every spot
// that reaches into it in drawing order, then the selected ones over them.
void OverviewSurface::drawBlock(int row, int column) {
    const SpotRect area = clipped(index_.blockArea(row, column), {0, 0, drawn_.width(), drawn_.height()});
    if (area.right <= area.left || area.bottom <= area.top) return;
    const auto bytes = static_cast<std::size_t>(area.right - area.left) * sizeof(QRgb);
    for (int y = area.top; y < area.bottom; ++y)
        std::memcpy(drawn_.scanLine(y) + area.left * sizeof(QRgb), base_.constScanLine(y) + area.left * sizeof(QRgb), bytes);
    const PixelFill fill{drawn_, area};
    const std::vector<int>& filed = index_.inBlock(row, column);
    bool anySelected = false;
    for (const int i : filed) {
        const SpawnEntry& spot = spots_[static_cast<std::size_t>(i)];
        if (isSelected(spot.spotid)) {
            anySelected = true;
            continue;
        }
        drawSpot(spot, zoom_, false, fill);
    }
    if (!anySelected || (drag_ && drag_->lifted)) return;
    for (const int i : filed) {
        const SpawnEntry& spot = spots_[static_cast<std::size_t>(i)];
        if (isSelected(spot.spotid)) drawSpot(spot, zoom_, true, fill);
    }
}

void OverviewSurface::paintEvent(QPaintEvent* event) {
    const QRect painted = event->rect();
    const QImage& image = drawnFor(painted);
    QPainter painter(this);
    painter.drawImage(painted, image, painted);
    const auto fillRect = [&](const SpotRect& r, QRgb colour) {
        if (r.right > r.left && r.bottom > r.top) painter.fillRect(qtRect(r), QColor::fromRgb(colour));
    };
    if (drag_ && drag_->lifted) {
        const SpotRect shown{painted.left(), painted.top(), painted.right() + 1, painted.bottom() + 1};
        if (drag_->originals.size() == 1) {
            drawSpot(drag_->shown, zoom_, true, fillRect);
        } else {
            for (const SpawnEntry& spot : drag_->originals) {
                const SpawnEntry moved = nudged(spot, drag_->step.x(), drag_->step.y());
                if (intersects(spotBounds(moved, zoom_), shown)) drawSpot(moved, zoom_, true, fillRect);
            }
        }
    }
    if (const std::optional<CellBox> box = boxBeingDragged()) {
        const SpotRect band = grown(outlineRect(*box, zoom_), kMarkRadius + 1);
        const auto ring = [&](const SpotRect& r, int width, QRgb colour) {
            fillRect({r.left, r.top, r.right, r.top + width}, colour);
            fillRect({r.left, r.bottom - width, r.right, r.bottom}, colour);
            fillRect({r.left, r.top, r.left + width, r.bottom}, colour);
            fillRect({r.right - width, r.top, r.right, r.bottom}, colour);
        };
        ring(grown(band, 1), 3, kHaloColour);
        ring(band, 1, kBoxColour);
    }
}
