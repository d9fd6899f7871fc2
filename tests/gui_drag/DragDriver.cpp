// Starts the windows on the sample tables as the program does, shows the add-location
// dialog, the map preview and the monster table beside the main window, writes the X
// window id of each to the ready file and runs until it is ended. drag_test.sh then drags them with real
// pointer events.
//
//   varnex_drag_driver <ready-file>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <QApplication>
#include <QScreen>
#include <QTest>

#include "ProgramIdentity.h"
#include "MainWindow.h"
#include "AddSpotDialog.h"
#include "SplashWindow.h"
#include "MapPreviewWindow.h"
#include "MonsterGridWindow.h"

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
    // Below the main window, left of where its drags take it.
    MonsterGridWindow table(mainWindow.document());
    table.setGeometry(10, 800, 600, 200);
    table.show();
    for (QWidget* window : {static_cast<QWidget*>(&mainWindow), static_cast<QWidget*>(&dialog),
                            static_cast<QWidget*>(&preview), static_cast<QWidget*>(&table)})
        if (!QTest::qWaitForWindowExposed(window)) return 1;

    // Written aside and renamed, so the script never reads half of it.
    const std::string readyFile = argv[1];
    {
        std::ofstream ready(readyFile + ".part");
        ready << "main " << mainWindow.winId() << "\ndialog " << dialog.winId() << "\npreview "
              << preview.winId() << "\ntable " << table.winId() << "\n";
    }
    std::filesystem::rename(readyFile + ".part", readyFile);
    return QApplication::exec();
}
