#include "BalanceChartView.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QGraphicsItem>
#include <QGraphicsLayout>
#include <QRubberBand>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QChart>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QLogValueAxis>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include "PointsLayer.h"

namespace {

constexpr int kReach = 6;          // pixels from a point that still take it
constexpr int kTrendSamples = 64;  // points of the trend's curve and of its band's edges (linear axis)
// A move of the trend's curve smaller than this, in pixels, is not drawn.
constexpr double kUnseenMove = 0.2;
// Past this many places, the points are all drawn again rather than around each.
constexpr qsizetype kMostPlacesRedrawn = 64;

const QColor kTrendColour(0x20, 0x4a, 0x87);
const QColor kBandColour(0x72, 0x9f, 0xcf, 0x50);

// The largest 1, 2 or 5 times a power of ten at or below the value (above 0), and the
// smallest at or above it.
double niceBelow(double value) {
    const double decade = std::pow(10.0, std::floor(std::log10(value)));
    for (const double step : {5.0, 2.0, 1.0})
        if (step * decade <= value) return step * decade;
    return decade;
}

double niceAbove(double value) {
    const double decade = std::pow(10.0, std::floor(std::log10(value)));
    for (const double step : {1.0, 2.0, 5.0, 10.0})
        if (step * decade >= value) return step * decade;
    return 10 * decade;
}

}  // namespace

// Made with its chart: the view made without one makes a chart of its own, which a later
// setChart() hands back to nobody.
BalanceChartView::BalanceChartView(QWidget* parent) : QChartView(new QChart, parent) {
    setObjectName(QStringLiteral("BalanceChart"));
    setAccessibleName(QStringLiteral("Balance chart"));
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
    setRubberBand(QChartView::NoRubberBand);
    setMinimumSize(360, 260);

    QChart* chart = this->chart();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));

    upper_ = new QLineSeries(chart);
    lower_ = new QLineSeries(chart);
    band_ = new QAreaSeries(upper_, lower_);
    band_->setName(QStringLiteral("Band: %1 deviations").arg(kOutlierDeviations));
    band_->setColor(kBandColour);
    band_->setBorderColor(Qt::transparent);
    trendLine_ = new QLineSeries;
    trendLine_->setName(QStringLiteral("Trend"));
    trendLine_->setPen(QPen(kTrendColour, 2));
    chart->addSeries(band_);
    chart->addSeries(trendLine_);

    for (const PointKind& kind : kPointKinds) {
        auto* series = new QScatterSeries;
        series->setName(QString::fromLatin1(kind.name));
        series->setColor(kind.colour);
        series->setBorderColor(kind.colour.darker(140));
        series->setMarkerShape(kind.diamond ? QScatterSeries::MarkerShapeRotatedRectangle
                                            : QScatterSeries::MarkerShapeCircle);
        series->setMarkerSize(kind.size);
        chart->addSeries(series);
        kinds_.push_back(series);
    }
    layer_ = new PointsLayer(*this);
    layer_->setParentItem(chart);
    connect(chart, &QChart::plotAreaChanged, this, [this](const QRectF& area) {
        pixelsKnown_ = false;
        layer_->setArea(area);
        layer_->drawAll();
        trendPlaced_.clear();  // its next points are given whatever they are
    });
}

BalanceChartView::~BalanceChartView() = default;

void BalanceChartView::showPlot(const BalancePlot& plot, const QString& valueName, bool logarithmic) {
    std::vector<Point> before = std::move(points_);
    std::vector<QPointF> placedBefore;
    if (pixelsKnown_) placedBefore = std::move(pixels_);
    const QPointF levelsBefore = levelRange_;
    const QPointF valuesBefore = valueRange_;
    const QPointF axisBefore = valueAxisEnds();
    const bool wasLogarithmic = logarithmic_;
    points_.clear();
    points_.reserve(plot.points.size());
    pointMonsters_.clear();
    pointMonsters_.reserve(plot.points.size());
    std::array<bool, std::size(kPointKinds)> shown{};
    for (std::size_t i = 0; i < plot.points.size(); ++i) {
        const LevelValue& point = plot.points[i];
        const unsigned char kind = point.value <= 0 ? 2 : plot.outlier[i] ? 1 : 0;
        if (kind == 2 && logarithmic) continue;  // no place on a logarithmic axis
        const bool selected = i < before.size() && before[i].monster == plot.monsters[i] && before[i].selected;
        const double up = logarithmic ? plot.logs[i] : static_cast<double>(point.value);
        points_.push_back({QPointF(point.level, static_cast<double>(point.value)), up, plot.monsters[i], kind, selected});
        pointMonsters_.push_back(plot.monsters[i]);
        shown[kind] = true;
    }
    for (std::size_t kind = 0; kind < kinds_.size(); ++kind) showInLegend(kinds_[kind], shown[kind]);
    placeAxes(plot, logarithmic, valueName);
    drawTrend(plot);
    pixelsKnown_ = false;
    layer_->setArea(chart()->plotArea());

    // With the axes as they were, only the points that changed are drawn again.
    const bool samePlaces = !placedBefore.empty() && wasLogarithmic == logarithmic && levelsBefore == levelRange_ &&
                            valuesBefore == valueRange_ && axisBefore == valueAxisEnds() &&
                            before.size() == points_.size();
    if (!samePlaces) return layer_->drawAll();
    QList<QRectF> places;
    const std::vector<QPointF>& placed = pixels();
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const Point& was = before[i];
        const Point& is = points_[i];
        if (was.monster != is.monster) return layer_->drawAll();
        // Whole numbers, compared as they are: QPointF's comparison allows for rounding.
        if (was.value.x() == is.value.x() && was.value.y() == is.value.y() && was.kind == is.kind &&
            was.selected == is.selected)
            continue;
        places << QRectF(placedBefore[i], QSizeF(0, 0)) << QRectF(placed[i], QSizeF(0, 0));
        if (places.size() > kMostPlacesRedrawn) return layer_->drawAll();
    }
    layer_->drawAround(places);
}

