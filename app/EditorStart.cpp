#include "EditorStart.h"

#include <filesystem>

#include <QApplication>

#include "ProgramIdentity.h"
#include "StartUpWork.h"
#include "SplashWindow.h"

int runEditor(int& argc, char** argv, const std::function<void(SplashWindow&)>& beforeLoop) {
    const std::filesystem::path workFolder = std::filesystem::current_path();
    StartUpWork work(workFolder);
    QApplication app(argc, argv);
    work.applicationMade();
    work.waitForFonts();
    setProgramIdentity();
    SplashWindow splash(workFolder);
    splash.readTablesWith([&work] { return work.takeTables(); });
    splash.show();
    if (beforeLoop) beforeLoop(splash);
    return QApplication::exec();
}
