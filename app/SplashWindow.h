#pragma once
// The splash window. Shows the artwork and credits until its timer ticks or the
// artwork is clicked, then brings up the editor's windows (EditorWindows.h) and stays
// hidden for the rest of the run.
//
// Start-up: only what the first paint needs is made as the windows are built. The splash artwork is
// drawn, and the icon decoded, when the program is built (app/tools/BuildPixels.cpp writes their
// pixels into a source file); icons are made when first drawn or measured (ui/LazyIcon.h), so the
// hidden dialog's buttons load nothing; the style's glyphs are the toolkit's built-in pictures,
// copied out of its resources when the program is built (ui/GlyphPixels.h), so that the icon-theme
// search that asking the style starts does not run, and a desktop's icon theme (a dark one draws
// its arrows pale) never replaces them; the windows keep the design's palette, every role of every
// group set (ui/DesignPalette.h; radio buttons take `indicatorPalette`, whose darker window colour
// the style draws their rings from); the windows shown at start carry the window icon at 16 to 64
// pixels, as every size is sent to the window system with each window shown (the 128 and 256 pixel
// ones cost 5 to 9 ms a window under Xvfb), and `completeProgramIcon()` adds those two once the
// main window has been painted; the design font's face is looked up once (`formFont`), handed only
// the first of its families the system has (each missing one costs a search of the system's
// fallback list), and is the application's default (`setProgramIdentity`; message boxes, tooltips
// and menus keep the desktop's), so that the first text every line edit lays out loads no face of
// its own. A thread of the start-up (app/StartUpWork.h), idle-priority until the program waits for
// it, reads the font configuration while the program connects to the window system, then both
// tables while the splash and the windows are made, then loads the toolkit's image-format plugins,
// which the style's first picture would load during the first paint; the main window shows what the
// reading found (app/TableLoad.h) exactly as a reading of its own would. Before reading,
// `loadTables` puts right what saves that did not finish left (tables/StartUpRepair.h) and adds one
// line per thing put right, and one when the spawn file is saved in another folder than it is read
// from, to `TableLoad::notices`. Both pages are made inside the window, so nothing is measured in
// the default font; at start-up the hidden Monster Position page, the dialog and the preview are
// made just after the main window is shown, while the window system maps it. The grid delegate lays
// out a plain cell's text once and asks the style where icon and text go once a column
// (ui/GridDelegate.h); a selected cell's ground is the palette's highlight, as its text is the
// palette's, since a style's own ground (the Windows style's light grey without the keyboard) would
// not go with it. The table readers walk each line once: spawn lines whose columns are plain
// numbers are read straight from their raw text (tables/SpawnTable.cpp), every other line goes
// through the normaliser and the column reader, which give every message. `bench/startup` times the
// whole start against a bare Qt window; the benchmark programs print the ratios the program is held
// to.

#include <filesystem>
#include <functional>
#include <memory>

#include <QCoreApplication>
#include <QString>
#include <QWidget>

#include "EditorWindows.h"
#include "TableLoad.h"

class QLabel;
class QTimer;

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    // The folders are handed on to the editor's windows.
    explicit SplashWindow(std::filesystem::path workFolder = std::filesystem::current_path(),
                    std::filesystem::path programFolder =
                        QCoreApplication::applicationDirPath().toStdU16String(),
                    QWidget* parent = nullptr);
    ~SplashWindow() override;

    static QString webAddress();

    // Where the editor gets its tables from; by default they are read at the dismissal.
    void readTablesWith(std::function<TableLoad()> readTables) { readTables_ = std::move(readTables); }

    // The dismissal; runs once however often it is called.
    void dismiss();
    void openWebAddress();

    // Null until the dismissal.
    EditorWindows* windows() const { return windows_.get(); }
    MainWindow* mainWindow() const { return windows_ ? &windows_->mainWindow() : nullptr; }
    AddSpotDialog* addSpotDialog() const { return windows_ ? &windows_->addSpotDialog() : nullptr; }
    MapPreviewWindow* mapPreview() const { return windows_ ? &windows_->mapPreview() : nullptr; }
    QTimer* splashTimer() const { return splashTimer_; }  // null once dismissed
    bool dismissed() const { return dismissed_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::filesystem::path workFolder_;
    std::filesystem::path programFolder_;
    std::function<TableLoad()> readTables_;
    std::unique_ptr<EditorWindows> windows_;
    bool dismissed_ = false;

    QLabel* artwork_ = nullptr;
    QLabel* webLink_ = nullptr;
    QTimer* splashTimer_ = nullptr;
};
