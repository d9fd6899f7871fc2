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

namespace {

// Beyond this many small areas waiting to be drawn again, drawing everything is as quick.
constexpr std::size_t kMostStaleAreas = 64;
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

}  // namespace

QRgb monsterColour(std::int32_t monsterid) {
    const double turns = std::fmod(static_cast<double>(monsterid) * kGoldenAngle, 360.0);
    const int hue = static_cast<int>(turns < 0 ? turns + 360.0 : turns) % 360;
    return QColor::fromHsv(hue, 190, 255).rgb();
}

OverviewSurface::OverviewSurface(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("OverviewSurface"));
    setAccessibleName(QStringLiteral("Map"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel is the kept image's: nothing under it needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(kMapCells, kMapCells);
}

void OverviewSurface::setPicture(QImage picture) {
    picture_.setPicture(std::move(picture));
    base_ = {};
    allStale_ = true;
    update();
}

void OverviewSurface::setZoom(int zoom) {
    zoom = std::clamp(zoom, 1, kMaxZoom);
    if (zoom == zoom_) return;
    cancelDrag();
    zoom_ = zoom;
    index_.build(spots_, zoom_);
    base_ = {};
    allStale_ = true;
    resize(kMapCells * zoom_, kMapCells * zoom_);
    update();
}

void OverviewSurface::setSpots(std::vector<SpawnEntry> spots) {
    cancelDrag();
    spots_ = std::move(spots);
    index_.build(spots_, zoom_);
    if (!findSpot(selected_)) selected_ = -1;
    allStale_ = true;
    update();
}

void OverviewSurface::setSpots(std::vector<SpawnEntry> spots, std::span<const SpawnEntry> changed) {
    for (const SpawnEntry& spot : changed)
        if (drag_ && spot.spotid == drag_->original.spotid) cancelDrag();
    spots_ = std::move(spots);
    index_.build(spots_, zoom_);
    if (!findSpot(selected_)) selected_ = -1;
    for (const SpawnEntry& spot : changed) markStale(spotBounds(spot, zoom_));
}

const SpawnEntry* OverviewSurface::findSpot(std::int32_t spotid) const {
    if (spotid < 0) return nullptr;
    const auto found = std::find_if(spots_.begin(), spots_.end(), [&](const SpawnEntry& s) { return s.spotid == spotid; });
    return found == spots_.end() ? nullptr : &*found;
}

void OverviewSurface::selectSpot(std::int32_t spotid) {
    if (spotid == selected_) return;
    cancelDrag();
    if (const SpawnEntry* old = findSpot(selected_)) updateArea(spotBounds(*old, zoom_));
    const SpawnEntry* now = findSpot(spotid);
    selected_ = now ? spotid : -1;
    if (now) updateArea(spotBounds(*now, zoom_));
}

std::optional<QRect> OverviewSurface::selectedArea() const {
    const SpawnEntry* spot = drag_ ? &drag_->shown : findSpot(selected_);
    if (!spot) return std::nullopt;
    return qtRect(spotBounds(*spot, zoom_));
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

std::int32_t OverviewSurface::liftedSpot() const { return drag_ && drag_->lifted ? drag_->original.spotid : -1; }

void OverviewSurface::cancelDrag() {
    if (!drag_) return;
    const Drag done = *drag_;
    drag_.reset();
    updateArea(spotBounds(done.shown, zoom_));
    if (done.lifted) markStale(spotBounds(done.original, zoom_));
}

void OverviewSurface::markStale(const SpotRect& area) {
    if (!allStale_) {
        if (staleAreas_.size() < kMostStaleAreas)
            staleAreas_.push_back(area);
        else
            allStale_ = true;
    }
    updateArea(area);
}

void OverviewSurface::updateArea(const SpotRect& area) { update(qtRect(area)); }

// The kept image, brought up to date: everything drawn again, or only the stale areas.
const QImage& OverviewSurface::drawn() {
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
        allStale_ = true;
    }
    if (allStale_) {
        drawAll();
    } else {
        for (const SpotRect& area : staleAreas_) drawArea(area);
    }
    allStale_ = false;
    staleAreas_.clear();
    return drawn_;
}

void OverviewSurface::drawAll() {
    drawn_ = base_.copy();
    const SpotRect whole{0, 0, drawn_.width(), drawn_.height()};
    const std::int32_t lifted = liftedSpot();
    for (const SpawnEntry& spot : spots_)
        if (spot.spotid != lifted) drawSpot(spot, zoom_, false, PixelFill{drawn_, whole});
}

// The area as drawing everything would leave it: the base's pixels, then each spot
// that reaches into it, in drawing order.
void OverviewSurface::drawArea(const SpotRect& wanted) {
    const SpotRect area = clipped(wanted, {0, 0, drawn_.width(), drawn_.height()});
    if (area.right <= area.left || area.bottom <= area.top) return;
    const auto bytes = static_cast<std::size_t>(area.right - area.left) * sizeof(QRgb);
    for (int y = area.top; y < area.bottom; ++y)
        std::memcpy(drawn_.scanLine(y) + area.left * sizeof(QRgb), base_.constScanLine(y) + area.left * sizeof(QRgb), bytes);
    const std::int32_t lifted = liftedSpot();
    for (const SpawnEntry& spot : spots_)
        if (spot.spotid != lifted && intersects(spotBounds(spot, zoom_), area))
            drawSpot(spot, zoom_, false, PixelFill{drawn_, area});
}

void OverviewSurface::paintEvent(QPaintEvent* event) {
    const QImage& image = drawn();
    QPainter painter(this);
    painter.drawImage(event->rect(), image, event->rect());
    const SpawnEntry* over = drag_ ? &drag_->shown : findSpot(selected_);
    if (!over) return;
    drawSpot(*over, zoom_, true, [&](const SpotRect& r, QRgb colour) {
        if (r.right > r.left && r.bottom > r.top) painter.fillRect(qtRect(r), QColor::fromRgb(colour));
    });
}

bool OverviewSurface::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QString text = tooltipAt && !drag_ ? tooltipAt(help->pos()) : QString();
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
}

