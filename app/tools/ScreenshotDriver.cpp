// Test-only driver for scripts/screenshots: starts the windows on the working folder's
// data, brings them into a named state and writes the ready file, then waits to be
// ended by the script (which takes the screenshot in between).
//
//   varnex_shots <state> <ready-file>
//   varnex_shots startup-time          prints the milliseconds until the main window shows
//
// Add a state by adding an entry to kStates.

#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <string>

#include <QApplication>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QTimer>

#include "ProgramIdentity.h"
#include "SpawnPage.h"
#include "StatsPage.h"
#include "EditorDocument.h"
#include "EditorWindows.h"
#include "MainWindow.h"
#include "MapOverviewWindow.h"
#include "SplashWindow.h"
#include "MapPreviewWindow.h"
#include "GridColumns.h"
#include "GridView.h"
#include "MonsterGridModel.h"
#include "MonsterGridWindow.h"

namespace {

using State = std::function<void(SplashWindow&)>;

const std::map<std::string, State> kStates = {
    {"splash", [](SplashWindow&) {}},
    {"stats",
     [](SplashWindow& splash) {
         splash.dismiss();
         splash.mainWindow()->statsPage()->selectIndex(0);
     }},
    {"position",
     [](SplashWindow& splash) {
         splash.dismiss();
         splash.mainWindow()->switchPageKeepingMonster();
     }},
    {"preview",
     [](SplashWindow& splash) {
         splash.dismiss();
         splash.mainWindow()->switchPageKeepingMonster();
         // A monster with many range spots on one map, at 2X, so the outlines show.
         SpawnPage* page = splash.mainWindow()->spawnPage();
         if (const int row = page->monsterIndexOf(99); row >= 0) {
             page->selectMonsterIndex(row);
             page->showSelectedMonster();
             page->selectMapText(QStringLiteral("5"));
             page->showSelectedMap();
             page->showRangeListPage();
         }
         page->showPreview();
         splash.mapPreview()->setZoom(2);
     }},
    {"overview",
     [](SplashWindow& splash) {
         splash.dismiss();
         splash.mainWindow()->switchPageKeepingMonster();
         // Map 2 of the sample, where many monsters meet, with a range selected.
         MapOverviewWindow& overview = splash.windows()->mapOverview();
         overview.openOnMap(2);
         const SpawnTable& spawns = splash.windows()->document().spawns();
         for (int i = 0; i < spawns.count; ++i) {
             const SpawnEntry& spot = spawns.entries[static_cast<std::size_t>(i)];
             if (spot.spotid != -1 && spot.mapnumber == 2 && spot.monsterid == 51 && !spot.ispoint) {
                 overview.highlightSpot(spot.spotid);
                 break;
             }
         }
     }},
    {"table",
     [](SplashWindow& splash) {
         splash.dismiss();
         // Sorted by level, the HP of the levels 40 to 60 selected, as for a change.
         MonsterGridWindow& table = splash.windows()->monsterGrid();
         table.open();
         MonsterGridModel& rows = *table.model();
         rows.sortRows(gridColumnNamed(QStringLiteral("LVL")), Qt::AscendingOrder);
         const int hp = gridColumnNamed(QStringLiteral("HP"));
         QItemSelection band;
         for (int row = 0; row < rows.rowCount(); ++row) {
             const int level = rows.index(row, gridColumnNamed(QStringLiteral("LVL"))).data().toInt();
             if (level >= 40 && level <= 60) band.select(rows.index(row, hp), rows.index(row, hp));
         }
         table.grid()->selectionModel()->select(band, QItemSelectionModel::ClearAndSelect);
         if (!band.isEmpty()) table.grid()->scrollTo(band.first().topLeft(), QAbstractItemView::PositionAtCenter);
     }},
    {"balance",
     [](SplashWindow& splash) {
         splash.dismiss();
         // HP by level over the whole sample, its outliers listed beside the chart.
         splash.windows()->openBalanceChart();
     }},
    {"review",
     [](SplashWindow& splash) {
         splash.dismiss();
         // Unsaved changes in both files: the HP of the levels 40 to 60 raised by a
         // fifth in the monster table, and one spot of map 2 deleted.
         MonsterGridWindow& table = splash.windows()->monsterGrid();
         MonsterGridModel& rows = *table.model();
         const int hp = gridColumnNamed(QStringLiteral("HP"));
         QItemSelection band;
         for (int row = 0; row < rows.rowCount(); ++row) {
             const int level = rows.index(row, gridColumnNamed(QStringLiteral("LVL"))).data().toInt();
             if (level >= 40 && level <= 60) band.select(rows.index(row, hp), rows.index(row, hp));
         }
         table.grid()->selectionModel()->select(band, QItemSelectionModel::ClearAndSelect);
         table.changeSelectedCells(ValueChange{ValueChangeKind::Multiply, 12000});
         EditorDocument& document = splash.windows()->document();
         const SpawnTable& spawns = document.spawns();
         for (int i = 0; i < spawns.count; ++i) {
             const SpawnEntry& spot = spawns.entries[static_cast<std::size_t>(i)];
             if (spot.spotid != -1 && spot.mapnumber == 2 && !spot.ispoint) {
                 document.deleteSpot(spot.spotid);
                 break;
             }
         }
         splash.windows()->showReview();
     }},
    {"dialog",
     [](SplashWindow& splash) {
         splash.dismiss();
         splash.mainWindow()->switchPageKeepingMonster();
         splash.mainWindow()->spawnPage()->openAddSpotDialog();
     }},
};

int printStartupTime() {
    QElapsedTimer clock;
    clock.start();
    SplashWindow splash;
    splash.show();
    QApplication::processEvents();
    const qint64 splashShown = clock.elapsed();
    splash.dismiss();
    QApplication::processEvents();
    std::printf("splash shown after %lld ms; main window shown %lld ms after the dismissal\n",
                static_cast<long long>(splashShown),
                static_cast<long long>(clock.elapsed() - splashShown));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    setProgramIdentity();
    const std::string name = argc > 1 ? argv[1] : "";
    if (name == "startup-time") return printStartupTime();
    const auto state = kStates.find(name);
    if (state == kStates.end() || argc < 3) {
        std::fprintf(stderr, "usage: varnex_shots <state> <ready-file>; states:");
        for (const auto& entry : kStates) std::fprintf(stderr, " %s", entry.first.c_str());
        std::fprintf(stderr, "\n");
        return 2;
    }
    SplashWindow splash;
    splash.show();
    const std::string readyFile = argv[2];
    QTimer::singleShot(0, &splash, [&] {
        state->second(splash);
        // Let the windows paint before the script looks.
        QTimer::singleShot(300, &splash, [readyFile] { std::ofstream(readyFile) << "ready\n"; });
    });
    return QApplication::exec();
}
