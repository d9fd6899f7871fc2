#include "BalanceChartView.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QChart>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QLogValueAxis>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

namespace {

constexpr int kReach = 6;          // pixels from a point that still take it
constexpr int kTrendSamples = 96;  // points of the trend's curve and of its band's edges

const QColor kPointColour(0x34, 0x65, 0xa4);
const QColor kOutlierColour(0xcc, 0x00, 0x00);
const QColor kLeftOutColour(0x88, 0x8a, 0x85);
const QColor kSelectedColour(0xf5, 0x79, 0x00);
const QColor kTrendColour(0x20, 0x4a, 0x87);
const QColor kBandColour(0x72, 0x9f, 0xcf, 0x50);

// A point's picture: a filled circle, or a diamond for an outlier; a selected point is
// larger, in the selection's colour with a dark rim.
QImage markerPicture(int size, QColor fill, bool diamond, bool selected) {
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1;
    QImage picture(QSize(size, size) * ratio, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(selected ? QColor(0x2e, 0x34, 0x36) : fill.darker(140), selected ? 1.6 : 1));
    painter.setBrush(selected ? kSelectedColour : fill);
    const QRectF area(1, 1, size - 2, size - 2);
    if (diamond) {
        const QPointF c = area.center();
        const qreal r = area.width() / 2;
        painter.drawPolygon(QPolygonF{{c.x(), c.y() - r}, {c.x() + r, c.y()}, {c.x(), c.y() + r}, {c.x() - r, c.y()}});
    } else {
        painter.drawEllipse(area);
    }
    return picture;
}

}  // namespace

struct BalanceChartView::Drawn {
    QScatterSeries* series = nullptr;
    std::vector<int> monsters;  // by point of the series
    QColor colour;
    int size = 0;
};

BalanceChartView::BalanceChartView(QWidget* parent) : QChartView(parent) {
    setObjectName(QStringLiteral("BalanceChart"));
    setAccessibleName(QStringLiteral("Balance chart"));
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
    setRubberBand(QChartView::NoRubberBand);
    setMinimumSize(360, 260);

    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    setChart(chart);

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

    const struct {
        const char* name;
        QColor colour;
        int size;
        bool diamond;
    } kinds[] = {
        {"Monsters", kPointColour, 8, false},
        {"Outliers", kOutlierColour, 11, true},
        {"Left out of the trend (0 or below)", kLeftOutColour, 8, false},
    };
    for (const auto& kind : kinds) {
        auto* series = new QScatterSeries;
        series->setName(QString::fromLatin1(kind.name));
        series->setColor(kind.colour);
        series->setBorderColor(kind.colour.darker(140));
        series->setMarkerShape(kind.diamond ? QScatterSeries::MarkerShapeRotatedRectangle
                                            : QScatterSeries::MarkerShapeCircle);
        series->setMarkerSize(kind.size);
        series->setLightMarker(markerPicture(kind.size, kind.colour, kind.diamond, false));
        series->setSelectedLightMarker(markerPicture(kind.size + 4, kind.colour, kind.diamond, true));
        series->setSelectedColor(kSelectedColour);
        chart->addSeries(series);
        drawn_.push_back({series, {}, kind.colour, kind.size});
    }
    connect(chart, &QChart::plotAreaChanged, this, [this] { pixelsKnown_ = false; });
}

BalanceChartView::~BalanceChartView() = default;

void BalanceChartView::showPlot(const BalancePlot& plot, const QString& valueName, bool logarithmic) {
    std::vector<QList<QPointF>> points(drawn_.size());
    for (Drawn& drawn : drawn_) drawn.monsters.clear();
    for (std::size_t i = 0; i < plot.points.size(); ++i) {
        const LevelValue& point = plot.points[i];
        const std::size_t kind = point.value <= 0 ? 2 : plot.outlier[i] ? 1 : 0;
        if (kind == 2 && logarithmic) continue;  // no place on a logarithmic axis
        points[kind].append(QPointF(point.level, static_cast<double>(point.value)));
        drawn_[kind].monsters.push_back(plot.monsters[i]);
    }
    for (std::size_t kind = 0; kind < drawn_.size(); ++kind) {
        drawn_[kind].series->deselectAllPoints();
        drawn_[kind].series->replace(points[kind]);
        showInLegend(drawn_[kind].series, !points[kind].isEmpty());
    }
    pointMonsters_.clear();
    for (const Drawn& drawn : drawn_) pointMonsters_.insert(pointMonsters_.end(), drawn.monsters.begin(), drawn.monsters.end());
    placeAxes(plot, logarithmic, valueName);
    drawTrend(plot);
    pixelsKnown_ = false;
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
    const int margin = std::max(1, (highLevel - lowLevel) / 40);
    levelAxis_->setRange(std::max(0, lowLevel - margin), highLevel + margin);
    levelAxis_->applyNiceNumbers();

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
    valueAxis_->setTitleText(valueName);
    if (logarithmic) {
        const double low = lowestAbove0 > 0 ? lowestAbove0 : 1;
        valueAxis_->setRange(low / 1.5, std::max(highValue, low) * 1.5);
    } else {
        auto* axis = static_cast<QValueAxis*>(valueAxis_);
        axis->setRange(std::min(0.0, lowValue), highValue + (highValue - std::min(0.0, lowValue)) / 20 + 1);
        axis->applyNiceNumbers();
    }
}

