// The map preview's repaint at 5X with a full work list, against the bare picture;
// choosing a monster with 10000 spots on one map, against reading a full spawn file;
// undoing or redoing one change, against choosing the monster it changes, with
// full-size tables; and the map overview with 10240 spots of 256 monsters on one map:
// its repaint at 5X against the bare picture, a hover against a repaint of the cell
// label, a step of a drag, a box selecting every spot, a move of 1000 selected spots
// and a paste of 1000 spots against a repaint. The ratios are printed at the end.
//   QT_QPA_PLATFORM=offscreen build/<dir>/bench/gui_bench

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <vector>

#include <unistd.h>

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTreeView>
#include <QUndoStack>
#include <benchmark/benchmark.h>

#include "EditorDocument.h"
#include "EditorWindows.h"
#include "FullSizeFiles.h"
#include "WindowBenchmarks.h"
#include "SpawnPage.h"
#include "MapOverviewWindow.h"
#include "MapPreviewWindow.h"
#include "MainWindow.h"
#include "OverviewMonsters.h"
#include "OverviewGeometry.h"
#include "OverviewSurface.h"

namespace {

// Spots all on map 0, half points, half ranges, of monster 1 or, with owners, of the
// first that many monsters in turn; with more monsters, the others have none.
struct Scene {
    std::filesystem::path folder;
    std::unique_ptr<EditorWindows> windows;
    SpawnPage* page = nullptr;
    MapPreviewWindow* preview = nullptr;

    explicit Scene(int spots, int monsters = 1, int owners = 1) {
        folder = std::filesystem::temp_directory_path() / ("varnex-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder / "VarnexMaps");
        writePicture(folder / "VarnexMaps" / "0.jpg");

        TableLoad tables;
        tables.monsters.monsters[0] = {true, 10, 1, "Bench Beetle"};
        for (int i = 1; i < monsters; ++i)
            tables.monsters.monsters[static_cast<std::size_t>(i)] = {false, 1, i + 1, "Bench Moth"};
        tables.monsters.monstercount = monsters;
        for (int i = 0; i < spots; ++i) {
            SpawnEntry& e = tables.spawns.entries[static_cast<std::size_t>(i)];
            e.ispoint = i % 2 == 0;
            e.spottype = e.ispoint ? 2 : 1;
            e.mapnumber = 0;
            e.monsterid = i % owners + 1;
            e.x0 = static_cast<std::uint8_t>(i % 250 + 2);
            e.y0 = static_cast<std::uint8_t>((i / 250) * 6 % 240 + 2);
            e.x1 = static_cast<std::uint8_t>(std::min(e.x0 + 4, 250));
            e.y1 = static_cast<std::uint8_t>(std::min(e.y0 + 4, 250));
            e.distance = 5;
            e.count = 3;
            e.spotid = i;
        }
        tables.spawns.count = spots;

        // The first fill chooses the monster and map 0, which makes the preview ready.
        windows = std::make_unique<EditorWindows>(folder, folder, std::move(tables), 1280);
        page = windows->mainWindow().spawnPage();
        preview = &windows->mapPreview();
        windows->mainWindow().pages()->setCurrentWidget(page);
    }
    ~Scene() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    static void writePicture(const std::filesystem::path& file) {
        QImage image(512, 512, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x / 2, y / 2, (x ^ y) & 255));
        image.save(QString::fromStdString(file.string()), "JPG", 90);
    }

