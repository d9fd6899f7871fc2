#include "OverviewSurface.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QColor>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "Colours.h"
#include "SpawnTable.h"

namespace {

// Beyond this many spots changing their look at once, drawing every block again is as quick.
constexpr int kManySpots = 256;
constexpr double kGoldenAngle = 137.50776405;  // consecutive numbers get far-apart hues

QRect qtRect(const SpotRect& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

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

Qt::CursorShape cursorFor(Grab grab) {
    switch (grab) {
    case Grab::Point:
    case Grab::Body: return Qt::SizeAllCursor;
    case Grab::Left:
    case Grab::Right: return Qt::SizeHorCursor;
    case Grab::Top:
    case Grab::Bottom: return Qt::SizeVerCursor;
    case Grab::TopLeft:
    case Grab::BottomRight: return Qt::SizeFDiagCursor;
    case Grab::TopRight:
    case Grab::BottomLeft: return Qt::SizeBDiagCursor;
    case Grab::None: break;
    }
    return Qt::ArrowCursor;
}

// Where a whole group of spots is drawn, selected or not.
SpotRect boundsOf(std::span<const SpawnEntry> spots, int zoom) {
    SpotRect all{0, 0, 0, 0};
    for (const SpawnEntry& spot : spots) {
        const SpotRect r = spotBounds(spot, zoom);
        all = all.right <= all.left ? r
                                    : SpotRect{std::min(all.left, r.left), std::min(all.top, r.top),
                                               std::max(all.right, r.right), std::max(all.bottom, r.bottom)};
    }
    return all;
}

SpotRect shifted(const SpotRect& r, QPoint by) { return {r.left + by.x(), r.top + by.y(), r.right + by.x(), r.bottom + by.y()}; }

// A cell step (Y upwards) as pixels on the screen.
QPoint pixelStep(QPoint cells, int zoom) { return {cells.x() * zoom, -cells.y() * zoom}; }

}  // namespace

QRgb monsterColour(std::int32_t monsterid) {
    const double turns = std::fmod(static_cast<double>(monsterid) * kGoldenAngle, 360.0);
    const int hue = static_cast<int>(turns < 0 ? turns + 360.0 : turns) % 360;
    return QColor::fromHsv(hue, 190, 255).rgb();
}

OverviewSurface::OverviewSurface(QWidget* parent)
    : QWidget(parent),
      placeOf_(kSpawnCapacity, -1),
      selected_(kSpawnCapacity, 0),
      staleBlocks_(static_cast<std::size_t>(SpotIndex::kBlocks * SpotIndex::kBlocks), 1) {
    setObjectName(QStringLiteral("OverviewSurface"));
    setAccessibleName(QStringLiteral("Map"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel is the kept image's: nothing under it needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(kMapCells, kMapCells);
    index_.build(spots_, zoom_);
}

void OverviewSurface::setPicture(QImage picture) {
    picture_.setPicture(std::move(picture));
    base_ = {};
    markAllStale();
}

void OverviewSurface::setZoom(int zoom) {
    zoom = std::clamp(zoom, 1, kMaxZoom);
    if (zoom == zoom_) return;
    cancelDrag();
    box_.reset();
    zoom_ = zoom;
    index_.build(spots_, zoom_);
    base_ = {};
    resize(kMapCells * zoom_, kMapCells * zoom_);
    markAllStale();
}

void OverviewSurface::setSpots(std::vector<SpawnEntry> spots) {
    cancelDrag();
    spots_ = std::move(spots);
    rebuildPlaces();
    index_.build(spots_, zoom_);
    markAllStale();
}

void OverviewSurface::setSpots(std::vector<SpawnEntry> spots, std::span<const SpawnEntry> changed) {
    for (const SpawnEntry& spot : changed)
        if (drag_ && isSelected(spot.spotid)) cancelDrag();
    spots_ = std::move(spots);
    rebuildPlaces();
    index_.build(spots_, zoom_);
    if (changed.size() > static_cast<std::size_t>(kManySpots)) {
        markAllStale();
        return;
    }
    for (const SpawnEntry& spot : changed) markStale(spotBounds(spot, zoom_));
}

bool OverviewSurface::replaceSpots(std::span<const SpawnEntry> now) {
    for (const SpawnEntry& spot : now) {
        const int at = spot.spotid >= 0 && spot.spotid < kSpawnCapacity ? placeOf_[static_cast<std::size_t>(spot.spotid)] : -1;
        if (at < 0 || spots_[static_cast<std::size_t>(at)].ispoint != spot.ispoint) return false;
    }
    if (drag_ && std::any_of(now.begin(), now.end(), [&](const SpawnEntry& s) { return isSelected(s.spotid); }))
        cancelDrag();
    const bool many = now.size() > static_cast<std::size_t>(kManySpots);
    for (const SpawnEntry& spot : now) {
        const auto at = static_cast<std::size_t>(placeOf_[static_cast<std::size_t>(spot.spotid)]);
        const SpawnEntry was = spots_[at];
        spots_[at] = spot;
        index_.refile(static_cast<int>(at), was, spot);
        if (many) continue;
        markStale(spotBounds(was, zoom_));
        markStale(spotBounds(spot, zoom_));
    }
    if (many) markAllStale();
    return true;
}

// Each drawn spot's place in the drawing order; the selection keeps the spots still drawn.
void OverviewSurface::rebuildPlaces() {
    std::fill(placeOf_.begin(), placeOf_.end(), -1);
    for (std::size_t i = 0; i < spots_.size(); ++i)
        if (spots_[i].spotid >= 0 && spots_[i].spotid < kSpawnCapacity)
            placeOf_[static_cast<std::size_t>(spots_[i].spotid)] = static_cast<int>(i);
    if (selectedCount_ > 0) {
        for (std::size_t id = 0; id < selected_.size(); ++id) {
            if (!selected_[id] || placeOf_[id] >= 0) continue;
            selected_[id] = 0;
            --selectedCount_;
        }
    }
    if (current_ >= 0 && !isSelected(current_)) current_ = -1;
}

const SpawnEntry* OverviewSurface::findSpot(std::int32_t spotid) const {
    if (spotid < 0 || spotid >= kSpawnCapacity) return nullptr;
    const int at = placeOf_[static_cast<std::size_t>(spotid)];
    return at < 0 ? nullptr : &spots_[static_cast<std::size_t>(at)];
}

bool OverviewSurface::isSelected(std::int32_t spotid) const {
    return spotid >= 0 && spotid < kSpawnCapacity && selected_[static_cast<std::size_t>(spotid)];
}

std::vector<std::int32_t> OverviewSurface::selectedSpots() const {
    std::vector<std::int32_t> ids;
    if (selectedCount_ == 0) return ids;
    ids.reserve(static_cast<std::size_t>(selectedCount_));
    for (const SpawnEntry& spot : spots_)
        if (isSelected(spot.spotid)) ids.push_back(spot.spotid);
    return ids;
}

std::vector<SpawnEntry> OverviewSurface::selectedEntries() const {
    std::vector<SpawnEntry> entries;
    if (selectedCount_ == 0) return entries;
    entries.reserve(static_cast<std::size_t>(selectedCount_));
    for (const SpawnEntry& spot : spots_)
        if (isSelected(spot.spotid)) entries.push_back(spot);
    return entries;
}

void OverviewSurface::setSelected(std::int32_t spotid, bool selected) {
    const SpawnEntry* spot = findSpot(spotid);
    if (!spot || isSelected(spotid) == selected) return;
    selected_[static_cast<std::size_t>(spotid)] = selected ? 1 : 0;
    selectedCount_ += selected ? 1 : -1;
    markStale(spotBounds(*spot, zoom_));
    if (!selected && current_ == spotid) current_ = -1;
}

void OverviewSurface::selectSpot(std::int32_t spotid) {
    if (current_ == spotid && selectedCount_ == (spotid < 0 ? 0 : 1)) return;
    cancelDrag();
    clearSelection();
    if (!findSpot(spotid)) return;
    setSelected(spotid, true);
    current_ = spotid;
}

void OverviewSurface::makeCurrent(std::int32_t spotid) {
    if (isSelected(spotid))
        current_ = spotid;
    else
        selectSpot(spotid);
}

void OverviewSurface::selectSpots(std::span<const std::int32_t> spotids, bool adding) {
    if (!adding) clearSelection();
    if (spotids.size() > static_cast<std::size_t>(kManySpots)) {
        for (const std::int32_t spotid : spotids) {
            if (!findSpot(spotid) || isSelected(spotid)) continue;
            selected_[static_cast<std::size_t>(spotid)] = 1;
            ++selectedCount_;
        }
        markAllStale();
    } else {
        for (const std::int32_t spotid : spotids) setSelected(spotid, true);
    }
    if (current_ < 0 && selectedCount_ == 1) current_ = selectedSpots().front();
}

void OverviewSurface::selectAll() {
    for (const SpawnEntry& spot : spots_) selected_[static_cast<std::size_t>(spot.spotid)] = 1;
    selectedCount_ = static_cast<int>(spots_.size());
    markAllStale();
}

void OverviewSurface::clearSelection() {
    if (selectedCount_ == 0) return;
    if (selectedCount_ > kManySpots) {
        std::fill(selected_.begin(), selected_.end(), 0);
        selectedCount_ = 0;
        markAllStale();
    } else {
        for (const std::int32_t spotid : selectedSpots()) setSelected(spotid, false);
    }
    current_ = -1;
}

void OverviewSurface::selectionChanged() {
    if (onSelectionChanged) onSelectionChanged();
}

std::optional<QRect> OverviewSurface::selectedArea() const {
    const SpawnEntry* spot = findSpot(current_);
    if (!spot) return std::nullopt;
    const QPoint by = drag_ ? pixelStep(drag_->step, zoom_) : QPoint();
    return qtRect(shifted(spotBounds(drag_ && drag_->originals.size() == 1 ? drag_->shown : *spot, zoom_), by));
}

std::vector<SpawnEntry> OverviewSurface::spotsAt(QPoint pixel) const {
    std::vector<SpawnEntry> found;
    for (const int i : under(pixel)) found.push_back(spots_[static_cast<std::size_t>(i)]);
    return found;
}

std::optional<SpawnEntry> OverviewSurface::draggedSpot() const {
    if (!drag_) return std::nullopt;
    return drag_->shown;
}

std::optional<CellBox> OverviewSurface::boxBeingDragged() const {
    if (!box_) return std::nullopt;
    return CellBox{std::min(box_->pressCell.x(), box_->cell.x()), std::min(box_->pressCell.y(), box_->cell.y()),
                   std::max(box_->pressCell.x(), box_->cell.x()), std::max(box_->pressCell.y(), box_->cell.y())};
}

void OverviewSurface::cancelDrag() {
    if (!drag_) return;
    const Drag done = std::move(*drag_);
    drag_.reset();
    const SpotRect group = boundsOf(done.originals, zoom_);
    updateArea(shifted(group, pixelStep(done.step, zoom_)));
    updateArea(spotBounds(done.shown, zoom_));
    if (done.lifted) {
        if (done.originals.size() > static_cast<std::size_t>(kManySpots)) {
            markAllStale();
        } else {
            for (const SpawnEntry& spot : done.originals) markStale(spotBounds(spot, zoom_));
        }
    }
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

bool OverviewSurface::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QString text = tooltipAt && !drag_ && !box_ ? tooltipAt(help->pos()) : QString();
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
}

void OverviewSurface::mousePressEvent(QMouseEvent* event) {
    const QPoint pixel = mousePixel(event);
    const int taken = takenAt(pixel);
    const std::int32_t spotid = taken < 0 ? -1 : spots_[static_cast<std::size_t>(taken)].spotid;
    if (event->button() == Qt::RightButton) {
        // The menu is of the spot under the pointer, and of the others selected with it.
        if (spotid < 0) return;
        if (!isSelected(spotid)) {
            selectSpot(spotid);
            selectionChanged();
        }
        current_ = spotid;
        if (onChosen) onChosen(spotid);
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    cancelDrag();
    box_.reset();
    const QPoint cell = cellUnder(pixel, zoom_);
    if (event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier)) {
        if (spotid < 0) {
            box_ = Box{cell, cell, true};
            return;
        }
        const bool now = !isSelected(spotid);
        setSelected(spotid, now);
        if (now) current_ = spotid;
        selectionChanged();
        if (now && onChosen) onChosen(spotid);
        return;
    }
    if (spotid < 0) {
        if (selectedCount_ > 0) {
            clearSelection();
            selectionChanged();
        }
        box_ = Box{cell, cell, false};
        return;
    }
    const SpawnEntry spot = spots_[static_cast<std::size_t>(taken)];
    if (isSelected(spotid) && selectedCount_ > 1) {
        // The selection moves together; a click that moves nothing takes this spot alone.
        current_ = spotid;
        Drag drag{{spot}, spot, {}, spot.ispoint ? Grab::Point : Grab::Body, cell, false, true};
        for (const SpawnEntry& other : selectedEntries())
            if (other.spotid != spotid) drag.originals.push_back(other);
        drag_ = std::move(drag);
    } else {
        if (current_ != spotid || selectedCount_ != 1) {
            selectSpot(spotid);
            selectionChanged();
        }
        drag_ = Drag{{spot}, spot, {}, grabAt(spot, pixel, zoom_), cell, false, false};
    }
    if (onChosen) onChosen(spotid);
}

int OverviewSurface::takenAt(QPoint pixel) const {
    const SpawnEntry* current = findSpot(current_);
    const int currentIndex = current ? static_cast<int>(current - spots_.data()) : -1;
    return spotTaken(spots_, under(pixel), currentIndex, pixel, zoom_);
}

void OverviewSurface::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pixel = mousePixel(event);
    const bool held = event->buttons().testFlag(Qt::LeftButton);
    if (drag_ && held)
        followDrag(pixel);
    else if (box_ && held)
        followBox(pixel);
    else
        setCursorFor(pixel);
    if (onHover) onHover(pixel);
}

void OverviewSurface::setCursorFor(QPoint pixel) {
    const int taken = takenAt(pixel);
    if (taken < 0) {
        setCursor(Qt::ArrowCursor);
        return;
    }
    const SpawnEntry& spot = spots_[static_cast<std::size_t>(taken)];
    const bool group = isSelected(spot.spotid) && selectedCount_ > 1;
    setCursor(group ? Qt::SizeAllCursor : cursorFor(grabAt(spot, pixel, zoom_)));
}

// The spots are shown where they would go; the document is not asked until the drop.
void OverviewSurface::followDrag(QPoint pixel) {
    Drag& drag = *drag_;
    const QPoint cells = cellUnder(pixel, zoom_) - drag.pressCell;
    const bool alone = drag.originals.size() == 1;
    const QPoint step = alone ? QPoint() : groupStep(drag.originals, cells.x(), cells.y());
    const SpawnEntry shown = alone ? dragged(drag.originals.front(), drag.grab, cells.x(), cells.y())
                                   : nudged(drag.originals.front(), step.x(), step.y());
    if (shown == drag.shown && step == drag.step) return;
    if (!drag.lifted) {
        drag.lifted = true;
        if (drag.originals.size() > static_cast<std::size_t>(kManySpots)) {
            markAllStale();
        } else {
            for (const SpawnEntry& spot : drag.originals) markStale(spotBounds(spot, zoom_));
        }
    }
    const SpotRect group = boundsOf(drag.originals, zoom_);
    updateArea(alone ? spotBounds(drag.shown, zoom_) : shifted(group, pixelStep(drag.step, zoom_)));
    drag.shown = shown;
    drag.step = step;
    updateArea(alone ? spotBounds(shown, zoom_) : shifted(group, pixelStep(step, zoom_)));
}

void OverviewSurface::followBox(QPoint pixel) {
    const auto band = [this] { return grown(outlineRect(*boxBeingDragged(), zoom_), kMarkRadius + 3); };
    updateArea(band());
    box_->cell = cellUnder(pixel, zoom_);
    updateArea(band());
}

std::vector<std::int32_t> OverviewSurface::spotsInBox(const CellBox& box) const {
    std::vector<std::int32_t> inside;
    for (const SpawnEntry& spot : spots_) {
        const CellBox cells = cellBox(spot);
        if (cells.x0 >= box.x0 && cells.x1 <= box.x1 && cells.y0 >= box.y0 && cells.y1 <= box.y1)
            inside.push_back(spot.spotid);
    }
    return inside;
}

// The spots wholly inside the box are selected, or added to the selection.
void OverviewSurface::endBox() {
    const CellBox box = *boxBeingDragged();
    const bool adding = box_->adding;
    updateArea(grown(outlineRect(box, zoom_), kMarkRadius + 3));
    box_.reset();
    const std::vector<std::int32_t> inside = spotsInBox(box);
    if (inside.empty() && !adding) return;
    selectSpots(inside, adding);
    selectionChanged();
    if (current_ >= 0 && onChosen) onChosen(current_);
}

void OverviewSurface::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (box_) {
        endBox();
        return;
    }
    if (!drag_) return;
    const Drag done = *drag_;
    cancelDrag();
    if (done.originals.size() == 1) {
        if (done.shown != done.originals.front() && onDropped) onDropped(done.shown, done.grab);
        return;
    }
    if (done.step != QPoint()) {
        if (onGroupDropped) onGroupDropped(done.step.x(), done.step.y());
    } else if (done.narrow) {
        selectSpot(done.originals.front().spotid);
        selectionChanged();
    }
}

void OverviewSurface::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    // The spot the first click took, as a press there takes it.
    const int taken = takenAt(mousePixel(event));
    if (taken >= 0 && onDoubleClicked) onDoubleClicked(spots_[static_cast<std::size_t>(taken)].spotid);
}

void OverviewSurface::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        // A drag or a box is given up first, then the selection; then the window closes.
        if (drag_) {
            cancelDrag();
            return;
        }
        if (box_) {
            updateArea(grown(outlineRect(*boxBeingDragged(), zoom_), kMarkRadius + 3));
            box_.reset();
            return;
        }
        if (selectedCount_ > 0) {
            clearSelection();
            selectionChanged();
            return;
        }
    }
    const int step = event->modifiers().testFlag(Qt::ShiftModifier) ? 10 : 1;
    int dx = 0;
    int dy = 0;
    switch (event->key()) {
    case Qt::Key_Left: dx = -step; break;
    case Qt::Key_Right: dx = step; break;
    case Qt::Key_Up: dy = step; break;
    case Qt::Key_Down: dy = -step; break;
    default: break;
    }
    const bool arrow = dx != 0 || dy != 0;
    if (!arrow || selectedCount_ == 0 || drag_ || (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
        QWidget::keyPressEvent(event);  // the scroll area scrolls
        return;
    }
    if (onArrow) onArrow(dx, dy);
}
