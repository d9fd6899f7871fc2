#pragma once
// The two layers of the preview's map panel: the picture (Image1) and the drawing
// surface on top of it (PaintBox1), both square at 256 pixels per zoom step.

#include <array>
#include <functional>

#include <QImage>
#include <QPixmap>
#include <QWidget>

class QMouseEvent;
class QPainter;

// Shows the map picture stretched to its own size. The smooth stretch is done
// once per picture and zoom and kept, so a repaint only copies pixels.
class MapPicture final : public QWidget {
public:
    explicit MapPicture(QWidget* parent);
    void setPicture(QImage picture);  // forgets every stretched copy
    bool hasPicture() const { return !source_.isNull(); }
    void setZoom(int zoom);           // 1..5; resizes to 256*zoom square

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QPixmap& stretched();
    QImage source_;
    std::array<QPixmap, 5> stretched_;
    int zoom_ = 1;
};

// Transparent layer that paints the outlines and takes the mouse.
class PaintSurface final : public QWidget {
public:
    explicit PaintSurface(QWidget* parent);
    std::function<void(QPainter&)> onPaint;
    std::function<void(QMouseEvent*)> onMove;
    std::function<void(QMouseEvent*)> onPress;
    std::function<void(QMouseEvent*)> onRelease;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