void BalanceChartView::placeAxes(const BalancePlot& plot, bool logarithmic, const QString& valueName) {
    int lowLevel = 1;
    int highLevel = 10;
    double lowValue = 0;
    double highValue = 10;
    double lowestAbove0 = 0;
    if (!plot.points.empty()) {
        lowLevel = highLevel = plot.points.front().level;
        lowValue = highValue = static_cast<double>(plot.points.front().value);
        for (const LevelValue& point : plot.points) {
            lowLevel = std::min(lowLevel, point.level);
            highLevel = std::max(highLevel, point.level);
            lowValue = std::min(lowValue, static_cast<double>(point.value));
            highValue = std::max(highValue, static_cast<double>(point.value));
            if (point.value > 0 && (lowestAbove0 == 0 || point.value < lowestAbove0))
                lowestAbove0 = static_cast<double>(point.value);
        }
    }
    QChart* chart = this->chart();
    if (!levelAxis_) {
        levelAxis_ = new QValueAxis;
        levelAxis_->setTitleText(QStringLiteral("Level"));
        levelAxis_->setLabelFormat(QStringLiteral("%d"));
        chart->addAxis(levelAxis_, Qt::AlignBottom);
        for (QAbstractSeries* series : chart->series()) series->attachAxis(levelAxis_);
    }
    // Ticks at a round step, about eight of them, the ends on the next tick out.
    if (levelRange_ != QPointF(lowLevel, highLevel)) {
        levelRange_ = QPointF(lowLevel, highLevel);
        const double step = niceAbove(std::max(1, highLevel - lowLevel) / 8.0);
        const double from = std::max(0.0, std::floor((lowLevel - step / 4) / step) * step);
        const double to = std::ceil((highLevel + step / 4) / step) * step;
        levelAxis_->setTickType(QValueAxis::TicksDynamic);
        levelAxis_->setTickAnchor(0);
        levelAxis_->setTickInterval(step);
        levelAxis_->setRange(from, to);
    }

    if (!valueAxis_ || logarithmic != logarithmic_) {
        if (valueAxis_) {
            chart->removeAxis(valueAxis_);
            delete valueAxis_;
        }
        if (logarithmic) {
            auto* axis = new QLogValueAxis;
            axis->setBase(10);
            axis->setLabelFormat(QStringLiteral("%g"));
            axis->setMinorTickCount(8);
            // Solid: the default dashes cost more to draw than all the points.
            axis->setMinorGridLinePen(QPen(QColor(0xe4, 0xe4, 0xe4), 1));
            valueAxis_ = axis;
        } else {
            auto* axis = new QValueAxis;
            axis->setLabelFormat(QStringLiteral("%d"));
            valueAxis_ = axis;
        }
        chart->addAxis(valueAxis_, Qt::AlignLeft);
        for (QAbstractSeries* series : chart->series()) series->attachAxis(valueAxis_);
        logarithmic_ = logarithmic;
    }
    if (valueAxis_->titleText() != valueName) valueAxis_->setTitleText(valueName);
    if (logarithmic) {
        // From and to a 1, 2 or 5 times a power of ten: the axis moves only when a
        // value passes one.
        const double low = niceBelow((lowestAbove0 > 0 ? lowestAbove0 : 1) / 1.1);
        const double high = std::max(niceAbove(highValue * 1.1), low * 10);
        if (valueAxis_->property("min").toDouble() != low || valueAxis_->property("max").toDouble() != high)
            valueAxis_->setRange(low, high);
        valueRange_ = {};
    } else {
        const double low = std::min(0.0, lowValue);
        setNiceRange(static_cast<QValueAxis*>(valueAxis_), low, highValue + (highValue - low) / 20 + 1, valueRange_);
    }
}

