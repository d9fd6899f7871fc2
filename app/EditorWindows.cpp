#include "EditorWindows.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QTreeView>

#include <utility>

#include "AddSpotDialog.h"
#include "EditorDocument.h"
#include "EventHook.h"
#include "FirstPlace.h"
#include "HistoryMarks.h"
#include "HistoryWindow.h"
#include "KeyListWindow.h"
#include "ListMenu.h"
#include "MainWindow.h"
#include "MapOverviewWindow.h"
#include "MapPreviewWindow.h"
#include "ProgramIdentity.h"
#include "ProgramKeys.h"
#include "ProgramMenus.h"
#include "SpawnPage.h"
#include "StatsPage.h"

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
    // Neither tool window first opens over the main window's save, delete and title
    // buttons: each stays where it was put (the dialog at its design place, the preview
    // near the screen's corner: left to a window manager, it may go anywhere) unless it
    // would cover them.
    keepMainButtonsClear(dialog_.get());
    keepMainButtonsClear(preview_.get());
    QObject::connect(main_.get(), &MainWindow::spawnPageMade, dialog_.get(), [this](SpawnPage* page) {
        page->setPreview(preview_.get());
        QObject::connect(page, &SpawnPage::addSpotRequested, dialog_.get(), &AddSpotDialog::openFor);
        QObject::connect(page, &SpawnPage::editSpotRequested, dialog_.get(), &AddSpotDialog::editSpot);
        QObject::connect(page, &SpawnPage::overviewRequested, main_.get(),
                         [this](int map) { mapOverview().openOnMap(map); });
    });
    main_->makeSpawnPage();

    // F1 and Ctrl+H in every window of the program.
    QObject::connect(makeShortcut(main_.get(), KeyAction::ShowKeys, Qt::ApplicationShortcut), &QShortcut::activated,
                     main_.get(), [this] { showKeyList(); });
    QObject::connect(makeShortcut(main_.get(), KeyAction::ShowHistory, Qt::ApplicationShortcut), &QShortcut::activated,
                     main_.get(), [this] { showHistory(); });
    nameKeysInToolTips(main_.get(), {KeyPlace::MainWindow, KeyPlace::StatsPage, KeyPlace::SpawnPage});
    nameKeysInToolTips(dialog_.get(), {KeyPlace::AddSpotDialog});
    nameKeysInToolTips(preview_.get(), {KeyPlace::MapPreview});
    installListMenu(main_->statsPage()->monsterList(), [this] { return monsterListMenu(*this); });
    QObject::connect(main_->statsPage(), &StatsPage::editStateChanged, main_.get(), [this](bool editing) {
        if (history_) history_->setLocked(TableFile::Monsters, editing);
    });
}

void EditorWindows::keepMainButtonsClear(QWidget* tool) const {
    placeOnFirstShow(tool, [tool, main = main_.get()] {
        const QScreen* screen = main->screen();
        const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
        // A window manager takes a place of (0, 0) for none at all.
        const QPoint put = tool->pos().isNull() ? area.topLeft() + QPoint(8, 8) : tool->pos();
        return firstPlace(tool->frameGeometry().size(), put, area, main->frameGeometry(), main->placesToKeepClear());
    });
}

// Made on first use, so that the start makes nothing it does not show.
MapOverviewWindow& EditorWindows::mapOverview() {
    if (overview_) return *overview_;
    overview_ = std::make_unique<MapOverviewWindow>(*document_);
    installHistoryKeys(overview_.get(), [document = document_.get()] { return &document->history(TableFile::Spawns); });
    nameKeysInToolTips(overview_.get(), {KeyPlace::MapOverview});
    // A spot clicked on the overview is shown on the spawn page, and a spot selected
    // there is highlighted on the overview.
    SpawnPage* page = main_->spawnPage();
    QObject::connect(overview_.get(), &MapOverviewWindow::spotChosen, page, &SpawnPage::goToSpot);
    QObject::connect(page, &SpawnPage::spotSelected, overview_.get(), &MapOverviewWindow::highlightSpot);
    // A double click on a spot opens it in the add-location dialog, to change it.
    QObject::connect(overview_.get(), &MapOverviewWindow::editSpotRequested, dialog_.get(), &AddSpotDialog::editSpot);
    return *overview_;
}

HistoryWindow& EditorWindows::historyWindow() {
    if (history_) return *history_;
    history_ = std::make_unique<HistoryWindow>(*document_);
    history_->setLocked(TableFile::Monsters, main_->statsPage()->editing());
    keepMainButtonsClear(history_.get());
    return *history_;
}

KeyListWindow& EditorWindows::keyList() {
    if (keyList_) return *keyList_;
    keyList_ = std::make_unique<KeyListWindow>();
    keepMainButtonsClear(keyList_.get());
    return *keyList_;
}

namespace {

void bringUp(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace

void EditorWindows::showHistory() { bringUp(historyWindow()); }
void EditorWindows::showKeyList() { bringUp(keyList()); }

// The tool windows go first: the page they work with lives in the main window.
EditorWindows::~EditorWindows() {
    keyList_.reset();
    history_.reset();
    overview_.reset();
    preview_.reset();
    dialog_.reset();
    main_.reset();
}
