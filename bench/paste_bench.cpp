// Huge pastes, each beside reading the same bytes as a table file: 50 MB of letters in
// one cell, a million lines of a spreadsheet's columns, and a block above a million
// empty rows (a copy of whole columns, taken) pasted into the monster table, against
// reading them as data/monster.txt (every line, as varnex-check reads it); a
// million spawn lines of a monster the table does not list and 50 MB of letters pasted
// on the map overview, against reading them as data/Quarnel.txt. A refused paste's
// message box is made and laid out as the program shows it (shown, not waited on). The
// ratios are printed at the end.
//   QT_QPA_PLATFORM=offscreen build/<dir>/bench/paste_bench

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QUndoStack>
#include <benchmark/benchmark.h>

#include "EditorDocument.h"
#include "EditorWindows.h"
#include "FittedMessage.h"
#include "FullSizeFiles.h"
#include "GridView.h"
#include "LineSink.h"
#include "MapOverviewWindow.h"
#include "MessageBoxes.h"
#include "MonsterGridModel.h"
#include "MonsterGridWindow.h"
#include "Ratios.h"
#include "TableLoad.h"
#include "TextFile.h"

namespace {

const std::string& letters50MB() {
    static const std::string bytes = [] {
        std::string text(50'000'000, 'a');
        for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
        return text;
    }();
    return bytes;
}

// A spreadsheet's copy of three columns and a million rows.
const std::string& millionCellRows() {
    static const std::string bytes = [] {
        std::string text = "HP\tMP\tLVL\r\n";
        for (int i = 0; i < 1'000'000; ++i) text += std::to_string(1000 + i % 9000) + "\t7\t12\r\n";
        return text;
    }();
    return bytes;
}

// A spreadsheet's copy of whole columns: a block of values and a million empty rows
// below it, to the end of the sheet.
const std::string& blockAndMillionEmptyRows() {
    static const std::string bytes = [] {
        std::string text = "HP\tMP\tLVL\t\r\n";
        for (int i = 0; i < 20; ++i) text += std::to_string(1000 + i) + "\t7\t12\t\r\n";
        for (int i = 0; i < 1'000'000; ++i) text += "\t\t\t\r\n";
        return text;
    }();
    return bytes;
}

// A million point lines of monster 5000, which the full monster table does not have.
const std::string& millionMissingSpawnLines() {
    static const std::string bytes = [] {
        std::string text;
        for (int i = 0; i < 1'000'000; ++i) text += "5000\t0\t30\t" + std::to_string(i % 256) + "\t7\t-1\r\n";
        return text;
    }();
    return bytes;
}

// Each box as the program makes it, laid out and painted, then closed.
class ShownBoxes final : public MessageBoxes {
public:
    void error(QWidget* parent, const QString& text) override {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Varnex"), fittedMessage(text), QMessageBox::Ok, parent);
        box.show();
        QApplication::processEvents();
        shown = box.size();
    }
    void notice(QWidget* parent, const QString&, const QString& text) override { error(parent, text); }
    bool question(QWidget* parent, const QString& text) override {
        error(parent, text);
        return false;
    }
    CloseAnswer askBeforeClosing(QWidget* parent, const QString& text) override {
        error(parent, text);
        return CloseAnswer::Cancel;
    }
    TypedValuesAnswer askAboutTypedValues(QWidget* parent, const QString& text) override {
        error(parent, text);
        return TypedValuesAnswer::Cancel;
    }
    QSize shown;
};
ShownBoxes boxes;

struct Scene {
    std::filesystem::path folder;
    std::unique_ptr<EditorWindows> windows;