    void showPreviewAt5X() {
        page->showPreview();  // loads the picture, spot mode, shows the window
        preview->setZoom(5);
        QApplication::processEvents();
    }
};

void BM_PreviewRepaint5XFullWorkList(benchmark::State& state) {
    Scene scene(kSpawnCapacity);
    scene.showPreviewAt5X();
    const auto drawn = scene.preview->rectangles().size();
    for (auto _ : state) scene.preview->redraw();
    state.counters["spots"] = static_cast<double>(drawn);
}
BENCHMARK(BM_PreviewRepaint5XFullWorkList)->Unit(benchmark::kMillisecond);

// The same window with nothing to outline: the cost of the picture alone.
void BM_PreviewRepaint5XBarePicture(benchmark::State& state) {
    Scene scene(kSpawnCapacity);
    scene.showPreviewAt5X();
    scene.page->mapCombo()->setCurrentIndex(-1);
    const auto drawn = scene.preview->rectangles().size();
    for (auto _ : state) scene.preview->redraw();
    state.counters["spots"] = static_cast<double>(drawn);
}
BENCHMARK(BM_PreviewRepaint5XBarePicture)->Unit(benchmark::kMillisecond);

void BM_ChooseMonsterWith10000SpotsOnOneMap(benchmark::State& state) {
    Scene scene(10000);
    for (auto _ : state) {
        scene.page->selectMonsterIndex(0);
        scene.page->showSelectedMonster();
    }
    state.counters["rows"] = scene.page->pointSpotList()->model()->rowCount() + scene.page->rangeSpotList()->model()->rowCount();
}
BENCHMARK(BM_ChooseMonsterWith10000SpotsOnOneMap)->Unit(benchmark::kMillisecond);

// Undoing or redoing one change against choosing the monster it changes, with
// full-size tables: 1024 monsters, 10240 spots, all of the chosen monster on one map.
void BM_ChooseMonsterFullTables(benchmark::State& state) {
    Scene scene(kSpawnCapacity, kMonsterCapacity);
    for (auto _ : state) {
        scene.page->selectMonsterIndex(0);
        scene.page->showSelectedMonster();
    }
}
BENCHMARK(BM_ChooseMonsterFullTables)->Unit(benchmark::kMillisecond);

// Times the undo (or the redo) of one change, the other step untimed in between.
void timeHistory(benchmark::State& state, Scene& scene, bool timeUndo) {
    QUndoStack& history = scene.windows->document().history(TableFile::Spawns);
    for (auto _ : state) {
        if (!timeUndo) {
            state.PauseTiming();
            history.undo();
            state.ResumeTiming();
            history.redo();
        } else {
            history.undo();
            state.PauseTiming();
            history.redo();
            state.ResumeTiming();
        }
    }
}

void deleteThenTime(benchmark::State& state, bool timeUndo) {
    Scene scene(kSpawnCapacity, kMonsterCapacity);
    scene.windows->document().deleteSpot(kSpawnCapacity / 2);
    timeHistory(state, scene, timeUndo);
}
void createThenTime(benchmark::State& state, bool timeUndo) {
    Scene scene(kSpawnCapacity - 1, kMonsterCapacity);
    scene.windows->document().appendSpot(scene.windows->document().spawns().entries[0]);
    timeHistory(state, scene, timeUndo);
}
void BM_UndoDeleteSpot(benchmark::State& state) { deleteThenTime(state, true); }
void BM_RedoDeleteSpot(benchmark::State& state) { deleteThenTime(state, false); }
void BM_UndoCreateSpot(benchmark::State& state) { createThenTime(state, true); }
void BM_RedoCreateSpot(benchmark::State& state) { createThenTime(state, false); }
BENCHMARK(BM_UndoDeleteSpot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoDeleteSpot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoCreateSpot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoCreateSpot)->Unit(benchmark::kMillisecond);

// The map overview of map 0 at 5X: 10240 spots of 256 of the 1024 monsters (each
// monster its own colour), the spot the drags take scrolled into view.
constexpr int kOverviewOwners = 256;
constexpr int kDraggedSpot = 5124;  // a point at cell (126, 122)

struct OverviewScene : Scene {
    MapOverviewWindow* overview = nullptr;
    OverviewSurface* surface = nullptr;

    explicit OverviewScene(int spots = kSpawnCapacity) : Scene(spots, kMonsterCapacity, kOverviewOwners) {
        overview = &windows->mapOverview();
        overview->openOnMap(0);
        overview->chooseZoom(4);
        surface = overview->surface();
        overview->highlightSpot(kDraggedSpot);
        QApplication::processEvents();  // shown and painted: the kept image is made here, once
    }
    // How much of the map a repaint paints: the part the scroll area shows.
    double shownPixels() const {
        const QRect shown = surface->visibleRegion().boundingRect();
        return static_cast<double>(shown.width()) * shown.height();
    }
    // The thousand spots around the one the drags take, in the view.
    static std::vector<std::int32_t> thousandInView() {
        std::vector<std::int32_t> ids;
        for (std::int32_t id = kDraggedSpot - 500; id < kDraggedSpot + 500; ++id) ids.push_back(id);
        return ids;
    }
    void mouse(QEvent::Type type, QPoint pixel, Qt::MouseButtons held) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(pixel), surface->mapToGlobal(QPointF(pixel)), button, held, Qt::NoModifier);
        QApplication::sendEvent(surface, &event);
    }
};

void BM_OverviewRepaint5X10240Spots(benchmark::State& state) {
    OverviewScene scene;
    for (auto _ : state) scene.surface->repaint();
    state.counters["spots"] = static_cast<double>(scene.surface->spots().size());
    state.counters["pixels"] = scene.shownPixels();
}
BENCHMARK(BM_OverviewRepaint5X10240Spots)->Unit(benchmark::kMillisecond);

