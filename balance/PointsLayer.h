#pragma once
// The points of the balance chart: one graphics item on the chart's scene that draws
// every monster's point into a picture of the plot area, which a repaint copies; a
// change of a few points draws again only the places they leave and take, and the
// points that reach into them. For a drawing (SVG) each point is a shape instead. Qt
// Charts' own scatter series makes a graphics item of every point, which for ten
// thousand monsters costs a second to show and most of that again for every change.

#include <cstdint>
#include <utility>
#include <vector>

#include <QColor>
#include <QGraphicsItem>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>

class QPainter;

// What a point is, by the kind the chart gives it: within the band, an outlier, left
// out of the trend (a value of 0 or below, on a linear scale). The legend's entries
// are named and coloured from this too.
struct PointKind {
    const char* name;
    QColor colour;
    int size;
    bool diamond;
};
inline const PointKind kPointKinds[] = {
    {"Monsters", QColor(0x34, 0x65, 0xa4), 8, false},
    {"Outliers", QColor(0xcc, 0x00, 0x00), 11, true},
    {"Left out of the trend (0 or below)", QColor(0x88, 0x8a, 0x85), 8, false},
};

// What a point is to the layer: where it lies on the axes and the kind it is drawn as.
struct PlotPoint {
    QPointF value;  // level, value
    double up = 0;  // the value as the upright axis measures it: itself, or its logarithm
    int monster = 0;
    unsigned char kind = 0;  // an index of kPointKinds
    bool selected = false;
};

// Where the layer's points come from: the chart that places them. Whole lists, so that a
// drawing of ten thousand points makes no call for each.
class PlottedPoints {
public:
    // In drawing order, with the pixels (in the chart's coordinates) where they lie.
    virtual const std::vector<PlotPoint>& plotPoints() const = 0;
    virtual const std::vector<QPointF>& pixels() const = 0;

protected:
    ~PlottedPoints() = default;
};

class PointsLayer final : public QGraphicsItem {
public:
    explicit PointsLayer(const PlottedPoints& points);
    void setArea(const QRectF& area);
    void setShapes(bool shapes);
    // Every point again.
    void drawAll();
    // Only around these places (in the chart's coordinates).
    void drawAround(const QList<QRectF>& places);
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override;

private:
    static constexpr int kMostMarker = 8;  // half the largest marker, and a pixel more
    QRect devicePixels(const QRect& place) const;
    // Every point's marker copied into the picture within `clip` (its pixels), the
    // selected ones last, over the others: a blend of a few dozen pixels each, where
    // the painter's own image drawing costs several times that for so small a one.
    void copyMarkers(const QRect& clip);
    // A marker's picture, and its bytes in rows widened with transparent pixels to whole
    // groups of four with, for each byte, 255 less the alpha of its pixel: what the byte
    // under it is scaled by.
    struct Marker {
        QImage picture;
        int width = 0;
        int height = 0;
        int groups = 0;  // of four pixels, a row
        std::vector<std::uint8_t> bytes;
        std::vector<std::uint8_t> rest;
    };
    static Marker makeMarker(QImage picture);
    // The picture's pixels as the blend writes them.
    struct Canvas {
        uchar* bytes;
        qsizetype stride;  // bytes a row
        int width;         // pixels a row
    };
    // Source over, both premultiplied, within `clip`.
    static void blend(const Marker& marker, QPoint corner, const QRect& clip, const Canvas& canvas);
    const PlottedPoints& points_;
    std::vector<std::pair<Marker, Marker>> markers_;  // by kind: plain, selected
    qreal ratio_ = 1;
    QRectF area_;
    QImage picture_;
    bool pictureValid_ = false;
    bool shapes_ = false;
};