void BalanceChartView::drawTrend(const BalancePlot& plot) {
    QList<QPointF> trend;
    QList<QPointF> upper;
    QList<QPointF> lower;
    if (plot.trend.fitted) {
        const double from = levelAxis_->min();
        const double to = levelAxis_->max();
        for (int i = 0; i <= kTrendSamples; ++i) {
            const double level = from + (to - from) * i / kTrendSamples;
            trend.append({level, plot.trend.valueAt(level)});
            upper.append({level, plot.trend.upperEdgeAt(level)});
            lower.append({level, plot.trend.lowerEdgeAt(level)});
        }
    }
    trendLine_->replace(trend);
    upper_->replace(upper);
    lower_->replace(lower);
    trendLine_->setVisible(plot.trend.fitted);
    band_->setVisible(plot.trend.fitted);
    showInLegend(trendLine_, plot.trend.fitted);
    showInLegend(band_, plot.trend.fitted);
}

void BalanceChartView::showInLegend(QAbstractSeries* series, bool shown) {
    for (QLegendMarker* marker : chart()->legend()->markers(series)) marker->setVisible(shown);
}

std::vector<int> BalanceChartView::markedMonsters() const {
    std::vector<int> marked;
    for (const Drawn& drawn : drawn_)
        for (const int point : drawn.series->selectedPoints()) marked.push_back(drawn.monsters[static_cast<std::size_t>(point)]);
    std::sort(marked.begin(), marked.end());
    return marked;
}

void BalanceChartView::showSelection(const std::vector<char>& selected) {
    for (Drawn& drawn : drawn_) {
        QList<int> marked;
        for (std::size_t i = 0; i < drawn.monsters.size(); ++i) {
            const auto monster = static_cast<std::size_t>(drawn.monsters[i]);
            if (monster < selected.size() && selected[monster]) marked.append(static_cast<int>(i));
        }
        if (marked == drawn.series->selectedPoints()) continue;
        drawn.series->deselectAllPoints();
        drawn.series->selectPoints(marked);
    }
}

const std::vector<QPointF>& BalanceChartView::pixels() const {
    if (pixelsKnown_) return pixels_;
    pixels_.clear();
    pixels_.reserve(pointMonsters_.size());
    for (const Drawn& drawn : drawn_) {
        const QList<QPointF> points = drawn.series->points();
        for (const QPointF& point : points)
            pixels_.push_back(mapFromScene(chart()->mapToPosition(point, drawn.series)));
    }
    pixelsKnown_ = true;
    return pixels_;
}

int BalanceChartView::monsterAt(QPoint pixel) const {
    const std::vector<QPointF>& at = pixels();
    int found = -1;
    double nearest = kReach * kReach + 0.5;
    for (std::size_t i = 0; i < at.size(); ++i) {
        const QPointF d = at[i] - QPointF(pixel);
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
        if (area.contains(at[i])) inside.push_back(pointMonsters_[i]);
    std::sort(inside.begin(), inside.end());
    return inside;
}

std::optional<QPoint> BalanceChartView::pixelOf(int monster) const {
    const std::vector<QPointF>& at = pixels();
    for (std::size_t i = 0; i < at.size(); ++i)
        if (pointMonsters_[i] == monster) return at[i].toPoint();
    return std::nullopt;
}

// Drawn once as shapes: a picture per point would put ten thousand embedded images
// into an SVG file.
void BalanceChartView::renderAsShapes(QPainter& painter, const QRect& target) {
    std::vector<std::pair<QImage, QImage>> pictures;
    for (Drawn& drawn : drawn_) {
        pictures.emplace_back(drawn.series->lightMarker(), drawn.series->selectedLightMarker());
        drawn.series->setLightMarker(QImage());
        drawn.series->setSelectedLightMarker(QImage());
    }
    QApplication::processEvents();  // the series make their shapes
    render(&painter, target);
    for (std::size_t i = 0; i < drawn_.size(); ++i) {
        drawn_[i].series->setLightMarker(pictures[i].first);
        drawn_[i].series->setSelectedLightMarker(pictures[i].second);
    }
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
