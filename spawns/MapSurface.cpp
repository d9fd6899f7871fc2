#include "MapSurface.h"

#include <algorithm>
#include <cmath>

#include <QMouseEvent>
#include <QPainter>

#include "JpegImage.h"
#include "MapPicture.h"
#include "TableError.h"

QImage readMapPicture(const std::filesystem::path& file) {
    const RgbImage picture = readJpegFile(file, kLargestMapSide);
    const auto expected = static_cast<std::size_t>(picture.width) * picture.height * 3;
    if (picture.width <= 0 || picture.height <= 0 || picture.rgb.size() != expected)
        throw TableError("The map picture has no usable pixels");
    const QImage view(picture.rgb.data(), picture.width, picture.height, picture.width * 3,
                      QImage::Format_RGB888);
    return view.convertToFormat(QImage::Format_RGB32);  // a deep copy, fast to stretch
}

void PictureStretches::setPicture(QImage picture) {
    source_ = std::move(picture);
    stretched_ = {};
}

const QImage& PictureStretches::at(int zoom) {
    zoom = std::clamp(zoom, 1, static_cast<int>(stretched_.size()));
    QImage& slot = stretched_[static_cast<std::size_t>(zoom - 1)];
    if (slot.isNull() && !source_.isNull()) {
        const int side = kMapCells * zoom;
        slot = source_.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                   .convertToFormat(QImage::Format_RGB32);
    }
    return slot;
}

MapPicture::MapPicture(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Image1"));
    resize(kMapCells, kMapCells);
}

void MapPicture::setPicture(QImage picture) {
    stretches_.setPicture(std::move(picture));
    ++generation_;
    // Without a picture the map panel's caption shows through.
    setAttribute(Qt::WA_OpaquePaintEvent, stretches_.hasPicture());
    update();
}

void MapPicture::setZoom(int zoom) {
    zoom_ = std::clamp(zoom, 1, kMaxZoom);
    ++generation_;
    resize(kMapCells * zoom_, kMapCells * zoom_);
    update();
}

void MapPicture::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QImage& image = stretched();
    if (!image.isNull()) painter.drawImage(event->rect(), image, event->rect());
}

PaintSurface::PaintSurface(QWidget* parent, MapPicture* picture) : QWidget(parent), picture_(picture) {
    setObjectName(QStringLiteral("PaintBox1"));
    setMouseTracking(true);
    resize(kMapCells, kMapCells);
}

bool PaintSurface::overPicture() const { return !picture_->isHidden() && picture_->hasPicture(); }

void PaintSurface::pictureChanged() {
    // Over the picture this layer paints every pixel itself, so nothing under it needs
    // painting; elsewhere the map panel shows through.
    setAttribute(Qt::WA_OpaquePaintEvent, overPicture());
    update();
}

const QImage& PaintSurface::drawn() {
    const bool over = overPicture();
    if (!cached_.isNull() && over == cachedOverPicture_ && cachedSize_ == size() &&
        (!over || cachedGeneration_ == picture_->generation()) && wanted_ == cachedOutlines_)
        return cached_;
    if (over) {
        cached_ = picture_->stretched();  // shared until the outlines are drawn in
    } else {
        cached_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
        cached_.fill(Qt::transparent);
    }
    drawOutlines(cached_, wanted_);
    cachedOutlines_ = wanted_;
    cachedOverPicture_ = over;
    cachedGeneration_ = picture_->generation();
    cachedSize_ = size();
    return cached_;
}

void PaintSurface::paintEvent(QPaintEvent* event) {
    wanted_.clear();
    if (outlines) outlines(wanted_);
    const QImage& image = drawn();
    if (image.isNull()) return;
    QPainter painter(this);
    painter.drawImage(event->rect(), image, event->rect());
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

QPoint mousePixel(const QMouseEvent* event) {
    const QPointF pos = event->position();
    return {static_cast<int>(std::floor(pos.x())), static_cast<int>(std::floor(pos.y()))};
}

void drawOutlines(QImage& image, const std::vector<SpotRect>& rects) {
    if (rects.empty() || image.isNull()) return;
    const int width = image.width();
    const int height = image.height();
    uchar* const bits = image.bits();  // the image's own pixels from here on
    const auto stride = static_cast<std::size_t>(image.bytesPerLine());
    const auto line = [&](int y) { return reinterpret_cast<QRgb*>(bits + static_cast<std::size_t>(y) * stride); };
    constexpr QRgb white = 0xFFFFFFFFu;  // opaque white in both formats
    const auto across = [&](int y, int from, int to) {  // [from, to)
        if (y < 0 || y >= height) return;
        from = std::max(from, 0);
        to = std::min(to, width);
        if (from < to) std::fill(line(y) + from, line(y) + to, white);
    };
    const auto down = [&](int x, int from, int to) {
        if (x < 0 || x >= width) return;
        for (int y = std::max(from, 0); y < std::min(to, height); ++y) line(y)[x] = white;
    };
    for (const SpotRect& raw : rects) {
        const SpotRect r = normalised(raw);
        if (r.right <= r.left || r.bottom <= r.top) continue;
        across(r.top, r.left, r.right);
        across(r.bottom - 1, r.left, r.right);
        down(r.left, r.top, r.bottom);
        down(r.right - 1, r.top, r.bottom);
    }
}
