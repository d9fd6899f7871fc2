#include "EditorStart.h"

#include <filesystem>

#include <QApplication>

#include "ProgramIdentity.h"
#include "StartUpWork.h"
#include "Unit3.h"

int runEditor(int& argc, char** argv, const std::function<void(TForm3&)>& beforeLoop) {
    const std::filesystem::path workFolder = std::filesystem::current_path();
    StartUpWork work(workFolder);
    QApplication app(argc, argv);
    work.applicationMade();
    work.waitForFonts();
    setProgramIdentity();
    TForm3 splash(workFolder);
    splash.readTablesWith([&work] { return work.takeTables(); });
    splash.show();
    if (beforeLoop) beforeLoop(splash);
    return QApplication::exec();
}
