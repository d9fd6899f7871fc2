// varnex-check over full-size files (1024 monsters, 10240 spots, pictures left out)
// beside the editor's own load of the same files, in the same run. The counter
// "ratio" is the check's time over the load's; it should stay at 2 or below. The
// argument 1 gives files with thousands of warnings to print.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>

#include "FullSizeFiles.h"
#include "MonsterTable.h"
#include "Run.h"
#include "SpawnTable.h"

namespace {

// A server folder with the two full-size files, removed at the end of the run.
class ServerFolder {
public:
    explicit ServerFolder(bool withWarnings) {
        path_ = std::filesystem::temp_directory_path() / ("varnex-check-bench-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(path_ / "data");
        std::ofstream(path_ / "data" / "monster.txt", std::ios::binary) << fullMonsterFile(withWarnings);
        std::ofstream(path_ / "data" / "Quarnel.txt", std::ios::binary) << fullSpawnFile(withWarnings);
    }
    ~ServerFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

const std::filesystem::path& folder(bool withWarnings) {
    static const ServerFolder clean(false);
    static const ServerFolder warned(true);
    return (withWarnings ? warned : clean).path();
}

// What the main window does at start-up, without the windows.
int editorLoad(const std::filesystem::path& folder) {
    MonsterTable monsters;
    monsters.loadmonsterdata(folder);
    SpawnTable spawns;
    spawns.loadmonsterslocation(folder, monsters, {});
    return spawns.count;
}

// Counts what is written to it and keeps nothing, as a file or a pipe would take it.
class CountingBuffer : public std::streambuf {
public:
    std::size_t count = 0;

protected:
    std::streamsize xsputn(const char*, std::streamsize n) override {
        count += static_cast<std::size_t>(n);
        return n;
    }
    int_type overflow(int_type c) override {
        ++count;
        return traits_type::not_eof(c);
    }
};

// The whole program but for starting the process.
std::size_t check(const std::filesystem::path& folder) {
    CountingBuffer written;
    std::ostream out(&written);
    std::ostringstream err;
    runVarnexCheck({"--no-pictures", folder.string()}, out, err);
    return written.count;
}

void BM_EditorLoad(benchmark::State& state) {
    const auto& server = folder(state.range(0) != 0);
    for (auto _ : state) benchmark::DoNotOptimize(editorLoad(server));
}

void BM_Check(benchmark::State& state) {
    const auto& server = folder(state.range(0) != 0);
    for (auto _ : state) benchmark::DoNotOptimize(check(server));
}

// Both, one after the other in each iteration, so that the ratio compares them under
// the same load of the machine.
void BM_CheckOverEditorLoad(benchmark::State& state) {
    const auto& server = folder(state.range(0) != 0);
    using Clock = std::chrono::steady_clock;
    Clock::duration load{};
    Clock::duration checking{};
    for (auto _ : state) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(editorLoad(server));
        const auto loaded = Clock::now();
        benchmark::DoNotOptimize(check(server));
        checking += Clock::now() - loaded;
        load += loaded - start;
    }
    const auto ms = [&](Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count() / static_cast<double>(state.iterations());
    };
    state.counters["load_ms"] = ms(load);
    state.counters["check_ms"] = ms(checking);
    state.counters["ratio"] = ms(checking) / ms(load);
}

}  // namespace

BENCHMARK(BM_EditorLoad)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Check)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckOverEditorLoad)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