void OverviewSurface::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint pixel = mousePixel(event);
    const int taken = takenAt(pixel);
    if (taken < 0) {
        selectSpot(-1);
        return;
    }
    const SpawnEntry spot = spots_[static_cast<std::size_t>(taken)];
    selectSpot(spot.spotid);
    drag_ = Drag{spot, spot, grabAt(spot, pixel, zoom_), cellUnder(pixel, zoom_), false};
    if (onChosen) onChosen(spot.spotid);
}

int OverviewSurface::takenAt(QPoint pixel) const {
    const SpawnEntry* selected = findSpot(selected_);
    const int selectedIndex = selected ? static_cast<int>(selected - spots_.data()) : -1;
    return spotTaken(spots_, under(pixel), selectedIndex, pixel, zoom_);
}

void OverviewSurface::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pixel = mousePixel(event);
    if (drag_ && event->buttons().testFlag(Qt::LeftButton))
        followDrag(pixel);
    else
        setCursorFor(pixel);
    if (onHover) onHover(pixel);
}

void OverviewSurface::setCursorFor(QPoint pixel) {
    const int taken = takenAt(pixel);
    setCursor(taken < 0 ? Qt::ArrowCursor : cursorFor(grabAt(spots_[static_cast<std::size_t>(taken)], pixel, zoom_)));
}

// The spot is shown where it would go; the document is not asked until the drop.
void OverviewSurface::followDrag(QPoint pixel) {
    const QPoint cell = cellUnder(pixel, zoom_);
    const SpawnEntry shown = dragged(drag_->original, drag_->grab, cell.x() - drag_->pressCell.x(),
                                     cell.y() - drag_->pressCell.y());
    if (shown == drag_->shown) return;
    if (!drag_->lifted) {
        drag_->lifted = true;
        markStale(spotBounds(drag_->original, zoom_));
    }
    updateArea(spotBounds(drag_->shown, zoom_));
    drag_->shown = shown;
    updateArea(spotBounds(shown, zoom_));
}

void OverviewSurface::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !drag_) return;
    const Drag done = *drag_;
    cancelDrag();
    if (done.shown != done.original && onDropped) onDropped(done.shown, done.grab);
}

void OverviewSurface::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    // The spot the first click took, as a press there takes it.
    const int taken = takenAt(mousePixel(event));
    if (taken >= 0 && onDoubleClicked) onDoubleClicked(spots_[static_cast<std::size_t>(taken)].spotid);
}

void OverviewSurface::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && drag_) {
        cancelDrag();
        return;
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
    if (!arrow || selected_ < 0 || drag_ || (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
        QWidget::keyPressEvent(event);  // the scroll area scrolls
        return;
    }
    if (onArrow) onArrow(dx, dy);
}
