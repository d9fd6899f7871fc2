#pragma once
// The balance chart window, "Balance — <column> by level": every monster the monster
// table's filter keeps as a point of a chosen column against its level, the trend
// fitted through them with its band, and the monsters out of line listed beside it with
// how far off they are. What is selected here is selected in the monster table (and a
// single monster on the stats page), and the table's selection is marked here; the
// wiring is EditorWindows'. "Set to the trend" sets the selected monsters' column to
// the trend's value at their level as one step of the monster table's history. The
// window follows every change of the document at once, and saves as PNG or SVG.
//
// The balance chart (balance/) is made on first use by EditorWindows (Ctrl+G in the main window and
// the monster table, the table's "Balance..." button, which the table only asks for by
// `balanceRequested`). What it computes is plain C++: `BalancePoints.h` reads each monster's level
// and the chosen column as the stats page shows them (`readMonsterFields`, one walk of the line, as
// far as the column, or the move range when the non-combat characters are asked for) and decides
// who is one (move range 0, both damages 0 or 1); `TrendFit.h` fits value = a·e^(b·level) by least
// squares on the logarithm, takes the median of the residuals and their median absolute deviation,
// and calls outliers the points beyond 3 of those from the median (values of 0 or below are left
// out and counted); `plotBalance` narrows the monsters by the filter and the option, and
// `trendEdits` gives "Set to the trend" its edits, which go through `planEdits` and `storeMonsters`
// as one step. The window keeps one row per monster, reads a monster again on `monsterStored` and
// plots again once per step (a zero timer). The table's filter text (`filterChanged`, matched by
// `monsterMatchesFilter` in ui/ListFilter.h, the table's own rule) and selection
// (`selectedMonstersChanged`) reach it through EditorWindows, and what is chosen on the chart goes
// back the same way (`monstersChosen` to `MonsterGridWindow::selectMonsters`, `monsterClicked` to
// the stats page). Qt Charts draws the axes, the trend and its band (a `QAreaSeries`) and the
// legend; the points are one item of ours on the chart's scene (`PointsLayer`),
// since a Qt Charts scatter series makes a graphics item of every point (over a second for 10,000):
// they are blended into one picture of the plot area that a repaint copies (each marker kept as
// bytes and the scale of what lies under each, blended four pixels at a time, with SSE2 where the
// compiler has it), and a change of a few points draws again only around them. The axes are set
// only when their ranges change (the logarithmic one from and to 1, 2 or 5 times a power of ten),
// the trend's series only when it moves by a visible part of a pixel, and the outlier list only
// where its lines change; its lines are painted by `OutlierLineDelegate`, as the style paints them
// but with each line's text laid out once (`QStaticText`), where the style lays it out three times
// at every paint. One edit among 10,000 monsters costs about a millisecond, opening the chart about
// twice what the monster table's opening costs (`bench/monster_grid_bench` holds both beside the
// table's). The SVG is drawn with every point a shape. A build whose Qt lacks
// Charts or SVG (`VARNEX_BALANCE=OFF`, as the Windows zip where their sources cannot be had) has no
// chart; its Ctrl+G says so.

#include <vector>

#include <QString>
#include <QWidget>

#include "BalancePoints.h"

class BalanceChartView;
class SummaryText;
class EditorDocument;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

class BalanceWindow final : public QWidget {
    Q_OBJECT
public:
    explicit BalanceWindow(EditorDocument& document, QWidget* parent = nullptr);
    ~BalanceWindow() override;

    // Shows the window above the others.
    void open();

    // The column shown (an index of kMonsterFields that chartableField takes).
    void showField(int field);
    int field() const { return rows_.field(); }
    void setLogarithmic(bool logarithmic);
    void setLeavingOutNonCombat(bool leaveOut);
    // The monster table's filter text: only the monsters it keeps are on the chart.
    void setFilterText(const QString& text);
    // Marks these monsters as selected, as the monster table's selection (tells nothing).
    void showSelection(const std::vector<int>& monsters);
    // While the stats page edits a monster nothing is changed here.
    void setLocked(bool locked);

    // What the operator's actions run; each reports its own failure.
    void chooseMonsters(const std::vector<int>& monsters);
    void setSelectedToTrend();
    // PNG or SVG by the name's ending; false, having said why, when it cannot be written.
    bool savePicture(const QString& path);
    void askAndSavePicture();

    const BalancePlot& plot() const { return plot_; }
    std::vector<int> selectedMonsters() const;
    // The outlier list's lines, as shown: the furthest 100, then how many more.
    QStringList outlierLines() const;
    QString summaryText() const;
    QString statusText() const;
    QString hoverText() const { return hoverText_; }
    BalanceChartView* chartView() const { return view_; }
    bool locked() const { return locked_; }

signals:
    // The operator chose these monsters here (a click, a box, the outlier list).
    void monstersChosen(const std::vector<int>& monsters, int field);
    // A click took this one monster.
    void monsterClicked(int monster);

private:
    void buildControls();
    // Reads the column of every monster again, then draws.
    void readAllRows();
    // The plot from the rows, drawn, listed and summed up.
    void replot();
    void replotSoon();
    void listOutliers();
    void showHover(int monster);
    void pointClicked(int monster, Qt::KeyboardModifiers modifiers);
    void boxDrawn(const std::vector<int>& monsters, Qt::KeyboardModifiers modifiers);
    void setSelection(const std::vector<int>& monsters);
    void showStatus(const QString& text);
    void updateTitle();
    QString fieldName() const;
    QString monsterName(int monster) const;
    bool shownByFilter(int monster) const;

    EditorDocument& document_;
    BalanceRows rows_;
    BalancePlot plot_;
    QString filter_;
    bool logarithmic_ = true;
    bool leaveOutNonCombat_ = false;
    bool locked_ = false;
    std::vector<char> selected_;  // by monster
    QString hoverText_;
    std::vector<int> listedMonsters_;  // by line of the outlier list
    QStringList listedLines_;
    std::vector<long long> listedFigures_;  // what the listed lines say

    BalanceChartView* view_ = nullptr;
    QComboBox* columnBox_ = nullptr;
    QCheckBox* logBox_ = nullptr;
    QCheckBox* nonCombatBox_ = nullptr;
    SummaryText* summary_ = nullptr;
    QListWidget* outlierList_ = nullptr;
    QPushButton* trendButton_ = nullptr;
    QPushButton* pictureButton_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer* replotTimer_ = nullptr;
};

// The summary beside the chart: a few wrapped lines in a place of fixed height, so that
// new figures after an edit repaint it without laying out the window again.
class SummaryText final : public QWidget {
public:
    explicit SummaryText(QWidget* parent);
    void setText(const QString& text);
    const QString& text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};
