#include "PointsLayer.h"

#include <algorithm>
#include <cstdint>

#include <QApplication>
#include <QPainter>
#include <QRegion>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr qreal kPointsZ = 100;  // above the series, below nothing of the plot
const QColor kSelectedColour(0xf5, 0x79, 0x00);

// A point: a filled circle, or a diamond for an outlier; a selected point is larger, in
// the selection's colour with a dark rim.
void drawMarker(QPainter& painter, QPointF centre, const PointKind& kind, bool selected) {
    const qreal r = (kind.size + (selected ? 4 : 0)) / 2.0 - 1;
    painter.setPen(QPen(selected ? QColor(0x2e, 0x34, 0x36) : kind.colour.darker(140), selected ? 1.6 : 1));
    painter.setBrush(selected ? kSelectedColour : kind.colour);
    if (kind.diamond) {
        const QPointF c = centre;
        painter.drawPolygon(QPolygonF{{c.x(), c.y() - r}, {c.x() + r, c.y()}, {c.x(), c.y() + r}, {c.x() - r, c.y()}});
    } else {
        painter.drawEllipse(centre, r, r);
    }
}

QImage markerPicture(const PointKind& kind, bool selected, qreal ratio) {
    const int size = kind.size + (selected ? 4 : 0);
    QImage picture(QSize(size, size) * ratio, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    drawMarker(painter, QPointF(size / 2.0, size / 2.0), kind, selected);
    return picture;
}

}  // namespace

PointsLayer::PointsLayer(const PlottedPoints& points) : points_(points) {
    setZValue(kPointsZ);
    setAcceptedMouseButtons(Qt::NoButton);
    ratio_ = qApp ? qApp->devicePixelRatio() : 1;
    for (const PointKind& kind : kPointKinds)
        markers_.push_back({makeMarker(markerPicture(kind, false, ratio_)), makeMarker(markerPicture(kind, true, ratio_))});
}

PointsLayer::Marker PointsLayer::makeMarker(QImage picture) {
    const int width = picture.width();
    Marker marker{std::move(picture), width, 0, (width + 3) / 4, {}, {}};
    marker.height = marker.picture.height();
    for (int y = 0; y < marker.picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(marker.picture.constScanLine(y));
        for (int x = 0; x < marker.groups * 4; ++x) {
            const QRgb pixel = x < width ? row[x] : 0;
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(&pixel);
            marker.bytes.insert(marker.bytes.end(), bytes, bytes + 4);
            marker.rest.insert(marker.rest.end(), 4, static_cast<std::uint8_t>(255 - qAlpha(pixel)));
        }
    }
    return marker;
}

void PointsLayer::setArea(const QRectF& area) {
    if (area == area_) return;
    prepareGeometryChange();
    area_ = area;
    drawAll();
}

void PointsLayer::setShapes(bool shapes) { shapes_ = shapes; }

void PointsLayer::drawAll() {
    pictureValid_ = false;
    update();
}

void PointsLayer::drawAround(const QList<QRectF>& places) {
    if (!pictureValid_ || places.isEmpty()) return drawAll();
    QRegion region;
    for (const QRectF& place : places)
        region += place.translated(-area_.topLeft()).adjusted(-kMostMarker, -kMostMarker, kMostMarker, kMostMarker).toAlignedRect();
    for (const QRect& place : region) {
        const QRect pixels = devicePixels(place);
        for (int y = pixels.top(); y <= pixels.bottom(); ++y)
            std::fill_n(reinterpret_cast<QRgb*>(picture_.scanLine(y)) + pixels.left(), pixels.width(), QRgb(0));
        copyMarkers(pixels);
        update(QRectF(place).translated(area_.topLeft()));
    }
}

QRectF PointsLayer::boundingRect() const { return area_; }

void PointsLayer::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    if (shapes_) {
        painter->save();
        painter->setClipRect(area_);
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(area_.topLeft());
        const std::vector<QPointF>& at = points_.pixels();
        for (const bool selected : {false, true})
            for (std::size_t i = 0; i < at.size(); ++i)
                if (points_.plotPoints()[i].selected == selected)
                    drawMarker(*painter, at[i] - area_.topLeft(), kPointKinds[points_.plotPoints()[i].kind], selected);
        painter->restore();
        return;
    }
    if (!pictureValid_) {
        picture_ = QImage((area_.size() * ratio_).toSize(), QImage::Format_ARGB32_Premultiplied);
        picture_.setDevicePixelRatio(ratio_);
        picture_.fill(Qt::transparent);
        copyMarkers(picture_.rect());
        pictureValid_ = true;
    }
    painter->drawImage(area_.topLeft(), picture_);
}

