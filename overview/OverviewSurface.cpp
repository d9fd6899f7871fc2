// The overview surface's state: the spots it shows, its picture and zoom, and which
// spots are selected. Drawing is in OverviewDrawing.cpp, the mouse and the keys in
// OverviewPointer.cpp.

#include "OverviewSurface.h"

#include <algorithm>

#include "SpawnTable.h"
#include "SurfaceArea.h"

using namespace surfacearea;

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
