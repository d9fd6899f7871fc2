// Test-only driver for scripts/screenshots: starts the windows on the working folder's
// data, brings them into a named state and writes the ready file, then waits to be
// ended by the script (which takes the screenshot in between).
//
//   varnex_shots <state> <ready-file>
//   varnex_shots startup-time          prints the milliseconds until the main window shows
//
// Add a state by adding an entry to kStates.

#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <string>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include "ProgramIdentity.h"
#include "SpawnPage.h"
#include "StatsPage.h"
#include "Unit1.h"
#include "Unit3.h"
#include "Unit4.h"

namespace {

using State = std::function<void(TForm3&)>;

const std::map<std::string, State> kStates = {
    {"splash", [](TForm3&) {}},
    {"stats",
     [](TForm3& splash) {
         splash.SplashTimerTimer();
         splash.form1()->statsPage()->selectIndex(0);
     }},
    {"position",
     [](TForm3& splash) {
         splash.SplashTimerTimer();
         splash.form1()->BitBtn1Click();
     }},
    {"preview",
     [](TForm3& splash) {
         splash.SplashTimerTimer();
         splash.form1()->BitBtn1Click();
         // A monster with many range spots on one map, at 2X, so the outlines show.
         SpawnPage* page = splash.form1()->spawnPage();
         if (const int row = page->monsterIndexOf(99); row >= 0) {
             page->selectMonsterIndex(row);
             page->allmonsterlistClick();
             page->selectMapText(QStringLiteral("5"));
             page->MapListChange();
             page->showRangeListPage();
         }
         page->SpeedButton9Click();
         splash.form4()->setZoom(2);
     }},
    {"dialog",
     [](TForm3& splash) {
         splash.SplashTimerTimer();
         splash.form1()->BitBtn1Click();
         splash.form1()->spawnPage()->Button6Click();
     }},
};

int printStartupTime() {
    QElapsedTimer clock;
    clock.start();
    TForm3 splash;
    splash.show();
    QApplication::processEvents();
    const qint64 splashShown = clock.elapsed();
    splash.SplashTimerTimer();
    QApplication::processEvents();
    std::printf("splash shown after %lld ms; main window shown %lld ms after the dismissal\n",
                static_cast<long long>(splashShown),
                static_cast<long long>(clock.elapsed() - splashShown));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    setProgramIdentity();
    const std::string name = argc > 1 ? argv[1] : "";
    if (name == "startup-time") return printStartupTime();
    const auto state = kStates.find(name);
    if (state == kStates.end() || argc < 3) {
        std::fprintf(stderr, "usage: varnex_shots <state> <ready-file>; states:");
        for (const auto& entry : kStates) std::fprintf(stderr, " %s", entry.first.c_str());
        std::fprintf(stderr, "\n");
        return 2;
    }
    TForm3 splash;
    splash.show();
    const std::string readyFile = argv[2];
    QTimer::singleShot(0, &splash, [&] {
        state->second(splash);
        // Let the windows paint before the script looks.
        QTimer::singleShot(300, &splash, [readyFile] { std::ofstream(readyFile) << "ready\n"; });
    });
    return QApplication::exec();
}