QRect PointsLayer::devicePixels(const QRect& place) const {
    return QRectF(QPointF(place.topLeft()) * ratio_, QSizeF(place.size()) * ratio_).toAlignedRect() & picture_.rect();
}

void PointsLayer::copyMarkers(const QRect& clip) {
    const std::vector<QPointF>& at = points_.pixels();
    const QRectF reach = QRectF(clip).adjusted(-2 * kMostMarker * ratio_, -2 * kMostMarker * ratio_,
                                               2 * kMostMarker * ratio_, 2 * kMostMarker * ratio_);
    const Canvas canvas{picture_.bits(), picture_.bytesPerLine(), picture_.width()};
    for (const bool selected : {false, true}) {
        for (std::size_t i = 0; i < at.size(); ++i) {
            const PlotPoint& point = points_.plotPoints()[i];
            if (point.selected != selected) continue;
            const QPointF centre = (at[i] - area_.topLeft()) * ratio_;
            // QRectF::contains, without a call for each of ten thousand points.
            if (centre.x() < reach.left() || centre.x() > reach.right() || centre.y() < reach.top() ||
                centre.y() > reach.bottom())
                continue;
            const Marker& marker = selected ? markers_[point.kind].second : markers_[point.kind].first;
            const QPoint corner(qRound(centre.x() - marker.width / 2.0), qRound(centre.y() - marker.height / 2.0));
            blend(marker, corner, clip, canvas);
        }
    }
}

namespace {

// Each byte under the marker times (255 - alpha) / 255, rounded, plus the marker's byte:
// a transparent byte leaves the one under it as it was and an opaque one replaces it,
// without a test. No sum passes 255, as the marker is premultiplied; no product rounded
// passes 16 bits.
void blendBytes(uchar* to, const std::uint8_t* from, const std::uint8_t* rest, int count) {
    for (int i = 0; i < count; ++i) {
        const auto t = static_cast<std::uint16_t>(to[i] * rest[i] + 128);
        to[i] = static_cast<uchar>(from[i] + ((t + (t >> 8)) >> 8));
    }
}

// The same for the 16 bytes of four pixels at once, where the processor can.
void blendFourPixels(uchar* to, const std::uint8_t* from, const std::uint8_t* rest) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi16(128);
    const __m128i under = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to));
    const __m128i scale = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rest));
    const auto scaled = [&](__m128i bytes, __m128i by) {
        const __m128i t = _mm_add_epi16(_mm_mullo_epi16(bytes, by), half);
        return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
    };
    const __m128i low = scaled(_mm_unpacklo_epi8(under, zero), _mm_unpacklo_epi8(scale, zero));
    const __m128i high = scaled(_mm_unpackhi_epi8(under, zero), _mm_unpackhi_epi8(scale, zero));
    const __m128i over = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_add_epi8(over, _mm_packus_epi16(low, high)));
#else
    blendBytes(to, from, rest, 16);
#endif
}

}  // namespace

void PointsLayer::blend(const Marker& marker, QPoint corner, const QRect& clip, const Canvas& canvas) {
    const int left = std::max(corner.x(), clip.left());
    const int right = std::min(corner.x() + marker.width, clip.right() + 1);
    const int top = std::max(corner.y(), clip.top());
    const int bottom = std::min(corner.y() + marker.height, clip.bottom() + 1);
    if (left >= right || top >= bottom) return;
    const qsizetype markerStride = static_cast<qsizetype>(marker.groups) * 16;
    // Whole rows in groups of four pixels where the widened row lies within the picture
    // (its widening changes nothing); else the pixels within the clip alone.
    const bool wholeRows = left == corner.x() && right == corner.x() + marker.width &&
                           corner.x() + marker.groups * 4 <= canvas.width;
    for (int y = top; y < bottom; ++y) {
        const qsizetype from = (y - corner.y()) * markerStride + (left - corner.x()) * 4;
        uchar* const to = canvas.bytes + y * canvas.stride + left * 4;
        if (wholeRows) {
            for (int group = 0; group < marker.groups; ++group)
                blendFourPixels(to + group * 16, marker.bytes.data() + from + group * 16, marker.rest.data() + from + group * 16);
        } else {
            blendBytes(to, marker.bytes.data() + from, marker.rest.data() + from, (right - left) * 4);
        }
    }
}
