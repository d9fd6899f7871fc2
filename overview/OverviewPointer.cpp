// The overview surface under the mouse and the keys: which spot a press takes (hit
// testing), dragging spots and the selection box, and the arrow keys.

#include "OverviewSurface.h"

#include <algorithm>

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>

#include "SurfaceArea.h"

using namespace surfacearea;

namespace {

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

}  // namespace

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
