#pragma once
// The spawn windows on small tables of our own, read from files in a fresh folder
// that also serves as the program's folder (map pictures, saves).

#include <memory>
#include <set>
#include <string>
#include <utility>

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QStringList>
#include <gtest/gtest.h>

#include "AddSpotDialog.h"
#include "EditorDocument.h"
#include "EditorWindows.h"
#include "ListRows.h"
#include "MainWindow.h"
#include "MapGeometry.h"
#include "MapPreviewWindow.h"
#include "SpawnPage.h"
#include "TempFolder.h"

class QTreeView;
class QWidget;

// Monsters 10..14. Spot numbers follow the order of the lines below:
//  0 (10, map 3, point)   1 (10, map 0, point)   2 (10, map 3, point)
//  3 (13, map 1, point)   4 (13, map 2, point)   5 (10, map 3, range 10,20-30,40)
//  6 (12, map 7, range)   7 (10, map 3, point type 2)   8 (11, map 5, range type 3)
//  9 (11, map 5, point type 4). Monster 14 has none. Pictures: maps 3 and 5, black.
std::string fixtureMonsterFile();
std::string fixtureSpawnFile();

// A w by h JPEG of one colour.
std::string jpegBytes(QColor colour, int width = 64, int height = 64);

class SpawnFixture : public ::testing::Test {
protected:
    SpawnFixture();
    ~SpawnFixture() override;

    // The program's windows on the folder's tables, the "Monster Position" page shown.
    void makeWindows(int screenHeight = 800);
    const EditorDocument& document() const { return windows->document(); }

    // Runs showSelectedMonster for the row, as a click does.
    void chooseMonster(int row);
    void chooseMap(const QString& text);  // as a choice in MapList
    void selectRow(QTreeView* list, int row);

    QStringList mapTexts() const;
    bool monsterIconHasSpots(int row) const;  // the row shows the ladybird

    TempFolder folder;
    std::unique_ptr<EditorWindows> windows;
    SpawnPage* page = nullptr;
    AddSpotDialog* dialog = nullptr;
    MapPreviewWindow* preview = nullptr;
};

// Pixels of the preview's map panel that are drawn white, in drawing-surface coordinates.
std::set<std::pair<int, int>> whitePixels(MapPreviewWindow& preview);
// The outline pixels of these rectangles as the drawing should leave them.
std::set<std::pair<int, int>> outlinePixels(const std::vector<SpotRect>& rects, int side);

QWidget* child(QWidget* parent, const char* name);
