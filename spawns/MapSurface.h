#pragma once
// The two layers of the preview's map panel: the picture (Image1) and the drawing
// surface on top of it (PaintBox1), both square at 256 pixels per zoom step.
//
// The preview's drawing (spawns/MapSurface.h): the outlines are drawn into one cached image,
// straight into its pixels, and made again only when the outlines, the picture or the zoom change
// (each paint compares this paint's outlines with the cached ones). Over a picture the cache holds
// the picture with the outlines drawn in and the drawing surface paints it all, opaque, so the
// picture's own layer is covered; without one it holds the outlines alone over the map panel. A
// repaint copies pixels.

#include <array>
#include <filesystem>
#include <functional>
#include <vector>

#include <QImage>
#include <QWidget>

#include "MapGeometry.h"

class QMouseEvent;

// A map picture read for drawing at any zoom, in a format that stretches fast.
// Throws TableError when the file is not a readable JPEG picture.
QImage readMapPicture(const std::filesystem::path& file);

// A map picture and its smooth stretches to 256 pixels per zoom step, each made once
// and kept, so that drawing the map again only copies pixels.
class PictureStretches {
public:
    void setPicture(QImage picture);  // forgets every stretched copy
    bool hasPicture() const { return !source_.isNull(); }
    // The picture at zoom 1..5; null without one.
    const QImage& at(int zoom);

private:
    QImage source_;
    std::array<QImage, kMaxZoom> stretched_;
};

// Shows the map picture stretched to its own size.
class MapPicture final : public QWidget {
public:
    explicit MapPicture(QWidget* parent);
    void setPicture(QImage picture);
    bool hasPicture() const { return stretches_.hasPicture(); }
    void setZoom(int zoom);           // 1..5; resizes to 256*zoom square
    // The picture at the current zoom; null without one.
    const QImage& stretched() { return stretches_.at(zoom_); }
    // Told apart from every picture before it (a new one, or another zoom).
    unsigned generation() const { return generation_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PictureStretches stretches_;
    int zoom_ = 1;
    unsigned generation_ = 0;
};

// The layer that draws the outlines and takes the mouse. What it draws is kept in
// one cached image, made again only when the outlines, the picture under them or
// the zoom change; a repaint copies pixels. Where the picture lies under it, the
// cache holds the picture with the outlines drawn in and the layer paints it all
// (the picture's own layer is then covered); elsewhere it holds the outlines alone
// over the map panel.
class PaintSurface final : public QWidget {
public:
    PaintSurface(QWidget* parent, MapPicture* picture);
    // The outlines to draw, in drawing order; asked at each paint.
    std::function<void(std::vector<SpotRect>&)> outlines;
    std::function<void(QMouseEvent*)> onMove;
    std::function<void(QMouseEvent*)> onPress;
    std::function<void(QMouseEvent*)> onRelease;

    // To be called when the picture or its visibility changed.
    void pictureChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool overPicture() const;
    const QImage& drawn();

    MapPicture* picture_;
    std::vector<SpotRect> wanted_;  // this paint's outlines
    std::vector<SpotRect> cachedOutlines_;
    QImage cached_;
    bool cachedOverPicture_ = false;
    unsigned cachedGeneration_ = 0;
    QSize cachedSize_;
};

// The pixel under the mouse pointer, for cells: the one whose area holds the position.
QPoint mousePixel(const QMouseEvent* event);

// White one-pixel outlines, nothing filled, drawn straight into the image's pixels (it
// must be RGB32 or premultiplied ARGB32): the same pixels as drawOutline gives each
// rectangle, clipped to the image.
void drawOutlines(QImage& image, const std::vector<SpotRect>& rects);