// The axis from `low` to `high` widened to round numbers, set only when they differ from
// those it was last set from: Qt Charts lays out the axis' labels again on every range.
void BalanceChartView::setNiceRange(QValueAxis* axis, double low, double high, QPointF& last) {
    if (last == QPointF(low, high)) return;
    last = QPointF(low, high);
    axis->setRange(low, high);
    axis->applyNiceNumbers();
}

// The trend and its band are given their new points only where they move by a
// visible part of a pixel: an edit of one monster among thousands moves them by far
// less, and then the chart draws again only around the points that changed.
void BalanceChartView::drawTrend(const BalancePlot& plot) {
    QList<QPointF> trend;
    QList<QPointF> upper;
    QList<QPointF> lower;
    std::vector<QPointF> placed;
    if (plot.trend.fitted) {
        const double from = levelAxis_->min();
        const double to = levelAxis_->max();
        const Mapping map = mapping();
        const auto up = [&](double value) { return logarithmic_ ? std::log(value) : value; };
        // On a logarithmic axis the trend and its band are straight lines.
        const int samples = logarithmic_ ? 1 : kTrendSamples;
        for (int i = 0; i <= samples; ++i) {
            const double level = from + (to - from) * i / samples;
            trend.append({level, plot.trend.valueAt(level)});
            upper.append({level, plot.trend.upperEdgeAt(level)});
            lower.append({level, plot.trend.lowerEdgeAt(level)});
            for (const QPointF& point : {trend.back(), upper.back(), lower.back()})
                placed.push_back(map.at(level, up(point.y())));
        }
    }
    const bool moved = placed.size() != trendPlaced_.size() ||
                       !std::equal(placed.begin(), placed.end(), trendPlaced_.begin(), [](QPointF a, QPointF b) {
                           return std::abs(a.x() - b.x()) < kUnseenMove && std::abs(a.y() - b.y()) < kUnseenMove;
                       });
    if (moved) {
        trendPlaced_ = std::move(placed);
        trendLine_->replace(trend);
        upper_->replace(upper);
        lower_->replace(lower);
    }
    trendLine_->setVisible(plot.trend.fitted);
    band_->setVisible(plot.trend.fitted);
    showInLegend(trendLine_, plot.trend.fitted);
    showInLegend(band_, plot.trend.fitted);
}

// The legend lays itself out again only when told: a marker shown again would stay
// where it was last laid out.
void BalanceChartView::showInLegend(QAbstractSeries* series, bool shown) {
    bool changed = false;
    for (QLegendMarker* marker : chart()->legend()->markers(series)) {
        changed = changed || marker->isVisible() != shown;
        marker->setVisible(shown);
    }
    if (changed && chart()->legend()->layout()) chart()->legend()->layout()->invalidate();
}

std::vector<int> BalanceChartView::markedMonsters() const {
    std::vector<int> marked;
    for (const Point& point : points_)
        if (point.selected) marked.push_back(point.monster);
    std::sort(marked.begin(), marked.end());
    return marked;
}

void BalanceChartView::showSelection(const std::vector<char>& selected) {
    QList<QRectF> places;
    bool many = false;
    const std::vector<QPointF>& placed = pixels();
    for (std::size_t i = 0; i < points_.size(); ++i) {
        Point& point = points_[i];
        const auto monster = static_cast<std::size_t>(point.monster);
        const bool marked = monster < selected.size() && selected[monster];
        if (marked == point.selected) continue;
        point.selected = marked;
        many = many || places.size() >= kMostPlacesRedrawn;
        if (!many) places << QRectF(placed[i], QSizeF(0, 0));
    }
    if (many)
        layer_->drawAll();
    else if (!places.isEmpty())
        layer_->drawAround(places);
}

// Where Qt Charts' axes put a value: across and up in proportion to the value (or, on a
// logarithmic axis, to its logarithm) between the axis' ends, in the chart's own
// coordinates; the view pixel follows from the scene.
QPointF BalanceChartView::valueAxisEnds() const {
    if (auto* axis = qobject_cast<QLogValueAxis*>(valueAxis_)) return {axis->min(), axis->max()};
    if (auto* axis = qobject_cast<QValueAxis*>(valueAxis_)) return {axis->min(), axis->max()};
    return {};
}

