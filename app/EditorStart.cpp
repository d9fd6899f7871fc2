#include "EditorStart.h"

#include <filesystem>

#include <QApplication>
#ifdef _WIN32
#include <windows.h>
#endif

#include "ProgramIdentity.h"
#include "StartUpWork.h"
#include "SplashWindow.h"

namespace {

// The folder of the running program, known before the application object exists (the
// start-up thread reads below it); the link is what Qt's applicationDirPath reads too.
std::filesystem::path programFolderAtStart(const char* argv0) {
    std::error_code failed;
#ifdef __linux__
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", failed);
    if (!failed) return program.parent_path();
#elif defined(_WIN32)
    // argv[0] is what was typed, in the ANSI code page; the module's own name is whole.
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) break;
        if (length < name.size()) return std::filesystem::path(name.substr(0, length)).parent_path();
        name.resize(name.size() * 2);
    }
#endif
    const std::filesystem::path given = std::filesystem::absolute(argv0 ? argv0 : "", failed);
    return failed ? std::filesystem::current_path() : given.parent_path();
}

}  // namespace

int runEditor(int& argc, char** argv, const std::function<void(SplashWindow&)>& beforeLoop) {
    const std::filesystem::path workFolder = std::filesystem::current_path();
    const std::filesystem::path programFolder = programFolderAtStart(argc > 0 ? argv[0] : nullptr);
    StartUpWork work(workFolder, programFolder);
    QApplication app(argc, argv);
    work.applicationMade();
    work.waitForFonts();
    setProgramIdentity();
    SplashWindow splash(workFolder, programFolder);
    splash.readTablesWith([&work] { return work.takeTables(); });
    splash.show();
    if (beforeLoop) beforeLoop(splash);
    return QApplication::exec();
}
