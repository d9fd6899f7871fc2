#include "EditorWindows.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <utility>

#include "AddSpotDialog.h"
#include "EditorDocument.h"
#include "EventHook.h"
#include "HistoryMarks.h"
#include "MainWindow.h"
#include "MapOverviewWindow.h"
#include "MapPreviewWindow.h"
#include "ProgramIdentity.h"
#include "SpawnPage.h"

namespace {

int primaryScreenHeight() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 768;
}

}  // namespace

EditorWindows::EditorWindows(std::filesystem::path workFolder, std::filesystem::path programFolder,
                             TableLoad loaded, int screenHeight)
    : document_(std::make_unique<EditorDocument>(std::move(workFolder), std::move(programFolder))) {
    main_ = std::make_unique<MainWindow>(*document_, std::move(loaded));
    // The icon's large sizes join once the main window has been painted (ProgramIdentity.h).
    new EventHook(main_.get(), [done = false](QEvent* event) mutable {
        if (event->type() == QEvent::Paint && !std::exchange(done, true))
            QTimer::singleShot(0, &completeProgramIcon);
        return false;
    });
    main_->show();
    // The hidden page and windows are made while the window system maps the main
    // window, which its first paint waits for anyway.
    dialog_ = std::make_unique<AddSpotDialog>(*document_);
    dialog_->hide();
    preview_ = std::make_unique<MapPreviewWindow>(screenHeight > 0 ? screenHeight : primaryScreenHeight());
    preview_->hide();
    dialog_->setPreview(preview_.get());
    installHistoryKeys(preview_.get(), [document = document_.get()] { return &document->history(TableFile::Spawns); });

    // Escape in the dialog or the preview hands the keyboard back to the main window.
    const auto backToMain = [main = main_.get()] { main->activateWindow(); };
    QObject::connect(dialog_.get(), &AddSpotDialog::leftByKeyboard, main_.get(), backToMain);
    QObject::connect(preview_.get(), &MapPreviewWindow::leftByKeyboard, main_.get(), backToMain);
    QObject::connect(main_.get(), &MainWindow::spawnPageMade, dialog_.get(), [this](SpawnPage* page) {
        page->setPreview(preview_.get());
        QObject::connect(page, &SpawnPage::addSpotRequested, dialog_.get(), &AddSpotDialog::openFor);
        QObject::connect(page, &SpawnPage::overviewRequested, main_.get(),
                         [this](int map) { mapOverview().openOnMap(map); });
    });
    main_->makeSpawnPage();
}

// Made on first use, so that the start makes nothing it does not show.
MapOverviewWindow& EditorWindows::mapOverview() {
    if (overview_) return *overview_;
    overview_ = std::make_unique<MapOverviewWindow>(*document_);
    installHistoryKeys(overview_.get(), [document = document_.get()] { return &document->history(TableFile::Spawns); });
    // A spot clicked on the overview is shown on the spawn page, and a spot selected
    // there is highlighted on the overview.
    SpawnPage* page = main_->spawnPage();
    QObject::connect(overview_.get(), &MapOverviewWindow::spotChosen, page, &SpawnPage::goToSpot);
    QObject::connect(page, &SpawnPage::spotSelected, overview_.get(), &MapOverviewWindow::highlightSpot);
    // MapOverviewWindow::editSpotRequested goes to the add-location dialog, filled with
    // that spot, here.
    return *overview_;
}

// The preview and the dialog go first: the page they work with lives in the main window.
EditorWindows::~EditorWindows() {
    overview_.reset();
    preview_.reset();
    dialog_.reset();
    main_.reset();
}
