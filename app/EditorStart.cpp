#include "EditorStart.h"

#include <filesystem>

#include <QApplication>

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
