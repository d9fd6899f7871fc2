#pragma once
// The balance chart, drawn by Qt Charts: the axes (level across, the chosen column up,
// linear or logarithmic), the trend as a curve with its band, and the legend. The
// monsters' points are one layer on the chart's scene that draws each as a small
// picture, the outliers apart in a shape and colour of their own and the selected ones
// marked: Qt Charts' scatter series makes a graphics item of every point, which for
// ten thousand monsters costs a second to show and most of that again for every
// change. The mouse: hovering names the point's monster, a click takes a point and a
// drag a box of them; what they mean is the window's.

#include <optional>
#include <vector>

#include <QtCharts/QChartView>

#include "BalancePoints.h"
#include "PointsLayer.h"

class QAbstractAxis;
class QAbstractSeries;
class QAreaSeries;
class QLineSeries;
class QRubberBand;
class QScatterSeries;
class QValueAxis;

class BalanceChartView final : public QChartView, private PlottedPoints {
    Q_OBJECT
public:
    explicit BalanceChartView(QWidget* parent = nullptr);
    ~BalanceChartView() override;

    // Draws the plot's monsters, trend and band; `valueName` titles the upright axis.
    void showPlot(const BalancePlot& plot, const QString& valueName, bool logarithmic);
    // Marks the selected monsters (by monster: non-zero where selected).
    void showSelection(const std::vector<char>& selected);
    // The monsters whose points are marked, in table order.
    std::vector<int> markedMonsters() const;
    // The monsters drawn, over every series.
    const std::vector<int>& drawnMonsters() const { return pointMonsters_; }

    // The monster whose point lies nearest this pixel of the view, within a few pixels;
    // -1 where there is none.
    int monsterAt(QPoint pixel) const;
    // The monsters whose points lie inside the box (view pixels), in table order.
    std::vector<int> monstersIn(const QRect& box) const;
    // Where the monster's point is drawn, in view pixels; nothing when it is not drawn.
    std::optional<QPoint> pixelOf(int monster) const;
    bool logarithmic() const { return logarithmic_; }

    // The chart as a drawing of lines and shapes, every point a shape (for SVG).
    void renderAsShapes(QPainter& painter, const QRect& target);

signals:
    void hovered(int monster);  // -1 when the pointer leaves every point
    void pointClicked(int monster, Qt::KeyboardModifiers modifiers);  // -1: beside every point
    void boxDrawn(const std::vector<int>& monsters, Qt::KeyboardModifiers modifiers);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeAxes(const BalancePlot& plot, bool logarithmic, const QString& valueName);
    void drawTrend(const BalancePlot& plot);
    static void setNiceRange(QValueAxis* axis, double low, double high, QPointF& last);
    void showInLegend(QAbstractSeries* series, bool shown);
    // Where the axes put a level and a value (itself, or its logarithm on a logarithmic
    // axis), in the chart's own coordinates, as Qt Charts places them.
    struct Mapping {
        QRectF area;
        double left = 0, low = 0, across = 0, up = 0;
        QPointF at(double level, double value) const {
            return {area.left() + (level - left) * across, area.bottom() - (value - low) * up};
        }
    };
    Mapping mapping() const;
    QPointF valueAxisEnds() const;  // from, to
    // The view pixels of every drawn point, worked out when first needed after a change.
    const std::vector<QPointF>& pixels() const override;
    const std::vector<PlotPoint>& plotPoints() const override { return points_; }
    void setHovered(int monster);

    // What each drawn point is, in drawing order.
    using Point = PlotPoint;
    std::vector<Point> points_;
    std::vector<int> pointMonsters_;  // by drawn point
    std::vector<QScatterSeries*> kinds_;  // empty: their legend entries name the kinds
    PointsLayer* layer_ = nullptr;
    QLineSeries* trendLine_ = nullptr;
    QLineSeries* upper_ = nullptr;
    QLineSeries* lower_ = nullptr;
    QAreaSeries* band_ = nullptr;
    QValueAxis* levelAxis_ = nullptr;
    QAbstractAxis* valueAxis_ = nullptr;
    bool logarithmic_ = false;
    std::vector<QPointF> trendPlaced_;  // where the trend's and its band's points were last drawn
    QPointF levelRange_;  // the ranges the axes were last set from
    QPointF valueRange_;
    mutable std::vector<QPointF> pixels_;  // in the chart's own coordinates
    mutable bool pixelsKnown_ = false;
    QRubberBand* box_ = nullptr;
    QPoint pressedAt_;
    bool pressed_ = false;
    int hovered_ = -1;
};
