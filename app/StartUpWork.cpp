#include "StartUpWork.h"

#include <chrono>

#ifdef VARNEX_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif
#ifdef __linux__
#include <sched.h>
#include <unistd.h>
#endif

StartUpWork::StartUpWork(std::filesystem::path workFolder)
    : thread_([this, folder = std::move(workFolder)] { run(folder); }) {}

StartUpWork::~StartUpWork() {
    runAsAnyThread();
    thread_.join();
}

// Best effort: where the system refuses, the thread keeps the priority it has. Each
// side first says what it did and then looks at what the other did, so that however
// the two interleave, a thread that is waited for never stays idle.
void StartUpWork::runOnlyWhenIdle() {
#ifdef __linux__
    sched_param none{};
    sched_setscheduler(0, SCHED_IDLE, &none);
    threadId_ = static_cast<long>(gettid());
    if (waitedFor_) sched_setscheduler(0, SCHED_OTHER, &none);
#endif
}

void StartUpWork::runAsAnyThread() {
    waitedFor_ = true;
#ifdef __linux__
    if (const long id = threadId_) {
        sched_param none{};
        sched_setscheduler(static_cast<pid_t>(id), SCHED_OTHER, &none);
    }
#endif
}

void StartUpWork::run(const std::filesystem::path& workFolder) {
    runOnlyWhenIdle();
#ifdef VARNEX_FONTCONFIG
    // The library loads its configuration once per process, safely from any thread;
    // the toolkit's own first call then finds it loaded.
    FcInit();
#endif
    fontsRead_.set_value();
    try {
        tablesRead_.set_value(loadTables(workFolder));
    } catch (...) {  // out of memory
        tablesRead_.set_exception(std::current_exception());
    }
}

void StartUpWork::waitForFonts() {
    if (fonts_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) runAsAnyThread();
    fonts_.wait();
}

TableLoad StartUpWork::takeTables() {
    if (tables_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) runAsAnyThread();
    return tables_.get();
}
