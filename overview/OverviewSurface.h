#pragma once
// The overview's map: the picture with every spot of the map drawn over it, and the
// mouse and keys that select, drag and nudge a spot. What it draws is kept in one
// image, the picture with every spot drawn straight into its pixels, so a repaint
// copies pixels; a change to a few spots redraws only where they were and are. The
// selected spot, and the spot being dragged where it would go, are drawn over it.

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
    const std::vector<SpawnEntry>& spots() const { return spots_; }

    std::int32_t selectedSpot() const { return selected_; }
    // -1 selects none; a spot not drawn here is not selected.
    void selectSpot(std::int32_t spotid);
    // Where the selected spot is drawn, for scrolling it into view.
    std::optional<QRect> selectedArea() const;
    // The spots under the pixel, the one a click takes first.
    std::vector<SpawnEntry> spotsAt(QPoint pixel) const;

    // A drag in progress: the spot as it would be dropped now.
    std::optional<SpawnEntry> draggedSpot() const;
    void cancelDrag();

    std::function<void(QPoint pixel)> onHover;
    std::function<QString(QPoint pixel)> tooltipAt;
    std::function<void(std::int32_t spotid)> onChosen;   // a press took the spot
    std::function<void(std::int32_t spotid)> onDoubleClicked;
    std::function<void(const SpawnEntry& after, Grab grab)> onDropped;  // its cells changed
    std::function<void(int dx, int dy)> onArrow;  // cells, Y upwards; a spot is selected

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
        SpawnEntry original;
        SpawnEntry shown;
        Grab grab = Grab::None;
        QPoint pressCell;
        bool lifted = false;  // left out of the drawn image while it is dragged
    };

    const SpawnEntry* findSpot(std::int32_t spotid) const;
    std::vector<int> under(QPoint pixel) const { return index_.under(spots_, pixel); }
    int takenAt(QPoint pixel) const;  // the index of the spot a press takes, or -1
    std::int32_t liftedSpot() const;
    void markStale(const SpotRect& area);
    void updateArea(const SpotRect& area);
    const QImage& drawn();
    void drawAll();
    void drawArea(const SpotRect& area);
    void followDrag(QPoint pixel);
    void setCursorFor(QPoint pixel);

    PictureStretches picture_;
    int zoom_ = 1;
    std::vector<SpawnEntry> spots_;
    SpotIndex index_;  // of spots_ at zoom_
    std::int32_t selected_ = -1;
    std::optional<Drag> drag_;

    QImage base_;   // the picture or the background at this zoom
    QImage drawn_;  // base_ with every spot but a lifted one
    bool allStale_ = true;
    std::vector<SpotRect> staleAreas_;
};
