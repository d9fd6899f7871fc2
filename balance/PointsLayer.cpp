#include "PointsLayer.h"

#include <algorithm>
#include <cstdint>

#include <QApplication>
#include <QPainter>
#include <QRegion>

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

BalanceChartView::PointsLayer::PointsLayer(const BalanceChartView& view) : view_(view) {
    setZValue(kPointsZ);
    setAcceptedMouseButtons(Qt::NoButton);
    ratio_ = qApp ? qApp->devicePixelRatio() : 1;
    for (const PointKind& kind : kPointKinds)
        markers_.push_back({makeMarker(markerPicture(kind, false, ratio_)), makeMarker(markerPicture(kind, true, ratio_))});
}

BalanceChartView::PointsLayer::Marker BalanceChartView::PointsLayer::makeMarker(QImage picture) {
    Marker marker{std::move(picture), {}};
    for (int y = 0; y < marker.picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(marker.picture.constScanLine(y));
        for (int x = 0; x < marker.picture.width(); ++x)
            if (qAlpha(row[x]) != 0) marker.covered.push_back({x, y, row[x]});
    }
    return marker;
}

void BalanceChartView::PointsLayer::setArea(const QRectF& area) {
    if (area == area_) return;
    prepareGeometryChange();
    area_ = area;
    drawAll();
}

void BalanceChartView::PointsLayer::setShapes(bool shapes) { shapes_ = shapes; }

void BalanceChartView::PointsLayer::drawAll() {
    pictureValid_ = false;
    update();
}

void BalanceChartView::PointsLayer::drawAround(const QList<QRectF>& places) {
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

QRectF BalanceChartView::PointsLayer::boundingRect() const { return area_; }

void BalanceChartView::PointsLayer::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    if (shapes_) {
        painter->save();
        painter->setClipRect(area_);
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(area_.topLeft());
        const std::vector<QPointF>& at = view_.pixels();
        for (const bool selected : {false, true})
            for (std::size_t i = 0; i < at.size(); ++i)
                if (view_.points_[i].selected == selected)
                    drawMarker(*painter, at[i] - area_.topLeft(), kPointKinds[view_.points_[i].kind], selected);
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

QRect BalanceChartView::PointsLayer::devicePixels(const QRect& place) const {
    return QRectF(QPointF(place.topLeft()) * ratio_, QSizeF(place.size()) * ratio_).toAlignedRect() & picture_.rect();
}

void BalanceChartView::PointsLayer::copyMarkers(const QRect& clip) {
    const std::vector<QPointF>& at = view_.pixels();
    const QRectF reach = QRectF(clip).adjusted(-2 * kMostMarker * ratio_, -2 * kMostMarker * ratio_,
                                               2 * kMostMarker * ratio_, 2 * kMostMarker * ratio_);
    auto* const into = reinterpret_cast<QRgb*>(picture_.bits());
    const qsizetype stride = picture_.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    for (const bool selected : {false, true}) {
        for (std::size_t i = 0; i < at.size(); ++i) {
            const Point& point = view_.points_[i];
            if (point.selected != selected) continue;
            const QPointF centre = (at[i] - area_.topLeft()) * ratio_;
            if (!reach.contains(centre)) continue;
            const Marker& marker = selected ? markers_[point.kind].second : markers_[point.kind].first;
            const QPoint corner(qRound(centre.x() - marker.picture.width() / 2.0),
                                qRound(centre.y() - marker.picture.height() / 2.0));
            blend(marker, corner, clip, into, stride);
        }
    }
}

void BalanceChartView::PointsLayer::blend(const Marker& marker, QPoint corner, const QRect& clip, QRgb* into,
                                          qsizetype stride) {
    const bool whole = clip.contains(QRect(corner, marker.picture.size()));
    for (const Covered& pixel : marker.covered) {
        const int x = corner.x() + pixel.x;
        const int y = corner.y() + pixel.y;
        if (!whole && !clip.contains(x, y)) continue;
        QRgb& to = into[y * stride + x];
        const std::uint32_t alpha = qAlpha(pixel.colour);
        if (alpha == 255) {
            to = pixel.colour;
            continue;
        }
        // Each channel of the pixel under it times (255 - alpha) / 255, rounded, two
        // channels at a time; no sum passes 255, as the source is premultiplied.
        const std::uint32_t under = to;
        const std::uint32_t rest = 255 - alpha;
        const auto scaled = [rest](std::uint32_t pair) {
            const std::uint32_t t = pair * rest + 0x00800080u;
            return ((t + ((t >> 8) & 0x00ff00ffu)) >> 8) & 0x00ff00ffu;
        };
        to = pixel.colour + (scaled(under & 0x00ff00ffu) | (scaled((under >> 8) & 0x00ff00ffu) << 8));
    }
}
