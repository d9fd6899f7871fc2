#pragma once
// Prints, after the benchmarks of one run, how the measured times compare: each
// ratio is the summed time per iteration of some benchmarks over that of others
// from the same run, so a busy machine slows both sides alike. With repetitions the
// median of each benchmark's repetitions counts.

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
};

class RatioReporter final : public benchmark::ConsoleReporter {
public:
    // Coloured on a terminal only, as the library's own console output.
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Color : OO_None) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) continue;
            seconds_[run.run_name.str()].push_back(run.real_accumulated_time /
                                                   static_cast<double>(run.iterations));
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // One line per ratio whose benchmarks all ran; returns how many missed their target.
    int printRatios(const std::vector<Ratio>& ratios) {
        int missed = 0;
        for (const Ratio& ratio : ratios) {
            const double measured = sum(ratio.measured);
            const double against = sum(ratio.against);
            if (measured <= 0 || against <= 0) continue;
            const double value = measured / against;
            const bool met = value <= ratio.target;
            missed += met ? 0 : 1;
            std::printf("ratio %-60s %7.2f  (target <= %g: %s)\n", ratio.what.c_str(), value, ratio.target,
                        met ? "met" : "MISSED");
        }
        std::fflush(stdout);
        return missed;
    }

private:
    // -1 when a benchmark did not run (filtered out or failed).
    double sum(const std::vector<std::string>& names) {
        double total = 0;
        for (const std::string& name : names) {
            auto found = seconds_.find(name);
            if (found == seconds_.end()) return -1;
            std::vector<double> times = found->second;
            std::nth_element(times.begin(), times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2), times.end());
            total += times[times.size() / 2];
        }
        return total;
    }

    std::map<std::string, std::vector<double>> seconds_;
};
