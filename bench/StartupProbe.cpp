// Start-up probe for bench/startup: the editor's own start (the same splash, main
// window, dialog and preview as app/main.cpp builds), with the splash dismissed as
// soon as the event loop runs, and an exit as soon as the main window has painted
// itself once. Not part of the shipped program.
//
//   varnex_startup_probe                    start in the working folder, quit when shown
//   varnex_startup_probe --write-tables DIR writes full-size data/monster.txt and
//                                           data/Quarnel.txt below DIR

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include "FullSizeFiles.h"
#include "ShownReport.h"
#include "ProgramIdentity.h"
#include "Unit1.h"
#include "Unit3.h"

namespace {

// At the watched window's first paint: prints the moment and the peak memory so far,
// and ends the process at once (the end of a run is not part of its start).
class EndWhenPainted final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) reportShownAndEnd();
        return false;
    }
};

int writeTables(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder / "data");
    std::ofstream(folder / "data" / "monster.txt", std::ios::binary) << fullMonsterFile();
    std::ofstream(folder / "data" / "Quarnel.txt", std::ios::binary) << fullSpawnFile();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--write-tables") return writeTables(argv[2]);
    QApplication app(argc, argv);
    setProgramIdentity();
    TForm3 splash;
    splash.show();
    EndWhenPainted end;
    QTimer::singleShot(0, &splash, [&] {
        splash.SplashTimerTimer();
        if (TForm1* main = splash.form1()) main->installEventFilter(&end);
    });
    return QApplication::exec();
}
