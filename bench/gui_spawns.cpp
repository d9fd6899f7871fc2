// The map preview's repaint at 5X with a full work list, against the bare picture;
// choosing a monster with 10000 spots on one map, against reading a full spawn file;
// and undoing or redoing one change, against choosing the monster it changes, with
// full-size tables. The ratios are printed at the end.
//   QT_QPA_PLATFORM=offscreen build/<dir>/bench/gui_bench

#include <filesystem>
#include <fstream>
#include <memory>

#include <unistd.h>

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QImage>
#include <QTabWidget>
#include <QTreeView>
#include <QUndoStack>
#include <benchmark/benchmark.h>

#include "EditorDocument.h"
#include "EditorWindows.h"
#include "FullSizeFiles.h"
#include "MessageBoxes.h"
#include "Ratios.h"
#include "SpawnPage.h"
#include "MapPreviewWindow.h"
#include "MainWindow.h"

namespace {

class StderrBoxes final : public MessageBoxes {
public:
    void error(QWidget*, const QString& text) override { fprintf(stderr, "error: %s\n", qPrintable(text)); }
    void notice(QWidget*, const QString& caption, const QString& text) override {
        fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
    }
    bool question(QWidget*, const QString& text) override {
        fprintf(stderr, "question (answered No): %s\n", qPrintable(text));
        return false;
    }
};

// One monster (number 1) whose spots all lie on map 0, half points, half ranges; with
// more monsters, the others have none.
struct Scene {
    std::filesystem::path folder;
    std::unique_ptr<EditorWindows> windows;
    SpawnPage* page = nullptr;
    MapPreviewWindow* preview = nullptr;

    explicit Scene(int spots, int monsters = 1) {
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
            e.monsterid = 1;
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    StderrBoxes boxes;
    installMessageBoxes(&boxes);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios({
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
    });
    benchmark::Shutdown();
    installMessageBoxes(nullptr);
    return 0;
}
