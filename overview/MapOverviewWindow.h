#pragma once
// The map overview: one map with the spots of every monster on it, a list of those
// monsters that ticks their spots on and off, and spots selected on the map, one or
// many at a time, moved, resized, deleted, changed, copied and pasted there. It shows
// what the document holds and asks the document for every change, so each is one step
// of the spawn file's history, however many spots it changes, and every view follows.
// Like the program's other windows it has a title strip of its own, by which it is
// moved with or without a window manager; its close button, Escape, Ctrl+W and Alt+F4
// close it, and the grip in its corner resizes it.
//
// The map overview (overview/MapOverviewWindow.h) draws every live spot of one map and changes a
// spot's cells through `changeSpot` ("move", "resize"), one undo step each; it follows the
// document's `spotAdded`, `spotDeleted`, `spotChanged` and `monsterStored`. Where a spot is drawn
// and hit, and what a drag or an arrow key makes of it (cells kept in 0..255, a range's corners in
// order), are plain functions (overview/OverviewGeometry.h): a drag moves by the cells under the
// pointer at the press and now (`cellUnder`: every cell as many pixels wide as the zoom, so the
// pixel of a mark pressed does not change the move), and a press takes the selected spot when it is
// on its mark, edge or corner, else the topmost spot there (`spotTaken`); a `SpotIndex` files the
// spots by 16-cell blocks, so a hover looks at the few near the pointer. The spots drawn are those
// of the monsters ticked in the side list and named by its filter. A zoom keeps the cell in the
// middle of the view, a wheel's zoom the cell under the pointer. The surface
// (overview/OverviewSurface.h) keeps one image, the picture stretched once per zoom with every spot
// drawn straight into its pixels; a repaint copies pixels. A changed spot has only its old and new
// places drawn again (the picture's pixels put back there, then every spot that reaches into them,
// in drawing order: ranges, then points). The selected spot, and a dragged one where it would go,
// are drawn over the image when painting; a drag lifts its spot out of the image at its first step
// and repaints only the places it leaves and takes. The side list (overview/OverviewMonsters.h)
// counts from one pass over the spawn table. The selection (overview/OverviewSelection.cpp) is a
// flag per spot number; selected spots are drawn into the image in their own colour, over the
// others. The image is drawn again by the 16-cell blocks of the `SpotIndex`, and only the blocks a
// paint covers, so a change of thousands of spots costs what the view shows of them. What is done
// with the selection goes to the document as one step: `changeSpots` (moved, counts, directions),
// `deleteSpots`, `appendSpots` (a paste); each is a `SpotsCommand` that holds every spot as it was
// and is, and the document tells the views once, by `spotsChanged`. A group moves by one step for
// all (`groupStep`, so the whole group stops at the edge). Copy and paste go through the clipboard
// as spawn-file lines (tables/SpawnLines.h), read back by the spawn file's own reader; a paste is
// placed (`placedAt`) and refused, with the reason, before anything changes (lines of monsters the
// table does not list: the first five named, the rest counted).

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

#include <QWidget>

#include "SpawnTable.h"
#include "WheelSteps.h"

class EditorDocument;
struct SpotChange;
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

    // The current spot: of the spots selected, the one the spawn page shows; -1 for none.
    std::int32_t selectedSpot() const;
    // Makes the spot the current one, keeping the selection when it is one of it, else
    // selecting it alone; scrolls it into view.
    void highlightSpot(std::int32_t spotid);

    // The selection and what is done with it (OverviewSelection.cpp): spots drawn here.
    std::vector<std::int32_t> selectedSpots() const;
    int selectedRanges() const;  // how many of them are ranges
    void selectSpots(const std::vector<std::int32_t>& spotids);  // these alone
    void selectAllShown();
    void clearSelection();
    // Every spot of the monster drawn here.
    void selectMonsterSpots(std::int32_t monsterid);
    // Each of these is one step of the history, whatever the number of spots.
    // The selected spots by (dx, dy) cells, Y upwards, all as far as they all may go.
    void moveSelected(int dx, int dy);
    void deleteSelected();
    void setCountOfSelected(int count);             // of the selected ranges
    void setDirectionOfSelected(std::int32_t dir);  // of every selected spot
    // The same, asking for the count or the direction first.
    void askCountOfSelected();
    void askDirectionOfSelected();
    // The selected spots to the clipboard as lines of the spawn file (in file order).
    void copySelected();
    // The spots of the clipboard's spawn-file lines onto the map shown, their group's
    // upper left corner on `cell` (else each at its own cells), for `monster` when one
    // is given; then they are selected. Refused with the reason, changing nothing, when a
    // line is not one the spawn file's reader takes, names a monster the monster table
    // does not list, a spot would reach past the map's edge, or the spawn table lacks
    // the room.
    void paste(std::optional<QPoint> cell, std::optional<std::int32_t> monster = std::nullopt);
    // Ctrl+V and Ctrl+Shift+V: at the cell under the pointer, when it is over the map.
    void pasteAtPointer();
    void pasteForMonsterAtPointer();
    void pasteForMonster(std::optional<QPoint> cell);  // asks for the monster
    bool clipboardHasText() const;
    std::optional<QPoint> cellUnderPointer() const;
    // Zoom items stepped up (or down) as a wheel turn does, keeping the cell at this
    // pixel of the view where it is.
    void zoomBy(int steps, QPoint at);
    // The tooltip at a pixel of the map: a line for each spot under it; "" for none.
    QString hoverText(QPoint pixel) const;

    OverviewSurface* surface() const { return surface_; }
    OverviewMonsters* monsterRows() const { return monsterRows_; }
    QTreeView* monsterList() const { return monsterList_; }
    QLineEdit* filterField() const { return filterField_; }
    QLabel* cellLabel() const { return cellLabel_; }
    QLabel* selectionLabel() const { return selectionLabel_; }
    QComboBox* zoomBox() const { return zoomBox_; }
    QScrollArea* mapArea() const { return mapArea_; }

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
    void manySpotsChanged(const std::vector<SpotChange>& changes);
    void showSelectionSize();
    // "12 spots on map 3", for the name of a step.
    QString spotsText(std::size_t spots) const;
    void monstersTicked();
    void refreshMonsterRows();
    // The list and the map show the monsters the filter field names; with redraw the
    // map is drawn again when that changed which monsters are drawn.
    void applyFilter(bool redraw);
    void tickListed(bool shown);  // "All", "None"
    // The cell at this pixel of the view (its middle by default) stays there.
    void applyZoom(std::optional<QPoint> keep = std::nullopt);
    int fitZoom() const;
    void showCell(QPoint pixel);
    void changeSpot(const SpawnEntry& after, const QString& verb);
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
    QLabel* selectionLabel_ = nullptr;
    WheelSteps wheel_;
    QScrollArea* mapArea_ = nullptr;
    OverviewSurface* surface_ = nullptr;
    QLineEdit* filterField_ = nullptr;
    QTreeView* monsterList_ = nullptr;
    OverviewMonsters* monsterRows_ = nullptr;
};
