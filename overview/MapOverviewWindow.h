#pragma once
// The map overview: one map with the spots of every monster on it, a list of those
// monsters that ticks their spots on and off, and spots moved and resized on the map.
// It shows what the document holds and asks the document for every change, so a move
// or a resize is one step of the spawn file's history and every other view follows.
// Like the program's other windows it has a title strip of its own, by which it is
// moved with or without a window manager; its close button, Escape, Ctrl+W and Alt+F4
// close it, and the grip in its corner resizes it.

#include <cstdint>
#include <initializer_list>
#include <set>
#include <unordered_map>
#include <vector>

#include <QWidget>

#include "SpawnTable.h"

class EditorDocument;
class OverviewMonsters;
class OverviewSurface;
class QComboBox;
class QLabel;
class QLineEdit;
class QScrollArea;
class QTreeView;
class SpinField;

class MapOverviewWindow : public QWidget {
    Q_OBJECT
public:
    explicit MapOverviewWindow(EditorDocument& document, QWidget* parent = nullptr);
    ~MapOverviewWindow() override;

    // Shows the window on this map, above the others.
    void openOnMap(int map);
    int map() const { return map_; }
    void setMap(int map);  // as the map field does
    // The zoom box's items: 1X to 5X, then "Fit", the largest zoom that shows the
    // whole map.
    static constexpr int kFitItem = 5;
    void chooseZoom(int item);
    int zoom() const;

    std::int32_t selectedSpot() const;
    // Selects the spot where the overview draws it, and scrolls it into view.
    void highlightSpot(std::int32_t spotid);
    // The tooltip at a pixel of the map: a line for each spot under it; "" for none.
    QString hoverText(QPoint pixel) const;

    OverviewSurface* surface() const { return surface_; }
    OverviewMonsters* monsterRows() const { return monsterRows_; }
    QTreeView* monsterList() const { return monsterList_; }
    QLineEdit* filterField() const { return filterField_; }
    QLabel* cellLabel() const { return cellLabel_; }

    // Hides the window, as its close button does.
    void closeOverview();

signals:
    // Escape closed the window: the keyboard goes back to where the work goes on.
    void leftByKeyboard();
    // A click took this spot: the spawn page is to show it.
    void spotChosen(std::int32_t spotid);
    // A double click on this spot: its values are to be edited.
    void editSpotRequested(std::int32_t spotid);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildTitleStrip();
    void buildControls();
    void showMap();
    void loadPicture();
    std::vector<SpawnEntry> drawnSpots() const;
    void spotsChanged(std::initializer_list<SpawnEntry> changed);
    void monstersTicked();
    void refreshMonsterRows();
    // The list and the map show the monsters the filter field names; with redraw the
    // map is drawn again when that changed which monsters are drawn.
    void applyFilter(bool redraw);
    void tickListed(bool shown);  // "All", "None"
    void applyZoom();
    int fitZoom() const;
    void showCell(QPoint pixel);
    void changeSpot(const SpawnEntry& after, const QString& verb);
    void nudgeSelected(int dx, int dy);
    QString spotLine(const SpawnEntry& spot) const;
    const QString& monsterText(std::int32_t monsterid) const;

    EditorDocument& document_;
    int map_ = -1;
    std::set<int> unreadablePictures_;  // each reported once
    std::set<std::int32_t> filteredAway_;  // monsters the filter field hides
    // "10 Ash Hound, level 20" by monster number: a hover names its spots at once.
    mutable std::unordered_map<std::int32_t, QString> monsterTexts_;

    QLabel* titleStrip_ = nullptr;
    SpinField* mapField_ = nullptr;
    QComboBox* zoomBox_ = nullptr;
    QLabel* cellLabel_ = nullptr;
    QScrollArea* mapArea_ = nullptr;
    OverviewSurface* surface_ = nullptr;
    QLineEdit* filterField_ = nullptr;
    QTreeView* monsterList_ = nullptr;
    OverviewMonsters* monsterRows_ = nullptr;
};
