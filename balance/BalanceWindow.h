#pragma once
// The balance chart window, "Balance — <column> by level": every monster the monster
// table's filter keeps as a point of a chosen column against its level, the trend
// fitted through them with its band, and the monsters out of line listed beside it with
// how far off they are. What is selected here is selected in the monster table (and a
// single monster on the stats page), and the table's selection is marked here; the
// wiring is EditorWindows'. "Set to the trend" sets the selected monsters' column to
// the trend's value at their level as one step of the monster table's history. The
// window follows every change of the document at once, and saves as PNG or SVG.

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