BalanceChartView::Mapping BalanceChartView::mapping() const {
    Mapping map;
    map.area = chart()->plotArea();
    map.left = levelAxis_ ? levelAxis_->min() : 0;
    const double right = levelAxis_ ? levelAxis_->max() : 1;
    double high = 1;
    if (auto* axis = qobject_cast<QLogValueAxis*>(valueAxis_)) {
        map.low = std::log(axis->min());
        high = std::log(axis->max());
    } else if (auto* linear = qobject_cast<QValueAxis*>(valueAxis_)) {
        map.low = linear->min();
        high = linear->max();
    }
    map.across = right > map.left ? map.area.width() / (right - map.left) : 0;
    map.up = high > map.low ? map.area.height() / (high - map.low) : 0;
    return map;
}

const std::vector<QPointF>& BalanceChartView::pixels() const {
    if (pixelsKnown_) return pixels_;
    pixels_.clear();
    pixels_.reserve(points_.size());
    const Mapping map = mapping();
    for (const Point& point : points_) pixels_.push_back(map.at(point.value.x(), point.up));
    pixelsKnown_ = true;
    return pixels_;
}

namespace {

QPointF toView(const QChartView& view, QPointF inChart) { return view.mapFromScene(view.chart()->mapToScene(inChart)); }

}  // namespace

int BalanceChartView::monsterAt(QPoint pixel) const {
    const std::vector<QPointF>& at = pixels();
    const QPointF target = chart()->mapFromScene(mapToScene(pixel));
    int found = -1;
    double nearest = kReach * kReach + 0.5;
    for (std::size_t i = 0; i < at.size(); ++i) {
        const QPointF d = at[i] - target;
        const double distance = d.x() * d.x() + d.y() * d.y();
        if (distance < nearest) {
            nearest = distance;
            found = pointMonsters_[i];
        }
    }
    return found;
}

std::vector<int> BalanceChartView::monstersIn(const QRect& box) const {
    const std::vector<QPointF>& at = pixels();
    const QRectF area = QRectF(box.normalized()).adjusted(-0.5, -0.5, 0.5, 0.5);
    std::vector<int> inside;
    for (std::size_t i = 0; i < at.size(); ++i)
        if (area.contains(toView(*this, at[i]))) inside.push_back(pointMonsters_[i]);
    std::sort(inside.begin(), inside.end());
    return inside;
}

std::optional<QPoint> BalanceChartView::pixelOf(int monster) const {
    const std::vector<QPointF>& at = pixels();
    for (std::size_t i = 0; i < at.size(); ++i)
        if (pointMonsters_[i] == monster) return toView(*this, at[i]).toPoint();
    return std::nullopt;
}

// Drawn once as shapes: a picture per point would put ten thousand embedded images
// into an SVG file.
void BalanceChartView::renderAsShapes(QPainter& painter, const QRect& target) {
    std::vector<QGraphicsItem*> cached;
    for (QGraphicsItem* item : scene()->items()) {
        if (item->cacheMode() == QGraphicsItem::NoCache) continue;
        cached.push_back(item);
        item->setCacheMode(QGraphicsItem::NoCache);
    }
    layer_->setShapes(true);
    render(&painter, target);
    layer_->setShapes(false);
    for (QGraphicsItem* item : cached) item->setCacheMode(QGraphicsItem::DeviceCoordinateCache);
}

void BalanceChartView::setHovered(int monster) {
    if (monster == hovered_) return;
    hovered_ = monster;
    emit hovered(monster);
}

void BalanceChartView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QChartView::mousePressEvent(event);
    pressed_ = true;
    pressedAt_ = event->position().toPoint();
    event->accept();
}

void BalanceChartView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (pressed_ && (event->buttons() & Qt::LeftButton)) {
        if (!box_ && (at - pressedAt_).manhattanLength() >= QApplication::startDragDistance())
            box_ = new QRubberBand(QRubberBand::Rectangle, viewport());
        if (box_) {
            box_->setGeometry(QRect(pressedAt_, at).normalized());
            box_->show();
        }
        event->accept();
        return;
    }
    setHovered(monsterAt(at));
    QChartView::mouseMoveEvent(event);
}

void BalanceChartView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) return QChartView::mouseReleaseEvent(event);
    pressed_ = false;
    event->accept();
    if (box_) {
        const QRect box = box_->geometry();
        delete box_;
        box_ = nullptr;
        emit boxDrawn(monstersIn(box), event->modifiers());
        return;
    }
    emit pointClicked(monsterAt(event->position().toPoint()), event->modifiers());
}

void BalanceChartView::leaveEvent(QEvent* event) {
    setHovered(-1);
    QChartView::leaveEvent(event);
}

void BalanceChartView::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    pixelsKnown_ = false;
}
