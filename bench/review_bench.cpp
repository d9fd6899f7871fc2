// The review of a save beside what it is held to, on 10,000 monsters and 10,240 spots,
// every line of both files changed (each monster's HP, each spot moved) and every line
// on disk in a hand-kept form: working out what the save would change in both files
// against saving both tables; the problems of what it would write (the disk's own
// checked once, as the window keeps them) against varnex-check over files holding the
// same bytes. The ratios are printed at the end.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "FullSizeFiles.h"
#include "LineSink.h"
#include "MonsterFields.h"
#include "MonsterTable.h"
#include "Ratios.h"
#include "Run.h"
#include "SaveReview.h"
#include "SpawnTable.h"
#include "TextFile.h"

namespace {

namespace fs = std::filesystem;

constexpr int kMonsters = 10000;

void write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

struct Scene {
    fs::path root;
    fs::path disk;   // the files as the operator's server has them
    fs::path saves;  // where the benchmark's saves go
    fs::path check;  // files holding the bytes the saves would write
    MonsterTable monsters;
    SpawnTable spawns;

    Scene() {
        root = fs::temp_directory_path() / ("varnex-review-bench-" + std::to_string(std::random_device()()));
        disk = root / "disk";
        saves = root / "saves";
        check = root / "check";
        const std::string monsterBytes = manyMonstersFile(kMonsters);
        const std::string spawnBytes = fullSpawnFile();
        for (const fs::path& folder : {disk, saves}) {
            write(folder / "data" / "monster.txt", monsterBytes);
            write(folder / "data" / "Quarnel.txt", spawnBytes);
        }
        // Every monster kept, as a larger table would hold them.
        const LineSink goOn{[](const TableError&) {}, {}};
        monsters.loadFromText(monsterBytes, monsterFileLabel(), &goOn);
        monsters.monsters.resize(kMonsters);
        for (int id = 0; id < kMonsters; ++id)
            monsters.monsters[static_cast<std::size_t>(id)] = {true, static_cast<std::uint8_t>(id % 100 + 1), id,
                                                               "Monster of kind " + std::to_string(id)};
        monsters.monstercount = kMonsters;
        spawns.loadFromText(spawnBytes, spawnFileLabel(), monsters, {});
        // Every line changed: each monster's HP, each spot moved one cell.
        for (int i = 0; i < kMonsters; ++i) {
            std::string& line = monsters.monsterlines[static_cast<std::size_t>(i)];
            auto values = shownValues(readMonsterLine(line, monsterFileLabel(), i + 1));
            values[1] += 1;
            line = rebuildmonsterline(line, values);
        }
        for (int i = 0; i < spawns.count; ++i) {
            SpawnEntry& spot = spawns.entries[static_cast<std::size_t>(i)];
            spot.x0 = static_cast<std::uint8_t>(spot.x0 + 1);
            spot.x1 = static_cast<std::uint8_t>(spot.x1 + 1);
        }
        write(check / "data" / "monster.txt", monsters.fileBytes());
        write(check / "data" / "Quarnel.txt", spawns.fileBytes());
    }
    ~Scene() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

Scene& scene() {
    static Scene made;
    return made;
}

void BM_SaveBothTables(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state) {
        benchmark::DoNotOptimize(s.monsters.savemonsterdata(s.saves));
        benchmark::DoNotOptimize(s.spawns.save(s.saves));
    }
}

// What the window works out besides the problems: both files read from disk and set
// against the bytes their saves would write.
void BM_ReviewBothFiles(benchmark::State& state) {
    Scene& s = scene();
    std::size_t changes = 0;
    using Clock = std::chrono::steady_clock;
    Clock::duration monsterTime{}, spawnTime{};
    for (auto _ : state) {
        const auto start = Clock::now();
        const FileReview monsters =
            reviewMonsterSave(readDiskFile(s.disk / "data" / "monster.txt", monsterFileLabel()), s.monsters);
        const auto between = Clock::now();
        const FileReview spawns = reviewSpawnSave(readDiskFile(s.disk / "data" / "Quarnel.txt", spawnFileLabel()),
                                                  s.spawns, s.monsters);
        spawnTime += Clock::now() - between;
        monsterTime += between - start;
        changes = monsters.changes.size() + spawns.changes.size();
        benchmark::DoNotOptimize(changes);
    }
    const auto ms = [&](Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count() / static_cast<double>(state.iterations());
    };
    state.counters["changes"] = static_cast<double>(changes);
    state.counters["monsters_ms"] = ms(monsterTime);
    state.counters["spawns_ms"] = ms(spawnTime);
}

// The problems of what the saves would write, the disk's own problems kept from the
// first time, as they are while the window stays open.
void BM_ReviewProblems(benchmark::State& state) {
    Scene& s = scene();
    const DiskFile monsterDisk = readDiskFile(s.disk / "data" / "monster.txt", monsterFileLabel());
    const DiskFile spawnDisk = readDiskFile(s.disk / "data" / "Quarnel.txt", spawnFileLabel());
    FileReview monsters = reviewMonsterSave(monsterDisk, s.monsters);
    FileReview spawns = reviewSpawnSave(spawnDisk, s.spawns, s.monsters);
    DiskProblems onDisk;
    addProblems(&monsters, &spawns, monsterDisk.bytes, spawnDisk.bytes, nullptr, onDisk);
    for (auto _ : state) {
        monsters.problems.clear();
        spawns.problems.clear();
        addProblems(&monsters, &spawns, monsterDisk.bytes, spawnDisk.bytes, nullptr, onDisk);
        benchmark::DoNotOptimize(monsters.problems.size() + spawns.problems.size());
    }
    state.counters["problems"] = static_cast<double>(monsters.problems.size() + spawns.problems.size());
}

void BM_VarnexCheckSameBytes(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state) {
        std::ostringstream out, err;
        benchmark::DoNotOptimize(runVarnexCheck({"--no-pictures", s.check.string()}, out, err));
    }
}

}  // namespace

BENCHMARK(BM_SaveBothTables)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReviewBothFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReviewProblems)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VarnexCheckSameBytes)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios({
        {"review of both files, every line changed / saving both tables", {"BM_ReviewBothFiles"},
         {"BM_SaveBothTables"}, 2},
        {"problems of what the saves would write / varnex-check on the same bytes", {"BM_ReviewProblems"},
         {"BM_VarnexCheckSameBytes"}, 1},
    });
    benchmark::Shutdown();
    return 0;
}