// The same repaint when every spot in view is drawn afresh into the kept image first,
// as after a change of them all (untimed: handing the surface its spots again).
void BM_OverviewRedraw5X10240Spots(benchmark::State& state) {
    OverviewScene scene;
    for (auto _ : state) {
        state.PauseTiming();
        scene.surface->setSpots(scene.surface->spots());
        state.ResumeTiming();
        scene.surface->repaint();
    }
    state.counters["pixels"] = scene.shownPixels();
}
BENCHMARK(BM_OverviewRedraw5X10240Spots)->Unit(benchmark::kMillisecond);

// Every monster ticked off: the picture alone, in the same window.
void BM_OverviewRepaint5XBarePicture(benchmark::State& state) {
    OverviewScene scene;
    for (int number = 1; number <= kOverviewOwners; ++number) scene.overview->monsterRows()->setShown(number, false);
    scene.surface->repaint();
    for (auto _ : state) scene.surface->repaint();
    state.counters["spots"] = static_cast<double>(scene.surface->spots().size());
}
BENCHMARK(BM_OverviewRepaint5XBarePicture)->Unit(benchmark::kMillisecond);

// What the tooltip of a hover costs: the spots under the pointer and their lines, over
// places crowded and empty.
void BM_OverviewHover(benchmark::State& state) {
    OverviewScene scene;
    std::vector<QPoint> places;
    for (int i = 0; i < 16; ++i) places.push_back(cellPixel(8 + 15 * i, 4 + 16 * i, 5));
    std::size_t next = 0;
    std::size_t lines = 0;
    for (auto _ : state) {
        const QString text = scene.overview->hoverText(places[next++ % places.size()]);
        lines += static_cast<std::size_t>(text.count(QLatin1Char('\n')) + (text.isEmpty() ? 0 : 1));
    }
    state.counters["spots named"] = static_cast<double>(lines) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_OverviewHover)->Unit(benchmark::kMicrosecond);

// The label as a hover leaves it, showing a cell.
void BM_OverviewCellLabelRepaint(benchmark::State& state) {
    OverviewScene scene;
    scene.mouse(QEvent::MouseMove, cellPixel(126, 122, 5), Qt::NoButton);
    if (scene.overview->cellLabel()->text() != QStringLiteral("126,122")) state.SkipWithError("no cell shown");
    for (auto _ : state) scene.overview->cellLabel()->repaint();
}
BENCHMARK(BM_OverviewCellLabelRepaint)->Unit(benchmark::kMicrosecond);

// One step of dragging a point: the pointer moves three cells, the spot is shown
// where it would go and what changed is painted.
void BM_OverviewDragStep(benchmark::State& state) {
    OverviewScene scene;
    const QPoint from = cellPixel(126, 122, 5);
    const QPoint steps[] = {from + QPoint(15, 0), from + QPoint(15, 15)};
    scene.mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    scene.mouse(QEvent::MouseMove, from - QPoint(15, 0), Qt::LeftButton);  // lifted out of the kept image
    QApplication::processEvents();
    std::size_t next = 0;
    for (auto _ : state) {
        scene.mouse(QEvent::MouseMove, steps[next++ % 2], Qt::LeftButton);
        QApplication::processEvents();
    }
    if (!scene.surface->draggedSpot()) state.SkipWithError("no drag under way");
    scene.mouse(QEvent::MouseButtonRelease, from, Qt::NoButton);
}
BENCHMARK(BM_OverviewDragStep)->Unit(benchmark::kMillisecond);

