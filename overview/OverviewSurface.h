#pragma once
// The overview's map: the picture with every spot of the map drawn over it, and the
// mouse and keys that select spots (one, several, or a box of them), drag them and move
// them. What it draws is kept in one image, the picture with every spot drawn straight
// into its pixels, selected spots on top in their own colour; the image is drawn again
// block by block (the blocks of the spot index), and only where it is painted, so a
// change to a few spots costs what their blocks cost, and a change to many what the
// view shows of them. Spots being dragged are drawn over it, where they would go.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include <QImage>
#include <QWidget>

#include "MapSurface.h"
#include "OverviewGeometry.h"

// Each monster's colour on the overview, the same in every run: a bright hue from its
// number, which the dark halo around every stroke keeps readable on any picture.
QRgb monsterColour(std::int32_t monsterid);
inline constexpr QRgb kHaloColour = 0xFF141414u;
inline constexpr QRgb kSelectedColour = 0xFFFFFFFFu;
inline constexpr QRgb kBoxColour = 0xFFFFFFFFu;

class OverviewSurface final : public QWidget {
public:
    explicit OverviewSurface(QWidget* parent);

    // The map picture under the spots; a null picture shows the "no map" background.
    void setPicture(QImage picture);
    bool hasPicture() const { return picture_.hasPicture(); }
    void setZoom(int zoom);  // 1..5; the surface is 256 pixels a side per step
    int zoom() const { return zoom_; }

    // The spots to draw, in drawing order; everything is drawn again.
    void setSpots(std::vector<SpawnEntry> spots);
    // The same when only these spots changed (as they were, and as they are): only
    // where they lie is drawn again.
    void setSpots(std::vector<SpawnEntry> spots, std::span<const SpawnEntry> changed);
    // Drawn spots given new values that keep them drawn at their place in the drawing
    // order (the same kind, still shown): only these are filed and drawn again. False,
    // changing nothing, when one of them is not drawn here.
    bool replaceSpots(std::span<const SpawnEntry> now);
    const std::vector<SpawnEntry>& spots() const { return spots_; }
    // The drawn spot with this number, or null.
    const SpawnEntry* findSpot(std::int32_t spotid) const;

    // The selection: spots drawn here. The current spot is the one of them the spawn
    // page shows (the last one taken), or -1.
    std::int32_t selectedSpot() const { return current_; }
    std::vector<std::int32_t> selectedSpots() const;  // in drawing order
    std::vector<SpawnEntry> selectedEntries() const;  // the same spots
    bool isSelected(std::int32_t spotid) const;
    int selectionSize() const { return selectedCount_; }
    // Selects this spot alone (-1: none); a spot not drawn here is not selected.
    void selectSpot(std::int32_t spotid);
    // Makes a selected spot the current one, keeping the others; else selects it alone.
    void makeCurrent(std::int32_t spotid);
    // Selects these spots too (or alone), those drawn here; the current spot stays
    // when it stays selected, else becomes the only one when there is one.
    void selectSpots(std::span<const std::int32_t> spotids, bool adding);
    void selectAll();
    void clearSelection();
    // Where the current spot is drawn, for scrolling it into view.
    std::optional<QRect> selectedArea() const;
    // The spots under the pixel, the one a click takes first.
    std::vector<SpawnEntry> spotsAt(QPoint pixel) const;

    // A drag in progress: the pressed spot as it would be dropped now.
    std::optional<SpawnEntry> draggedSpot() const;
    // A box being dragged on the empty map, in cells.
    std::optional<CellBox> boxBeingDragged() const;
    void cancelDrag();

    std::function<void(QPoint pixel)> onHover;
    std::function<QString(QPoint pixel)> tooltipAt;
    std::function<void(std::int32_t spotid)> onChosen;  // a press made the spot current
    std::function<void()> onSelectionChanged;           // by the mouse or a key
    std::function<void(std::int32_t spotid)> onDoubleClicked;
    // One spot's cells changed by a drag (the selection was that spot alone).
    std::function<void(const SpawnEntry& after, Grab grab)> onDropped;
    // The selected spots dragged by whole cells, Y upwards, as far as they all may go.
    std::function<void(int dx, int dy)> onGroupDropped;
    std::function<void(int dx, int dy)> onArrow;  // cells, Y upwards; spots are selected

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Drag {
        std::vector<SpawnEntry> originals;  // the pressed spot first
        SpawnEntry shown;                   // the pressed spot where it would go
        QPoint step;                        // a group's move so far, in cells
        Grab grab = Grab::None;
        QPoint pressCell;
        bool lifted = false;    // left out of the drawn image while they are dragged
        bool narrow = false;    // a press on a spot of a larger selection: it alone, unless dragged
    };
    struct Box {
        QPoint pressCell;
        QPoint cell;
        bool adding = false;
    };

    std::vector<int> under(QPoint pixel) const { return index_.under(spots_, pixel); }
    int takenAt(QPoint pixel) const;  // the index of the spot a press takes, or -1
    void setSelected(std::int32_t spotid, bool selected);
    void selectionChanged();
    void rebuildPlaces();
    void markStale(const SpotRect& area);
    void updateArea(const SpotRect& area);
    void markAllStale();
    const QImage& drawnFor(const QRect& painted);
    void drawBlock(int row, int column);
    void followDrag(QPoint pixel);
    void followBox(QPoint pixel);
    void endBox();
    void setCursorFor(QPoint pixel);
    std::vector<std::int32_t> spotsInBox(const CellBox& box) const;

    PictureStretches picture_;
    int zoom_ = 1;
    std::vector<SpawnEntry> spots_;
    SpotIndex index_;  // of spots_ at zoom_
    std::vector<int> placeOf_;  // by spot number: its index in spots_, or -1
    std::vector<std::uint8_t> selected_;  // by spot number
    int selectedCount_ = 0;
    std::int32_t current_ = -1;
    std::optional<Drag> drag_;
    std::optional<Box> box_;

    QImage base_;   // the picture or the background at this zoom
    QImage drawn_;  // base_ with every spot but the lifted ones, block by block
    std::vector<std::uint8_t> staleBlocks_;  // SpotIndex::kBlocks squared, row by row
};