    Scene() {
        folder = std::filesystem::temp_directory_path() / ("varnex-paste-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder / "data");
        std::ofstream(folder / "data" / "monster.txt", std::ios::binary) << fullMonsterFile();
        std::ofstream(folder / "data" / "Quarnel.txt", std::ios::binary) << fullSpawnFile();
        windows = std::make_unique<EditorWindows>(folder, folder, loadTables(folder));
    }
    ~Scene() {
        windows.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

std::unique_ptr<Scene> made;  // gone before the application is
Scene& scene() {
    if (!made) made = std::make_unique<Scene>();
    return *made;
}

void readAsMonsterFile(benchmark::State& state, const std::string& bytes) {
    const LineSink goOn{[](const TableError&) {}, {}};
    for (auto _ : state) {
        MonsterTable table;
        table.loadFromText(bytes, monsterFileLabel(), &goOn);
        benchmark::DoNotOptimize(table.monsterlines.size());
    }
}

void readAsSpawnFile(benchmark::State& state, const std::string& bytes) {
    const MonsterTable& monsters = scene().windows->document().monsters();
    for (auto _ : state) {
        int dropped = 0;
        auto table = std::make_unique<SpawnTable>();
        try {
            table->loadFromText(bytes, spawnFileLabel(), monsters, [&](const MissingMonster&) { ++dropped; });
        } catch (const TableError&) {
        }
        benchmark::DoNotOptimize(dropped);
    }
}

// Pasted onto the HP cell of the first monster; refused, or taken and undone untimed.
void pasteIntoMonsterTable(benchmark::State& state, const std::string& bytes, bool refused = true) {
    MonsterGridWindow& window = scene().windows->monsterGrid();
    window.open();
    const QModelIndex cell = window.model()->index(0, gridColumnOfField(1));
    window.grid()->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
    QApplication::clipboard()->setText(QString::fromUtf8(bytes));
    QUndoStack& history = scene().windows->document().history(TableFile::Monsters);
    for (auto _ : state) {
        boxes.shown = {};
        window.pasteClipboard();
        if (boxes.shown.isValid() != refused) state.SkipWithError(refused ? "the paste was not refused" : "the paste was refused");
        state.PauseTiming();
        while (history.canUndo()) history.undo();
        state.ResumeTiming();
    }
    if (refused) {
        state.counters["box width"] = boxes.shown.width();
        state.counters["box height"] = boxes.shown.height();
    }
    window.hide();
}

void pasteOnOverview(benchmark::State& state, const std::string& bytes) {
    MapOverviewWindow& overview = scene().windows->mapOverview();
    overview.openOnMap(0);
    QApplication::clipboard()->setText(QString::fromUtf8(bytes));
    for (auto _ : state) {
        boxes.shown = {};
        overview.paste(std::nullopt);
        if (!boxes.shown.isValid()) state.SkipWithError("the paste was not refused");
    }
    state.counters["box width"] = boxes.shown.width();
    state.counters["box height"] = boxes.shown.height();
    overview.hide();
}

void BM_ReadLetters50MBAsMonsterFile(benchmark::State& state) { readAsMonsterFile(state, letters50MB()); }
void BM_PasteLetters50MBIntoMonsterTable(benchmark::State& state) { pasteIntoMonsterTable(state, letters50MB()); }
void BM_ReadMillionRowsAsMonsterFile(benchmark::State& state) { readAsMonsterFile(state, millionCellRows()); }
void BM_PasteMillionRowsIntoMonsterTable(benchmark::State& state) { pasteIntoMonsterTable(state, millionCellRows()); }
void BM_ReadEmptyRowsAsMonsterFile(benchmark::State& state) { readAsMonsterFile(state, blockAndMillionEmptyRows()); }
void BM_PasteEmptyRowsIntoMonsterTable(benchmark::State& state) {
    pasteIntoMonsterTable(state, blockAndMillionEmptyRows(), false);
}
void BM_ReadMillionMissingAsSpawnFile(benchmark::State& state) { readAsSpawnFile(state, millionMissingSpawnLines()); }
void BM_PasteMillionMissingOnOverview(benchmark::State& state) { pasteOnOverview(state, millionMissingSpawnLines()); }
void BM_ReadLetters50MBAsSpawnFile(benchmark::State& state) { readAsSpawnFile(state, letters50MB()); }
void BM_PasteLetters50MBOnOverview(benchmark::State& state) { pasteOnOverview(state, letters50MB()); }

BENCHMARK(BM_ReadLetters50MBAsMonsterFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteLetters50MBIntoMonsterTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadMillionRowsAsMonsterFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteMillionRowsIntoMonsterTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadEmptyRowsAsMonsterFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteEmptyRowsIntoMonsterTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadMillionMissingAsSpawnFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteMillionMissingOnOverview)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLetters50MBAsSpawnFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteLetters50MBOnOverview)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installMessageBoxes(&boxes);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios({
        {"paste 50 MB of letters into the monster table / read them as data/monster.txt",
         {"BM_PasteLetters50MBIntoMonsterTable"}, {"BM_ReadLetters50MBAsMonsterFile"}, 2},
        {"paste a million rows into the monster table / read them as data/monster.txt",
         {"BM_PasteMillionRowsIntoMonsterTable"}, {"BM_ReadMillionRowsAsMonsterFile"}, 2},
        {"paste 20 rows above a million empty ones into the monster table / read them as data/monster.txt",
         {"BM_PasteEmptyRowsIntoMonsterTable"}, {"BM_ReadEmptyRowsAsMonsterFile"}, 2},
        {"paste a million spawn lines of a missing monster / read them as data/Quarnel.txt",
         {"BM_PasteMillionMissingOnOverview"}, {"BM_ReadMillionMissingAsSpawnFile"}, 2},
        {"paste 50 MB of letters on the map overview / read them as data/Quarnel.txt",
         {"BM_PasteLetters50MBOnOverview"}, {"BM_ReadLetters50MBAsSpawnFile"}, 2},
    });
    benchmark::Shutdown();
    made.reset();
    installMessageBoxes(nullptr);
    return 0;
}
