#pragma once
// The map overview as the program makes it, on map 2 of small tables of our own, at 2X.

#include <memory>
#include <string>

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTreeView>
#include <gtest/gtest.h>

#include "EditorDocument.h"
#include "EditorWindows.h"
#include "MainWindow.h"
#include "MapOverviewWindow.h"
#include "MessageRecorder.h"
#include "OverviewMonsters.h"
#include "OverviewSurface.h"
#include "ReportList.h"
#include "SpawnPage.h"
#include "SpawnRows.h"
#include "TempFolder.h"

inline std::string monsterFile() {
    const struct {
        int number;
        const char* name;
        int level;
    } monsters[] = {{10, "Ash Hound", 20}, {11, "Reed Crawler", 21}, {12, "Stone Warden", 22},
                    {13, "Mire Lantern", 23}, {112, "Quiet Moth", 24}};
    std::string text;
    for (const auto& m : monsters) {
        text += std::to_string(m.number) + "\t0\t\"" + m.name + "\"\t" + std::to_string(m.level);
        for (int column = 5; column <= 28; ++column) text += column == 13 ? "\t1" : "\t0";
        text += "\r\n";
    }
    return text;
}

// Spot numbers in line order: 0, 1, 2 (map 3), 3, 4 (corners in reverse order), 5 (the
// whole map), 6 (on spot 0's cell), 7. Everything but spot 2 is on map 2.
inline constexpr const char* kSpawnFile =
    "0\r\n"
    "10\t2\t5\t100\t101\t8\r\n"
    "13\t2\t0\t40\t41\t-1\r\n"
    "10\t3\t5\t7\t7\t2\r\n"
    "end\r\n"
    "1\r\n"
    "10\t2\t9\t10\t20\t30\t40\t6\t7\r\n"
    "11\t2\t3\t50\t60\t20\t30\t-1\t5\r\n"
    "12\t2\t1\t0\t0\t255\t255\t-1\t3\r\n"
    "end\r\n"
    "2\r\n"
    "11\t2\t8\t100\t101\t4\r\n"
    "end\r\n"
    "3\r\n"
    "end\r\n"
    "4\r\n"
    "112\t2\t4\t250\t5\t9\r\n"
    "end\r\n";

class OverviewTest : public ::testing::Test {
public:
    void SetUp() override {
        recorder().clear();
        folder.write("data/monster.txt", monsterFile());
        folder.write("data/Quarnel.txt", kSpawnFile);
        folder.write("VarnexMaps/2.jpg", blackJpeg());
        folder.write("VarnexMaps/4.jpg", "not a picture");
        windows = std::make_unique<EditorWindows>(folder.path(), folder.path(), loadTables(folder.path()), 800);
        page = windows->mainWindow().spawnPage();
        windows->mainWindow().pages()->setCurrentWidget(page);
        overview = &windows->mapOverview();
        overview->openOnMap(2);
        overview->chooseZoom(1);  // 2X
        surface = overview->surface();
    }

    static std::string blackJpeg() {
        QImage image(64, 64, QImage::Format_RGB32);
        image.fill(Qt::black);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPG", 100);
        return bytes.toStdString();
    }

    EditorDocument& document() { return windows->document(); }
    std::string bytes() { return document().spawns().fileBytes(); }

    // Pixel of a cell on the surface at its zoom.
    QPoint at(int x, int y) const { return cellPixel(x, y, surface->zoom()); }
    void mouse(QEvent::Type type, QPoint pixel, Qt::MouseButtons held = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(pixel) + QPointF(0.5, 0.5), surface->mapToGlobal(QPointF(pixel)), button,
                          held, modifiers);
        QApplication::sendEvent(surface, &event);
    }
    std::vector<std::int32_t> monstersListed() const {
        std::vector<std::int32_t> shown;
        for (int row = 0; row < overview->monsterRows()->rowCount(); ++row)
            if (!overview->monsterList()->isRowHidden(row, {})) shown.push_back(overview->monsterRows()->row(row).number);
        return shown;
    }
    // The spot selected in the spot list the page shows.
    std::int32_t spotShownOnPage() const {
        QTreeView* list = page->spotPages()->currentIndex() == 0 ? page->pointSpotList() : page->rangeSpotList();
        const int row = selectedRow(list);
        return row < 0 ? -1 : static_cast<SpotRows*>(list->model())->entry(row).spotid;
    }

    TempFolder folder;
    std::unique_ptr<EditorWindows> windows;
    SpawnPage* page = nullptr;
    MapOverviewWindow* overview = nullptr;
    OverviewSurface* surface = nullptr;
};
