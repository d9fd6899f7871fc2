#pragma once
// TForm4: the map preview window. Spot mode draws the work list over the map
// picture; selection mode draws only the place being composed in the add-location
// dialog, and the mouse picks it.

#include <filesystem>
#include <memory>
#include <vector>

#include <QString>
#include <QWidget>

#include "MapGeometry.h"
#include "MapPicture.h"

struct Forms;

// "Map  Preview  ( " + name + ", " + map + " )  "
QString previewTitle(const QString& monsterName, int map);

class TForm4 : public QWidget {
    Q_OBJECT
public:
    // screenHeight decides the zoom items offered (tests give it; the program reads
    // the primary screen's height once).
    TForm4(Forms& forms, int screenHeight, QWidget* parent = nullptr);
    ~TForm4() override;

    bool showselection = false;   // true: selection mode
    bool pointselection = false;  // true: the selection is one cell
    int selx0 = 127;
    int sely0 = 127;
    int selx1 = 128;
    int sely1 = 128;

    // Decodes the picture (TableError when it is not a readable JPEG; the window
    // stays as it was) and scales it once for the current zoom.
    void loadMapPicture(const std::filesystem::path& file);
    void setPictureVisible(bool visible);
    bool pictureVisible() const;
    void setTitle(const QString& title);
    QString title() const;
    int zoom() const;            // 1 .. 5
    void setZoom(int factor);    // as choosing that zoom item (ignored when not offered)
    // Repaints the drawing surface before returning.
    void redraw();

    // What the next paint of the drawing surface outlines, in drawing order.
    std::vector<SpotRect> rectangles() const;
    int zoomItemCount() const;
    QString coordinates() const;  // the coordinate label's text
    bool collapsed() const;

    void RadioGroup1Click();
    void SpeedButton1Click();  // minimise: folds to the title strip and back
    void SpeedButton4Click();  // close: hides

protected:
    // Escape closes the preview as its close button does (the title strip's buttons
    // take no keyboard focus), and the keyboard goes back to the main window.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void PaintBox1MouseMove(QPoint pixel);
    void PaintBox1MouseDown(Qt::MouseButton button, QPoint pixel);
    void PaintBox1MouseUp(Qt::MouseButton button, QPoint pixel);
    void relayout();
    void outlinesInto(std::vector<SpotRect>& out) const;  // as rectangles(), appended

    struct Impl;
    std::unique_ptr<Impl> d_;
};
