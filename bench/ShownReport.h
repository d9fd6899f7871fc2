#pragma once
// For the two programs of bench/startup: when the window is shown, print the wall
// clock in microseconds and the peak resident memory in kilobytes and
// the processor time in milliseconds, then end the
// process without tearing anything down.

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

[[noreturn]] inline void reportShownAndEnd() {
    const auto now = std::chrono::duration_cast<std::chrono::microseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    std::printf("shown %lld maxrss %ld user %.1f system %.1f\n", static_cast<long long>(now),
                usage.ru_maxrss, ms(usage.ru_utime), ms(usage.ru_stime));
    std::fflush(stdout);
    _exit(0);
}
