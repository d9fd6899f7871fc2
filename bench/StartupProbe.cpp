// Start-up probe for bench/startup: the editor's own start (runEditor, as app/main.cpp: the
// splash, which then makes the main window, the dialog and the preview), with the
// splash dismissed as soon as the event loop runs, reporting once the main window is
// painted (ShownReport.h). Not part of the shipped program.
//
//   varnex_startup_probe                      start in the working folder
//   varnex_startup_probe --write-tables DIR   write full-size data/monster.txt and
//                                             data/Quarnel.txt below DIR

#include <filesystem>
#include <fstream>
#include <string>

#include <QTimer>

#include "EditorStart.h"
#include "FullSizeFiles.h"
#include "ShownReport.h"
#include "MainWindow.h"
#include "SplashWindow.h"

namespace {

int writeTables(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder / "data");
    std::ofstream(folder / "data" / "monster.txt", std::ios::binary) << fullMonsterFile();
    std::ofstream(folder / "data" / "Quarnel.txt", std::ios::binary) << fullSpawnFile();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--write-tables") return writeTables(argv[2]);
    ReportAfterFirstPaint report;
    return runEditor(argc, argv, [&report](SplashWindow& splash) {
        QTimer::singleShot(0, &splash, [&splash, &report] {
            splash.dismiss();
            if (MainWindow* main = splash.mainWindow()) main->installEventFilter(&report);
        });
    });
}
