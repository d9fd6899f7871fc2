#pragma once
// Cells and pixels of the map overview, where every spot of a map is drawn at once:
// where a spot is drawn at a zoom, which spots lie under a pixel, and what dragging a
// spot (or an arrow key) makes of it. Cell (x, y) sits at pixel column x*z and pixel
// row (255 - y)*z, on the map picture's own pixel for it: every cell of the map, 0 and
// 255 alike, lies on the 256*z pixels a side (the preview draws a cell one pixel row
// lower, where cell 0 lies past its bottom edge at 1X). A point is a mark around that
// pixel, a range an outline from its upper left cell's pixel to its lower right cell's,
// both included.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include <QPoint>

#include "MapGeometry.h"
#include "SpawnTable.h"

// A spot's cells with its corners in order (x0 <= x1, y0 <= y1); a point is one cell.
struct CellBox {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    bool operator==(const CellBox&) const = default;
};
CellBox cellBox(const SpawnEntry& spot);

QPoint cellPixel(int x, int y, int zoom);
// The cell whose pixels hold this pixel. Each cell owns the zoom by zoom pixels around
// its own pixel (from half a cell before it), so every cell is equally wide at every
// zoom and a pointer moved by n cells' worth of pixels has moved n cells, wherever in a
// cell it started.
QPoint cellUnder(QPoint pixel, int zoom);
// The cell the X,Y label names for a pixel of the map: the cell under it, kept on the
// map (the outer half cells of the edge cells lie past the map's pixels).
QPoint shownCell(QPoint pixel, int zoom);

// A point's mark is a square this many pixels either side of its cell's pixel, at
// every zoom; its facing tick runs this many pixels beyond the mark.
inline constexpr int kMarkRadius = 2;
inline constexpr int kTickLength = 6;
// How far around a spot the mouse still takes it, and an edge or corner of a range.
inline constexpr int kGrabMargin = 3;

// In SpotRect terms (right and bottom not included).
SpotRect markRect(int x, int y, int zoom);
SpotRect outlineRect(const CellBox& box, int zoom);
SpotRect spotRect(const SpawnEntry& spot, int zoom);  // mark or outline
// Every pixel drawing the spot can touch, selected or not: halo, tick and handles too.
SpotRect spotBounds(const SpawnEntry& spot, int zoom);
SpotRect grown(const SpotRect& r, int by);  // by pixels on every side
bool intersects(const SpotRect& a, const SpotRect& b);

// The keypad's direction as a one-pixel step on the screen: 8 up, 2 down, 4 left,
// 6 right, 7, 9, 1 and 3 the diagonals. Nothing for -1 and every other value.
std::optional<QPoint> facingStep(std::int32_t dir);

// The part of a spot the mouse takes: a point, a range's inside, or its edge or corner.
enum class Grab { None, Point, Body, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };
Grab grabAt(const SpawnEntry& spot, QPoint pixel, int zoom);

// The spots under the pixel (indices into spots), the one a click takes first: points
// before ranges, the smaller range before the larger, and of equals the later one.
std::vector<int> spotsUnder(std::span<const SpawnEntry> spots, QPoint pixel, int zoom);

// The spot a press takes, from the spots under the pixel (as spotsUnder orders them):
// the selected spot (an index into spots, or -1) when the press is on its mark, an edge
// or a corner of it, else the first of them; -1 for none. So a selected range can be
// resized where another spot's outline runs close by, and a spot inside a selected
// range can still be taken.
int spotTaken(std::span<const SpawnEntry> spots, const std::vector<int>& under, int selected, QPoint pixel, int zoom);

// The same answers from the few spots near the pixel: the spots are filed by the
// blocks of the map they reach into, so that a hover over a full map looks at a
// handful of them, not at every one.
// The blocks are also the pieces in which the overview draws its picture again: each
// lists, in drawing order, every spot whose drawing reaches into it.
class SpotIndex {
public:
    static constexpr int kBlockCells = 16;
    static constexpr int kBlocks = kMapCells / kBlockCells + 1;  // a row and column for what lies past the map's side

    // Files the spots as drawn at the zoom; they must stay as they are while it is used.
    void build(std::span<const SpawnEntry> spots, int zoom);
    std::vector<int> under(std::span<const SpawnEntry> spots, QPoint pixel) const;
    // Spot i of the filed spots is now `now` (it was `was`): filed again where it reaches.
    void refile(int i, const SpawnEntry& was, const SpawnEntry& now);

    // The blocks an area of pixels reaches into, as (first, last) of rows and columns.
    struct Span {
        int firstRow, lastRow, firstColumn, lastColumn;
    };
    Span blocksOf(const SpotRect& area) const;
    // The spots reaching into a block, in drawing order, and its pixels.
    const std::vector<int>& inBlock(int row, int column) const {
        return blocks_[static_cast<std::size_t>(row * kBlocks + column)];
    }
    SpotRect blockArea(int row, int column) const;

private:
    int block(int pixel) const;

    int zoom_ = 1;
    std::vector<std::vector<int>> blocks_;  // kBlocks by kBlocks, row by row
};

// The spot after its grabbed part was dragged by (dx, dy) cells, Y upwards. Cells stay
// within 0..255; a moved spot keeps its size and stops at the map's edge; a range's
// corners come out in order, an edge dragged past the opposite one becoming it. When
// its cells would not change, the spot comes back exactly as it was.
SpawnEntry dragged(const SpawnEntry& spot, Grab grab, int dx, int dy);
// An arrow key: the whole spot by (dx, dy) cells.
SpawnEntry nudged(const SpawnEntry& spot, int dx, int dy);
// Whether a drag of this part moves the spot or resizes it.
bool resizes(Grab grab);

// The cells of all the spots together; none for no spots.
std::optional<CellBox> groupBox(std::span<const SpawnEntry> spots);
// The step (dx, dy) in cells, Y upwards, that moves every spot as far as it may go that
// way while all stay on the map: the whole group stops at the edge.
QPoint groupStep(std::span<const SpawnEntry> spots, int dx, int dy);
// The spots moved by whole cells (a step groupStep allows).
std::vector<SpawnEntry> movedBy(std::span<const SpawnEntry> spots, int dx, int dy);

// Spots placed on a map with the upper left corner of their group (its least X, its
// greatest Y, as the map shows it) on a cell, keeping their places relative to each
// other. Nothing when a spot would reach past the map's edge.
std::optional<std::vector<SpawnEntry>> placedAt(std::span<const SpawnEntry> spots, int map, QPoint upperLeft);
