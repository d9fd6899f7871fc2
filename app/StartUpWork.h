#pragma once
// Work that start-up does on a thread of its own while the program connects to the
// window system and makes its windows: first reading the desktop's font configuration
// (the splash's first measured caption would otherwise wait for it), then reading the
// tables (TableLoad.h), which the main window needs only once the splash is dismissed,
// and last, once the application object exists, loading the toolkit's image-format
// plugins, which the first picture it reads loads all of (the style reads one as the
// main window first paints).
//
// The thread runs only on a processor the program's own window work leaves idle; once
// the program waits for it, it runs as any thread, so a busy machine cannot hold the
// start back behind other programs. The program can also wait for it without knowing:
// on a lock the thread holds, such as the font library's while the toolkit starts. On
// a busy machine an idle thread may then not run for a minute, so it runs idle for a
// quarter of a second at most.

#include <atomic>
#include <filesystem>
#include <future>
#include <thread>

#include "TableLoad.h"

class StartUpWork {
public:
    // programFolder is where the spawn file is saved (empty: the working folder).
    explicit StartUpWork(std::filesystem::path workFolder, std::filesystem::path programFolder = {});
    ~StartUpWork();
    StartUpWork(const StartUpWork&) = delete;
    StartUpWork& operator=(const StartUpWork&) = delete;

    // Call once the QApplication exists, before the first window is made.
    void applicationMade();
    void waitForFonts();
    // The tables as read; call once.
    TableLoad takeTables();

private:
    void run(const std::filesystem::path& workFolder, const std::filesystem::path& programFolder);
    void runOnlyWhenIdle();
    void runAsAnyThread();

    std::promise<void> fontsRead_;
    std::future<void> fonts_ = fontsRead_.get_future();
    std::promise<TableLoad> tablesRead_;
    std::future<TableLoad> tables_ = tablesRead_.get_future();
    std::promise<bool> applicationMade_;  // false: the thread is not to use the toolkit
    std::future<bool> applicationMadeSeen_ = applicationMade_.get_future();
    bool applicationMadeSaid_ = false;
    std::atomic<long> threadId_{0};  // the system's number of the thread, once it runs idle
    std::atomic<bool> waitedFor_{false};
    std::promise<void> workDone_;
    std::future<void> workDoneSeen_ = workDone_.get_future();
    std::thread thread_;             // started once everything above exists
    std::thread idleLimit_;          // ends the thread's idle time when it runs too long
};
