#include "StartUpWork.h"

#include <chrono>

#ifdef VARNEX_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif
#include <QByteArray>
#include <QImage>
#ifdef __linux__
#include <sched.h>
#include <unistd.h>
#elif defined(_WIN32)
#include <windows.h>
#endif

namespace {

// Longer than the reading takes on an idle processor, so that only a busy machine ends
// the idle time early.
constexpr std::chrono::milliseconds kLongestIdle{250};

// A picture of one transparent pixel, in the format the style's own pictures have.
const unsigned char kOnePixelPng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00,
    0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1f, 0x15, 0xc4, 0x89, 0x00,
    0x00, 0x00, 0x0b, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0x60, 0x00, 0x02, 0x00, 0x00, 0x05, 0x00,
    0x01, 0x7a, 0x5e, 0xab, 0x3f, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

}  // namespace

StartUpWork::StartUpWork(std::filesystem::path workFolder, std::filesystem::path programFolder)
    : thread_([this, work = std::move(workFolder), program = std::move(programFolder)] { run(work, program); }),
      idleLimit_([this] {
          if (workDoneSeen_.wait_for(kLongestIdle) != std::future_status::ready) runAsAnyThread();
      }) {}

StartUpWork::~StartUpWork() {
    if (!applicationMadeSaid_) applicationMade_.set_value(false);
    runAsAnyThread();
    thread_.join();
    idleLimit_.join();
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
#elif defined(_WIN32)
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_IDLE);
    threadId_ = static_cast<long>(GetCurrentThreadId());
    if (waitedFor_) SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
#endif
}

void StartUpWork::runAsAnyThread() {
    waitedFor_ = true;
#ifdef __linux__
    if (const long id = threadId_) {
        sched_param none{};
        sched_setscheduler(static_cast<pid_t>(id), SCHED_OTHER, &none);
    }
#elif defined(_WIN32)
    if (const long id = threadId_) {
        if (HANDLE thread = OpenThread(THREAD_SET_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id))) {
            SetThreadPriority(thread, THREAD_PRIORITY_NORMAL);
            CloseHandle(thread);
        }
    }
#endif
}

void StartUpWork::run(const std::filesystem::path& workFolder, const std::filesystem::path& programFolder) {
    runOnlyWhenIdle();
#ifdef VARNEX_FONTCONFIG
    // The library loads its configuration once per process, safely from any thread;
    // the toolkit's own first call then finds it loaded.
    FcInit();
#endif
    fontsRead_.set_value();
    try {
        tablesRead_.set_value(loadTables(workFolder, programFolder));
    } catch (...) {  // out of memory
        tablesRead_.set_exception(std::current_exception());
    }
    // The toolkit asks every image-format plugin whether it reads the format before it
    // reads a picture itself, loading each; the picture read here is thrown away.
    if (applicationMadeSeen_.get())
        QImage::fromData(QByteArray::fromRawData(reinterpret_cast<const char*>(kOnePixelPng), sizeof kOnePixelPng), "PNG");
    workDone_.set_value();
}

void StartUpWork::applicationMade() {
    applicationMadeSaid_ = true;
    applicationMade_.set_value(true);
}

void StartUpWork::waitForFonts() {
    if (fonts_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) runAsAnyThread();
    fonts_.wait();
}

// What the thread still does after the tables takes a lock the first paint also takes,
// so from here on it runs as any thread.
TableLoad StartUpWork::takeTables() {
    runAsAnyThread();
    return tables_.get();
}
