#pragma once
// The add-location dialog's place: the "Point Spot" page (one cell) and the "Range
// Spot" page (two corners and the monster count), each with its button that shows the
// map and its button that reads the place picked on the map.
//
// The range's corners are kept in order when the operator commits a number (an arrow
// step, or typing ended by leaving the field or Enter): the first corner stays below the
// second, and the field the operator did not commit gives way. A number being typed is
// never changed under the operator's fingers ("60" passes through "6"), and values set
// by the program are never reordered. At a bound the two may stay equal.

#include <QTabWidget>

class QToolButton;
class SpinField;
struct MapSelection;

class PlacePages final : public QTabWidget {
    Q_OBJECT
public:
    explicit PlacePages(QWidget* parent);

    QWidget* pointPage() const { return pointPage_; }
    QWidget* rangePage() const { return rangePage_; }
    bool pointPageShown() const { return currentWidget() == pointPage_; }

    SpinField* centerX() const { return centerX_; }
    SpinField* centerY() const { return centerY_; }
    SpinField* x0() const { return x0_; }
    SpinField* y0() const { return y0_; }
    SpinField* x1() const { return x1_; }
    SpinField* y1() const { return y1_; }
    SpinField* count() const { return count_; }

    // The place picked on the map into the fields, each pulled into its bounds, without
    // telling pointChanged or rangeChanged and without reordering: a range's smaller
    // values become the first corner.
    void readPoint(const MapSelection& picked);
    void readRange(const MapSelection& picked);
    // Takes in what is being typed into a field, as leaving it would.
    void commitTyping();

    // The controls in the order Tab visits them.
    QList<QWidget*> tabChain() const;

signals:
    void pointChanged();  // Center X or Center Y shows another value
    void rangeChanged();  // one of the corners shows another value
    void showMapClicked();
    void readPointClicked();
    void readRangeClicked();

private:
    void keepCornersInOrder(SpinField* committed);

    QWidget* pointPage_ = nullptr;
    QWidget* rangePage_ = nullptr;
    SpinField* centerX_ = nullptr;
    SpinField* centerY_ = nullptr;
    SpinField* x0_ = nullptr;
    SpinField* y0_ = nullptr;
    SpinField* x1_ = nullptr;
    SpinField* y1_ = nullptr;
    SpinField* count_ = nullptr;
    QToolButton* showPoint_ = nullptr;
    QToolButton* readPoint_ = nullptr;
    QToolButton* showRange_ = nullptr;
    QToolButton* readRange_ = nullptr;
};
