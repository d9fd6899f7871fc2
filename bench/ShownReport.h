#pragma once
// For the two programs of bench/startup: once the watched window has painted itself
// for the first time (and the paint has reached the screen), print the wall clock in
// microseconds, the peak resident memory in kilobytes and the processor time in
// milliseconds, then end the process without tearing anything down.

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include <QEvent>
#include <QObject>
#include <QTimer>

[[noreturn]] inline void reportShownAndEnd() {
    const auto now = std::chrono::duration_cast<std::chrono::microseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1000.0 + t.tv_usec / 1000.0; };
    std::printf("shown %lld maxrss %ld user %.1f system %.1f\n", static_cast<long long>(now), usage.ru_maxrss,
                ms(usage.ru_utime), ms(usage.ru_stime));
    std::fflush(stdout);
    _exit(0);
}

// Install on the window. Its first paint event starts a timer that fires as soon as
// the event loop is back, after the whole window is painted and flushed.
class ReportAfterFirstPaint final : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            QTimer::singleShot(0, [] { reportShownAndEnd(); });
        }
        return false;
    }

private:
    bool painted_ = false;
};
