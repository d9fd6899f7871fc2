// The monster table window on 10,000 monsters, each step beside the table work it is
// held to: opening the window (made, shown and painted) against reading the table's
// lines; sorting by a column, its lines read for the first time, against reading them;
// multiplying one column of every row by 120 % (one step of the history, the rows
// repainted) against saving the table, in CPU time. The balance chart beside the
// table: opening it against opening the table, and drawing it again after one edit
// against repainting the table. The ratios are printed at the end.
//   QT_QPA_PLATFORM=offscreen build/<dir>/bench/monster_grid_bench

#include <filesystem>
#include <memory>

#include <unistd.h>

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QUndoStack>
#include <benchmark/benchmark.h>

#include "BalanceChartView.h"
#include "BalanceWindow.h"
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

// Apart, so that a profile can be taken of it alone (valgrind --toggle-collect).
[[gnu::noinline]] std::unique_ptr<MonsterGridWindow> openTable(EditorDocument& document) {
    auto window = std::make_unique<MonsterGridWindow>(document);
    window->show();
    QApplication::processEvents();
    return window;
}

void BM_OpenWindow10000(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        auto window = openTable(*scene.document);
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

// Apart, so that a profile can be taken of it alone (valgrind --toggle-collect).
[[gnu::noinline]] void multiplyShown(MonsterGridWindow& window) {
    window.changeSelectedCells({ValueChangeKind::Multiply, 12000});
    QApplication::processEvents();
}

void BM_MultiplyHpColumn10000(benchmark::State& state) {
    Scene scene;
    MonsterGridWindow window(*scene.document);
    window.show();
    window.grid()->selectColumn(kHpColumn);
    QApplication::processEvents();
    QUndoStack& history = scene.document->history(TableFile::Monsters);
    for (auto _ : state) {
        multiplyShown(window);
        state.PauseTiming();
        history.undo();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["steps"] = history.count();
}
BENCHMARK(BM_MultiplyHpColumn10000)->Unit(benchmark::kMillisecond);

[[gnu::noinline]] std::unique_ptr<BalanceWindow> openChart(EditorDocument& document) {
    auto window = std::make_unique<BalanceWindow>(document);
    window->show();
    QApplication::processEvents();
    return window;
}

void BM_OpenBalanceChart10000(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        auto window = openChart(*scene.document);
        state.PauseTiming();
        window.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenBalanceChart10000)->Unit(benchmark::kMillisecond);

// The whole grid painted again, as when the window comes back from behind another:
// through the event loop, as the chart's repaint below, and onto the window.
[[gnu::noinline]] void repaintTable(MonsterGridWindow& window) {
    window.grid()->viewport()->update();
    QApplication::processEvents();
}

void BM_RepaintTable10000(benchmark::State& state) {
    Scene scene;
    MonsterGridWindow window(*scene.document);
    window.show();
    QApplication::processEvents();
    for (auto _ : state) repaintTable(window);
}
BENCHMARK(BM_RepaintTable10000)->Unit(benchmark::kMillisecond);

// Apart, so that a profile can be taken of it alone (valgrind --toggle-collect).
[[gnu::noinline]] void editAndRedraw(EditorDocument& document, const MonsterStore& store) {
    document.storeMonsters({&store, 1}, QStringLiteral("bench"));
    QApplication::processEvents();  // the chart drawn again, its repaint asked for
    QApplication::processEvents();  // and made
}

// One monster's HP raised by 10 % (and back, every other time), a step of balancing:
// the trend fitted again, the points placed again and the chart painted where it
// changed.
void BM_RedrawChartAfterEdit10000(benchmark::State& state) {
    Scene scene;
    BalanceWindow window(*scene.document);
    window.show();
    QApplication::processEvents();
    const int monster = kMonsters / 2;
    const auto stored = readMonsterLine(scene.document->monsters().monsterlines[monster], "", monster + 1);
    MonsterStore store{monster, shownValues(stored), true};
    const std::int32_t hp = store.values[1];
    for (auto _ : state) {
        store.values[1] = store.values[1] == hp ? hp + hp / 10 : hp;
        editAndRedraw(*scene.document, store);
    }
}
BENCHMARK(BM_RedrawChartAfterEdit10000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return runWindowBenchmarks(argc, argv, {
        {"open the monster table window on 10,000 monsters / read their lines", {"BM_OpenWindow10000"},
         {"BM_ReadLines10000"}, 2},
        {"sort 10,000 monsters by HP / read their lines", {"BM_SortByHp10000"}, {"BM_ReadLines10000"}, 1},
        {"multiply HP of 10,000 monsters by 120 % / save the table", {"BM_MultiplyHpColumn10000"},
         {"BM_SaveTable10000"}, 2, true},
        {"open the balance chart on 10,000 monsters / open the monster table", {"BM_OpenBalanceChart10000"},
         {"BM_OpenWindow10000"}, 2},
        {"draw the chart again after one edit / repaint the monster table", {"BM_RedrawChartAfterEdit10000"},
         {"BM_RepaintTable10000"}, 1},
    });
}
