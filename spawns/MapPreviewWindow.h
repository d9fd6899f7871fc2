#pragma once
// The map preview window. In spot mode it draws the spots the spawn page shows over the
// map picture; in selection mode it draws only the place being composed in the
// add-location dialog, and the mouse picks it.

#include <filesystem>
#include <span>
#include <vector>

#include <QString>
#include <QWidget>

#include "MapGeometry.h"
#include "WheelSteps.h"
#include "SpawnTable.h"

class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QToolButton;
class MapPicture;
class PaintSurface;

// "Map  Preview  ( " + name + ", " + map + " )  "
QString previewTitle(const QString& monsterName, int map);

// The spots the preview draws in spot mode, as the spawn page lists them.
class ShownSpots {
public:
    virtual ~ShownSpots() = default;
    // False while no map is chosen: then nothing is drawn.
    virtual bool mapChosen() const = 0;
    // Copies of the spots of the chosen monster on the chosen map; deleted ones are skipped.
    virtual std::span<const SpawnEntry> spots() const = 0;
};

// What the preview draws and the mouse picks in selection mode, in cells.
struct MapSelection {
    bool showselection = false;   // true: selection mode
    bool pointselection = false;  // true: the selection is one cell
    int selx0 = 127;
    int sely0 = 127;
    int selx1 = 128;
    int sely1 = 128;
};

class MapPreviewWindow : public QWidget {
    Q_OBJECT
public:
    // screenHeight decides the zoom items offered (tests give it; the program reads
    // the primary screen's height once).
    explicit MapPreviewWindow(int screenHeight, QWidget* parent = nullptr);
    ~MapPreviewWindow() override;

    // Where spot mode takes its spots from; it must outlive this window or be reset.
    void setShownSpots(const ShownSpots* spots) { shownSpots_ = spots; }

    // True once the spawn page has chosen its first map: before that nothing but the
    // spawn page's first map choice may load a picture here.
    bool previewReady() const { return previewReady_; }
    void setPreviewReady() { previewReady_ = true; }

    const MapSelection& selection() const { return selection_; }
    // Spot mode.
    void showSpots() { selection_.showselection = false; }
    // Selection mode, picking one cell or a rectangle.
    void pickSelection(bool point);
    // The place being composed; the mode is kept.
    void setSelectedCells(int x0, int y0, int x1, int y1);
    void setSelectedCell(int x, int y);

    // Decodes the picture (TableError when it is not a readable JPEG; the window
    // stays as it was) and scales it once for the current zoom.
    void loadMapPicture(const std::filesystem::path& file);
    void setPictureVisible(bool visible);
    bool pictureVisible() const;
    void setTitle(const QString& title);
    QString title() const;
    int zoom() const { return zoom_; }  // 1 .. 5
    void setZoom(int factor);            // as choosing that zoom item (ignored when not offered)
    // Zoom items stepped up (or down) as a Ctrl+wheel turn does over this pixel of the
    // map: the window moves so that the cell there stays under the pointer; where that
    // would take it off the screen, it stays on the screen and the picture moves in its
    // frame instead.
    void zoomBy(int steps, QPoint pixel);
    // Where the picture's top left corner lies in its frame: (0, 0) unless the frame is
    // smaller than the picture (the screen bounds the window) or a zoom at the screen's
    // edge moved the picture.
    QPoint pictureOffset() const { return offset_; }
    // Repaints the drawing surface before returning.
    void redraw();

    // What the next paint of the drawing surface outlines, in drawing order.
    std::vector<SpotRect> rectangles() const;
    int zoomItemCount() const;
    QString coordinates() const;  // the cell label's text
    bool collapsed() const { return collapsed_; }

    void applyZoom();
    void toggleFolded();  // the minimise button: folds to the title strip and back
    void closePreview();  // hides

signals:
    // Escape closed the preview: the keyboard goes back to where the work goes on.
    void leftByKeyboard();

protected:
    // Escape closes the preview as its close button does (the title strip's buttons
    // take no keyboard focus).
    void keyPressEvent(QKeyEvent* event) override;

private:
    void pointerMoved(QPoint pixel);
    void mapPressed(Qt::MouseButton button, QPoint pixel);
    void mapReleased(Qt::MouseButton button, QPoint pixel);
    void relayout();
    // The largest map frame the screen has room for, beside the zoom group and below
    // the title strip.
    QSize roomForMap() const;
    // Puts the picture at `offset` in its frame: with `anywhere`, as far as leaves a
    // pixel of it in the frame; else only as far as it is larger than the frame.
    void placePicture(QPoint offset, bool anywhere);
    void outlinesInto(std::vector<SpotRect>& out) const;  // as rectangles(), appended

    const ShownSpots* shownSpots_ = nullptr;
    bool previewReady_ = false;
    MapSelection selection_;
    int zoom_ = 1;
    QPoint offset_;
    bool collapsed_ = false;
    WheelSteps wheel_;

    QFrame* body_ = nullptr;
    QFrame* titleStrip_ = nullptr;
    QLabel* caption_ = nullptr;
    QToolButton* closeButton_ = nullptr;
    QToolButton* foldButton_ = nullptr;
    QGroupBox* zoomGroup_ = nullptr;
    QButtonGroup* zoomItems_ = nullptr;
    QLabel* cellCaption_ = nullptr;
    QLabel* cellLabel_ = nullptr;
    QFrame* mapFrame_ = nullptr;
    QWidget* mapView_ = nullptr;  // the part of the picture the frame shows
    QFrame* mapPanel_ = nullptr;
    QLabel* noMapCaption_ = nullptr;
    MapPicture* picture_ = nullptr;
    PaintSurface* surface_ = nullptr;
};
