#pragma once
// Prints, after the benchmarks of one run, how the measured times compare: each
// ratio is the summed time per iteration of some benchmarks over that of others
// from the same run, so a busy machine slows both sides alike. With repetitions the
// median of each benchmark's repetitions counts. A ratio in CPU time leaves out what
// neither side can help, such as the wait for the disk that a save's flush makes.

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

#include <benchmark/benchmark.h>

struct Ratio {
    std::string what;
    std::vector<std::string> measured;  // benchmark names, summed
    std::vector<std::string> against;   // benchmark names, summed
    double target;                      // the ratio should stay at or below this
    bool cpuTime = false;               // the main thread's CPU time instead of real time
};

class RatioReporter final : public benchmark::ConsoleReporter {
public:
    // Coloured on a terminal only, as the library's own console output.
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Color : OO_None) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) continue;
            const auto iterations = static_cast<double>(run.iterations);
            seconds_[run.run_name.str()].push_back(run.real_accumulated_time / iterations);
            cpuSeconds_[run.run_name.str()].push_back(run.cpu_accumulated_time / iterations);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // One line per ratio whose benchmarks all ran; returns how many missed their target.
    int printRatios(const std::vector<Ratio>& ratios) {
        int missed = 0;
        for (const Ratio& ratio : ratios) {
            const auto& times = ratio.cpuTime ? cpuSeconds_ : seconds_;
            const double measured = sum(times, ratio.measured);
            const double against = sum(times, ratio.against);
            if (measured <= 0 || against <= 0) continue;
            const double value = measured / against;
            const bool met = value <= ratio.target;
            missed += met ? 0 : 1;
            const std::string what = ratio.cpuTime ? ratio.what + " (CPU time)" : ratio.what;
            std::printf("ratio %-60s %7.2f  (target <= %g: %s)\n", what.c_str(), value, ratio.target,
                        met ? "met" : "MISSED");
        }
        std::fflush(stdout);
        return missed;
    }

private:
    // -1 when a benchmark did not run (filtered out or failed).
    using Times = std::map<std::string, std::vector<double>>;
    static double sum(const Times& times, const std::vector<std::string>& names) {
        double total = 0;
        for (const std::string& name : names) {
            auto found = times.find(name);
            if (found == times.end()) return -1;
            std::vector<double> runs = found->second;
            std::nth_element(runs.begin(), runs.begin() + static_cast<std::ptrdiff_t>(runs.size() / 2), runs.end());
            total += runs[runs.size() / 2];
        }
        return total;
    }

    Times seconds_;
    Times cpuSeconds_;
};
