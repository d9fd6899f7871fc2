// The start-up thread's idle priority has an end even when nothing waits for it by name:
// the toolkit can wait for it on a lock it holds, and on a busy machine an idle thread
// may not run for a minute.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "StartUpWork.h"
#include "TempFolder.h"

#ifdef __linux__
#include <sched.h>

namespace {

// How many threads of this process run at idle priority now.
int idleThreads() {
    int idle = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        const int policy = sched_getscheduler(std::stoi(task.path().filename().string()));
        idle += policy == SCHED_IDLE;
    }
    return idle;
}

template <typename Condition>
bool within(std::chrono::milliseconds limit, Condition condition) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return condition();
}

}  // namespace

TEST(StartUpWork, RunsAtIdlePriorityForAQuarterOfASecondAtMost) {
    const TempFolder work;
    // Never told that the application exists, the thread waits after the tables: it is
    // neither done nor waited for.
    StartUpWork startUp(work.path());
    if (!within(std::chrono::milliseconds(200), [] { return idleThreads() > 0; }))
        GTEST_SKIP() << "the system gives no thread idle priority here";
    EXPECT_TRUE(within(std::chrono::milliseconds(2000), [] { return idleThreads() == 0; }));
}
#endif
