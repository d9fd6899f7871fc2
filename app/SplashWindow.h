#pragma once
// The splash window. Shows the artwork and credits until its timer ticks or the
// artwork is clicked, then brings up the editor's windows (EditorWindows.h) and stays
// hidden for the rest of the run.

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