// A box dragged over the whole map from its empty corner selects every spot, and what
// changed is painted; the selection is cleared, untimed, between the boxes.
void BM_OverviewBoxSelectAll(benchmark::State& state) {
    OverviewScene scene;
    const QPoint from = cellPixel(255, 255, 5);
    const QPoint to = cellPixel(0, 0, 5);
    for (auto _ : state) {
        scene.mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        scene.mouse(QEvent::MouseMove, to, Qt::LeftButton);
        scene.mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
        QApplication::processEvents();
        state.PauseTiming();
        if (scene.surface->selectionSize() != kSpawnCapacity) {
            state.SkipWithError("not every spot was selected");
            break;
        }
        scene.overview->clearSelection();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OverviewBoxSelectAll)->Unit(benchmark::kMillisecond);

// A thousand selected spots moved one cell right, as the arrow key moves them: one step
// of the history, the overview drawn again where they were and are. Undone untimed.
void BM_OverviewMove1000Selected(benchmark::State& state) {
    OverviewScene scene;
    scene.overview->selectSpots(OverviewScene::thousandInView());
    QUndoStack& history = scene.windows->document().history(TableFile::Spawns);
    QApplication::processEvents();
    for (auto _ : state) {
        scene.overview->moveSelected(1, 0);
        QApplication::processEvents();
        state.PauseTiming();
        if (history.count() != 1) {
            state.SkipWithError("the move was not one step");
            break;
        }
        history.undo();
        history.clear();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OverviewMove1000Selected)->Unit(benchmark::kMillisecond);

// A thousand spots pasted from the clipboard at their own cells onto a map of 9240, then
// selected and painted. An undone paste keeps its places in the table, so each paste
// starts from a fresh program, made untimed.
void BM_OverviewPaste1000(benchmark::State& state) {
    std::optional<OverviewScene> scene;
    for (auto _ : state) {
        state.PauseTiming();
        scene.reset();
        scene.emplace(kSpawnCapacity - 1000);
        scene->overview->selectSpots(OverviewScene::thousandInView());
        scene->overview->copySelected();
        scene->overview->clearSelection();
        QApplication::processEvents();
        state.ResumeTiming();
        scene->overview->paste(std::nullopt);
        QApplication::processEvents();
        state.PauseTiming();
        if (scene->surface->selectionSize() != 1000) {
            state.SkipWithError("the thousand spots were not pasted");
            break;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OverviewPaste1000)->Unit(benchmark::kMillisecond)->Iterations(5);

// The yardstick of the monster choice: reading 10240 spawn lines, as at start-up.
void BM_LoadSpawns10240(benchmark::State& state) {
    const std::string bytes = fullSpawnFile();
    MonsterTable monsters;
    monsters.loadFromText(fullMonsterFile(), monsterFileLabel());
    SpawnTable table;
    for (auto _ : state) {
        table.loadFromText(bytes, spawnFileLabel(), monsters, {});
        benchmark::DoNotOptimize(table.count);
    }
    if (table.count != kSpawnCapacity) state.SkipWithError("not every spawn line was read");
}
BENCHMARK(BM_LoadSpawns10240)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return runWindowBenchmarks(argc, argv, {
        {"preview repaint at 5X, 10240 spots / the bare picture",
         {"BM_PreviewRepaint5XFullWorkList"}, {"BM_PreviewRepaint5XBarePicture"}, 2},
        {"choosing a monster, 10000 spots on one map / reading 10240 spawn lines",
         {"BM_ChooseMonsterWith10000SpotsOnOneMap"}, {"BM_LoadSpawns10240"}, 2},
        {"undo of a deleted spot / choosing its monster, full-size tables",
         {"BM_UndoDeleteSpot"}, {"BM_ChooseMonsterFullTables"}, 2},
        {"redo of a deleted spot / choosing its monster, full-size tables",
         {"BM_RedoDeleteSpot"}, {"BM_ChooseMonsterFullTables"}, 2},
        {"undo of a created spot / choosing its monster, full-size tables",
         {"BM_UndoCreateSpot"}, {"BM_ChooseMonsterFullTables"}, 2},
        {"redo of a created spot / choosing its monster, full-size tables",
         {"BM_RedoCreateSpot"}, {"BM_ChooseMonsterFullTables"}, 2},
        {"overview repaint at 5X, 10240 spots / the bare picture",
         {"BM_OverviewRepaint5X10240Spots"}, {"BM_OverviewRepaint5XBarePicture"}, 2},
        {"overview hover, hit test and tooltip text / a cell label repaint",
         {"BM_OverviewHover"}, {"BM_OverviewCellLabelRepaint"}, 2},
        {"overview drag step, the spot moved and painted / an overview repaint",
         {"BM_OverviewDragStep"}, {"BM_OverviewRepaint5X10240Spots"}, 2},
        {"overview box selecting all 10240 spots / an overview repaint",
         {"BM_OverviewBoxSelectAll"}, {"BM_OverviewRepaint5X10240Spots"}, 2},
        {"overview move of 1000 selected spots by a cell / an overview repaint",
         {"BM_OverviewMove1000Selected"}, {"BM_OverviewRepaint5X10240Spots"}, 2},
        {"overview paste of 1000 spots / an overview repaint",
         {"BM_OverviewPaste1000/iterations:5"}, {"BM_OverviewRepaint5X10240Spots"}, 2},
        // A repaint copies the kept image; these change what it shows, so they are also
        // set against a repaint that draws every spot in view afresh.
        {"overview box selecting all 10240 spots / a repaint drawing every spot",
         {"BM_OverviewBoxSelectAll"}, {"BM_OverviewRedraw5X10240Spots"}, 2},
        {"overview move of 1000 selected spots by a cell / a repaint drawing every spot",
         {"BM_OverviewMove1000Selected"}, {"BM_OverviewRedraw5X10240Spots"}, 2},
        {"overview paste of 1000 spots / a repaint drawing every spot",
         {"BM_OverviewPaste1000/iterations:5"}, {"BM_OverviewRedraw5X10240Spots"}, 2},
    });
}
