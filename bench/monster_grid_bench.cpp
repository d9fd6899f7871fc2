// The monster table window on 10,000 monsters, each step beside the table work it is
// held to: opening the window (made, shown and painted) against reading the table's
// lines; sorting by a column, its lines read for the first time, against reading them;
// multiplying one column of every row by 120 % (one step of the history, the rows
// repainted) against saving the table. The ratios are printed at the end.
//   QT_QPA_PLATFORM=offscreen build/<dir>/bench/monster_grid_bench

#include <filesystem>
#include <memory>

#include <unistd.h>

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QUndoStack>
#include <benchmark/benchmark.h>

#include "EditorDocument.h"
#include "FullSizeFiles.h"
#include "GridColumns.h"
#include "GridView.h"
#include "LineSink.h"
#include "MonsterGridModel.h"
#include "MonsterGridWindow.h"
#include "TextFile.h"
#include "WindowBenchmarks.h"

namespace {

constexpr int kMonsters = 10000;
const int kHpColumn = gridColumnOfField(1);

const std::string& monsterFile() {
    static const std::string bytes = manyMonstersFile(kMonsters);
    return bytes;
}

// Reads every line as the editor's load does; the table keeps its first 1024 monsters.
void readLines(MonsterTable& table) {
    const LineSink goOn{[](const TableError&) {}, {}};
    table.loadFromText(monsterFile(), monsterFileLabel(), &goOn);
}

// A table holding all 10,000 monsters, as a larger table would.
MonsterTable largeTable() {
    MonsterTable table;
    readLines(table);
    table.monsters.resize(kMonsters);
    for (int id = 0; id < kMonsters; ++id)
        table.monsters[static_cast<std::size_t>(id)] = {id % 6 != 0, static_cast<std::uint8_t>(id % 100 + 1), id,
                                                        "Monster of kind " + std::to_string(id)};
    table.monstercount = kMonsters;
    return table;
}

struct Scene {
    std::filesystem::path folder;
    std::unique_ptr<EditorDocument> document;

    Scene() {
        folder = std::filesystem::temp_directory_path() / ("varnex-grid-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder / "data");
        document = std::make_unique<EditorDocument>(folder, folder);
        document->adoptTables(largeTable(), SpawnTable());
    }
    ~Scene() {
        document.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

void BM_ReadLines10000(benchmark::State& state) {
    for (auto _ : state) {
        MonsterTable table;
        readLines(table);
        benchmark::DoNotOptimize(table.monsterlines.size());
    }
}
BENCHMARK(BM_ReadLines10000)->Unit(benchmark::kMillisecond);

// Each save after a change, as the operator's: its bytes differ from the file's, so the
// old file is kept as a backup first.
void BM_SaveTable10000(benchmark::State& state) {
    Scene scene;
    const auto yes = [](const std::string&) { return true; };
    scene.document->save(TableFile::Monsters, yes);
    MonsterStore store{0, {}, true};
    store.values.fill(1);
    scene.document->storeMonsters({&store, 1}, QStringLiteral("bench"));
    QUndoStack& history = scene.document->history(TableFile::Monsters);
    for (auto _ : state) {
        state.PauseTiming();
        history.index() == 0 ? history.redo() : history.undo();
        state.ResumeTiming();
        scene.document->save(TableFile::Monsters, yes);
    }
}
BENCHMARK(BM_SaveTable10000)->Unit(benchmark::kMillisecond);

void BM_OpenWindow10000(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        auto window = std::make_unique<MonsterGridWindow>(*scene.document);
        window->show();
        QApplication::processEvents();
        state.PauseTiming();
        window.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenWindow10000)->Unit(benchmark::kMillisecond);

// The first sort after the window opened: every line is read for it.
void BM_SortByHp10000(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        state.PauseTiming();
        MonsterGridModel model(*scene.document);
        state.ResumeTiming();
        model.sortRows(kHpColumn, Qt::DescendingOrder);
        benchmark::DoNotOptimize(model.monsterAt(0));
    }
}
BENCHMARK(BM_SortByHp10000)->Unit(benchmark::kMillisecond);

void BM_MultiplyHpColumn10000(benchmark::State& state) {
    Scene scene;
    MonsterGridWindow window(*scene.document);
    window.show();
    window.grid()->selectColumn(kHpColumn);
    QApplication::processEvents();
    QUndoStack& history = scene.document->history(TableFile::Monsters);
    for (auto _ : state) {
        window.changeSelectedCells({ValueChangeKind::Multiply, 12000});
        QApplication::processEvents();
        state.PauseTiming();
        history.undo();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["steps"] = history.count();
}
BENCHMARK(BM_MultiplyHpColumn10000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return runWindowBenchmarks(argc, argv, {
        {"open the monster table window on 10,000 monsters / read their lines", {"BM_OpenWindow10000"},
         {"BM_ReadLines10000"}, 2},
        {"sort 10,000 monsters by HP / read their lines", {"BM_SortByHp10000"}, {"BM_ReadLines10000"}, 1},
        {"multiply HP of 10,000 monsters by 120 % / save the table", {"BM_MultiplyHpColumn10000"},
         {"BM_SaveTable10000"}, 2},
    });
}
