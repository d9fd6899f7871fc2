// Loading, normalising and querying the text tables, each beside a baseline.

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "FullSizeFiles.h"
#include "LineFormat.h"
#include "MonsterTable.h"
#include "Ratios.h"
#include "SpawnTable.h"
#include "TextFile.h"
#include "WorkList.h"

namespace {

std::string monsterFile() { return fullMonsterFile(); }
std::string spawnFile() { return fullSpawnFile(); }

const MonsterTable& loadedMonsters() {
    static const MonsterTable table = [] {
        MonsterTable t;
        t.loadFromText(monsterFile(), monsterFileLabel());
        return t;
    }();
    return table;
}

// The least any reader has to do: find every line end.
void countLineEnds(benchmark::State& state, const std::string& bytes) {
    for (auto _ : state) {
        std::size_t lines = 0;
        const char* p = bytes.data();
        const char* end = p + bytes.size();
        while (const void* hit = std::memchr(p, '\n', static_cast<std::size_t>(end - p))) {
            ++lines;
            p = static_cast<const char*>(hit) + 1;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_MonsterLineEnds_memchr(benchmark::State& state) { countLineEnds(state, monsterFile()); }
void BM_SpawnLineEnds_memchr(benchmark::State& state) { countLineEnds(state, spawnFile()); }

void BM_LoadMonsters1024(benchmark::State& state) {
    const std::string bytes = monsterFile();
    for (auto _ : state) {
        MonsterTable table;
        table.loadFromText(bytes, monsterFileLabel());
        benchmark::DoNotOptimize(table.monstercount);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_LoadSpawns10240(benchmark::State& state) {
    const std::string bytes = spawnFile();
    const MonsterTable& monsters = loadedMonsters();
    SpawnTable table;
    for (auto _ : state) {
        table.loadFromText(bytes, spawnFileLabel(), monsters, {});
        benchmark::DoNotOptimize(table.count);
    }
    if (table.count != kSpawnCapacity) state.SkipWithError("not every spawn line was read");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

// Every save compares the file on disk with what the editor last saw: its bytes are
// read and hashed once more. A full spawn file is about 300 KB.
void BM_HashSpawnFile10240(benchmark::State& state) {
    const std::string bytes = spawnFile();
    for (auto _ : state) benchmark::DoNotOptimize(hashBytes(bytes));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_NormalizeMegabyteOfBlanksAndTabs(benchmark::State& state) {
    std::string line;
    for (std::size_t i = 0; line.size() < (1u << 20); ++i) line += (i % 5 == 0) ? '\t' : ' ';
    const bool spawnRules = state.range(0) != 0;
    for (auto _ : state) benchmark::DoNotOptimize(normalizeline(line, spawnRules));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line.size()));
}

void BM_NormalizeMegabyteOfWordsAndSeparators(benchmark::State& state) {
    std::string line;
    for (std::size_t i = 0; line.size() < (1u << 20); ++i) line += (i % 3 == 0) ? "word  \t " : "12 ";
    for (auto _ : state) benchmark::DoNotOptimize(normalizeline(line, false));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line.size()));
}

void BM_GetWorkLocationsFullTable(benchmark::State& state) {
    SpawnTable table;
    for (int i = 0; i < kSpawnCapacity; ++i) {
        SpawnEntry e;
        e.monsterid = i % 50;
        e.mapnumber = static_cast<std::uint8_t>(i % 7);
        e.spottype = 2;
        e.ispoint = true;
        table.append(e);
    }
    WorkList work;
    const auto map = static_cast<std::int32_t>(state.range(0));
    for (auto _ : state) {
        work.getWorkLocations(table, 7, map);
        benchmark::DoNotOptimize(work.count);
    }
    state.counters["found"] = work.count;
}

}  // namespace

BENCHMARK(BM_MonsterLineEnds_memchr);
BENCHMARK(BM_LoadMonsters1024);
BENCHMARK(BM_SpawnLineEnds_memchr);
BENCHMARK(BM_LoadSpawns10240);
BENCHMARK(BM_HashSpawnFile10240);
BENCHMARK(BM_NormalizeMegabyteOfBlanksAndTabs)->Arg(0)->Arg(1);
BENCHMARK(BM_NormalizeMegabyteOfWordsAndSeparators);
BENCHMARK(BM_GetWorkLocationsFullTable)->Arg(-1)->Arg(3);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios({
        {"loading both full-size tables / memchr line scan of their bytes",
         {"BM_LoadMonsters1024", "BM_LoadSpawns10240"},
         {"BM_MonsterLineEnds_memchr", "BM_SpawnLineEnds_memchr"},
         30},
    });
    benchmark::Shutdown();
    return 0;
}
