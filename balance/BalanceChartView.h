#pragma once
// The balance chart itself, drawn by Qt Charts: every monster shown as a point (level
// across, the chosen column up, on a linear or logarithmic axis), the trend as a curve
// with its band, the outliers apart in a colour of their own, and the selected monsters
// marked. Points are drawn as pictures straight by the series ("light markers"), so ten
// thousand monsters cost no graphics item each. The mouse: hovering names the point's
// monster, a click takes a point and a drag a box of them; what they mean is the
// window's.

#include <optional>
#include <vector>

#include <QtCharts/QChartView>

#include "BalancePoints.h"

class QAbstractAxis;
class QAbstractSeries;
class QAreaSeries;
class QLineSeries;
class QRubberBand;
class QValueAxis;

class BalanceChartView final : public QChartView {
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

    // The chart as a drawing of lines and shapes, every point a circle (for SVG).
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
    struct Drawn;
    void placeAxes(const BalancePlot& plot, bool logarithmic, const QString& valueName);
    void drawTrend(const BalancePlot& plot);
    void showInLegend(QAbstractSeries* series, bool shown);
    // The view pixels of every drawn point, worked out when first needed after a change.
    const std::vector<QPointF>& pixels() const;
    void setHovered(int monster);

    std::vector<Drawn> drawn_;  // the scatter series: within the band, outliers, left out of the trend
    QLineSeries* trendLine_ = nullptr;
    QLineSeries* upper_ = nullptr;
    QLineSeries* lower_ = nullptr;
    QAreaSeries* band_ = nullptr;
    QValueAxis* levelAxis_ = nullptr;
    QAbstractAxis* valueAxis_ = nullptr;
    bool logarithmic_ = false;
    std::vector<int> pointMonsters_;  // by drawn point, over every series in order
    mutable std::vector<QPointF> pixels_;
    mutable bool pixelsKnown_ = false;
    QRubberBand* box_ = nullptr;
    QPoint pressedAt_;
    bool pressed_ = false;
    int hovered_ = -1;
};
