#include "MapSurface.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPainter>

#include "MapGeometry.h"

MapPicture::MapPicture(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Image1"));
    resize(kMapCells, kMapCells);
}

void MapPicture::setPicture(QImage picture) {
    source_ = std::move(picture);
    stretched_ = {};
    // Without a picture the map panel's caption shows through.
    setAttribute(Qt::WA_OpaquePaintEvent, !source_.isNull());
    update();
}

void MapPicture::setZoom(int zoom) {
    zoom_ = std::clamp(zoom, 1, static_cast<int>(stretched_.size()));
    resize(kMapCells * zoom_, kMapCells * zoom_);
    update();
}

const QPixmap& MapPicture::stretched() {
    QPixmap& slot = stretched_[zoom_ - 1];
    if (slot.isNull() && !source_.isNull()) {
        const int side = kMapCells * zoom_;
        slot = QPixmap::fromImage(
            source_.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    return slot;
}

void MapPicture::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QPixmap& pix = stretched();
    if (!pix.isNull()) painter.drawPixmap(event->rect(), pix, event->rect());
}

PaintSurface::PaintSurface(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PaintBox1"));
    setMouseTracking(true);
    resize(kMapCells, kMapCells);
}

void PaintSurface::paintEvent(QPaintEvent*) {
    if (!onPaint) return;
    QPainter painter(this);
    onPaint(painter);
}

void PaintSurface::mouseMoveEvent(QMouseEvent* event) {
    if (onMove) onMove(event);
}
void PaintSurface::mousePressEvent(QMouseEvent* event) {
    if (onPress) onPress(event);
}
void PaintSurface::mouseReleaseEvent(QMouseEvent* event) {
    if (onRelease) onRelease(event);
}
