// Starts the windows on the sample tables as the program does, shows the add-location
// dialog and the map preview beside the main window, the map overview where it first
// opens (then below them) and the monster table below the main window, writes the X
// window id of each, and where the overview first opened, to the ready file and runs
// until it is ended. drag_test.sh then drags them with real
// pointer events.
//
//   varnex_drag_driver <ready-file>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <QApplication>
#include <QScreen>
#include <QTabWidget>
#include <QTest>

#include "ProgramIdentity.h"
#include "MainWindow.h"
#include "AddSpotDialog.h"
#include "SplashWindow.h"
#include "EditorWindows.h"
#include "MapOverviewWindow.h"
#include "MapPreviewWindow.h"
#include "MonsterGridWindow.h"
#include "SpawnPage.h"
#include "StatsPage.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <ready-file>\n", argv[0]);
        return 2;
    }
    setProgramIdentity();
    // Read only: nothing is saved, so the sample folder serves as both folders.
    const std::filesystem::path sample = std::filesystem::path(VARNEX_SOURCE_DIR) / "sample";
    // Started as the program starts: the splash, then its dismissal, which shows the
    // main window in the middle of the screen as the splash goes.
    SplashWindow splash(sample, sample);
    splash.show();
    if (!QTest::qWaitForWindowExposed(&splash)) return 1;
    splash.dismiss();
    MainWindow& mainWindow = *splash.mainWindow();
    AddSpotDialog& dialog = *splash.addSpotDialog();
    MapPreviewWindow& preview = *splash.mapPreview();
    dialog.move(900, 60);
    dialog.show();
    preview.move(900, 450);
    preview.show();
    // Below the main window, right of where the overview is put, small enough to fit.
    MonsterGridWindow table(mainWindow.document());
    table.setMinimumSize(0, 0);
    table.setGeometry(480, 840, 380, 170);
    table.show();
    for (QWidget* window : {static_cast<QWidget*>(&mainWindow), static_cast<QWidget*>(&dialog),
                            static_cast<QWidget*>(&preview), static_cast<QWidget*>(&table)})
        if (!QTest::qWaitForWindowExposed(window)) return 1;
    // The map overview where it first opens: wholly on the screen, over none of the main
    // window's save, delete and title buttons. Then out of the others' way.
    mainWindow.pages()->setCurrentWidget(mainWindow.spawnPage());
    MapOverviewWindow& overview = splash.windows()->mapOverview();
    overview.openOnMap(0);
    if (!QTest::qWaitForWindowExposed(&overview)) return 1;
    QTest::qWait(300);  // a window manager's placing settles
    const QRect first = overview.frameGeometry();
    bool clear = overview.screen()->availableGeometry().contains(first);
    for (const QRect& button : mainWindow.placesToKeepClear()) clear = clear && !button.intersects(first);
    const QString firstPlace = QStringLiteral("%1,%2 %3x%4 %5")
                                   .arg(first.x())
                                   .arg(first.y())
                                   .arg(first.width())
                                   .arg(first.height())
                                   .arg(clear ? QStringLiteral("clear") : QStringLiteral("covering"));
    overview.resize(420, 320);
    overview.move(40, 640);
    mainWindow.pages()->setCurrentWidget(mainWindow.statsPage());  // as the program starts

    // Written aside and renamed, so the script never reads half of it.
    const std::string readyFile = argv[1];
    {
        std::ofstream ready(readyFile + ".part");
        ready << "main " << mainWindow.winId() << "\ndialog " << dialog.winId() << "\npreview "
              << preview.winId() << "\noverview " << overview.winId() << "\nfirstplace "
              << firstPlace.toStdString() << "\ntable " << table.winId() << "\n";
    }
    std::filesystem::rename(readyFile + ".part", readyFile);
    return QApplication::exec();
}
