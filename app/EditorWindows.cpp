#include "EditorWindows.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QTimer>
#include <QTreeView>

#include <utility>

#include "AddSpotDialog.h"
#ifdef VARNEX_BALANCE
#include "BalanceWindow.h"
#endif
#include "EditorDocument.h"
#include "EventHook.h"
#include "FirstPlace.h"
#include "HistoryMarks.h"
#include "HistoryWindow.h"
#include "KeyListWindow.h"
#include "KeyboardReturn.h"
#include "ListMenu.h"
#include "MainWindow.h"
#include "MapOverviewWindow.h"
#include "MapPreviewWindow.h"
#include "MessageBoxes.h"
#include "OverviewSurface.h"
#include "ErrorReport.h"
#include "MonsterGridWindow.h"
#include "ProgramIdentity.h"
#include "ProgramKeys.h"
#include "ProgramMenus.h"
#include "ReviewWindow.h"
#include "SaveQuestion.h"
#include "SpawnPage.h"
#include "StatsPage.h"
#include "WindowStacking.h"

namespace {

int primaryScreenHeight() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 768;
}

QRect screenArea(const QWidget* window) {
    const QScreen* screen = window->screen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
}

// Where a window first opens when it is left to itself: near the screen's corner (a
// window manager takes a place of (0, 0) for none at all and may put it anywhere).
QPoint meantPlace(const QWidget* window, QRect area) {
    return window->pos().isNull() ? area.topLeft() + QPoint(8, 8) : window->pos();
}

// Ctrl+S in a window that works on the spawn file saves it, as its page's button does.
void installSpawnSaveKey(QWidget* window, EditorDocument* document) {
    installSaveKey(window, [window, document] {
        reportErrors(window, [&] { document->save(TableFile::Spawns, askBeforeOverwrite(window)); });
    });
}

// The menus act on these windows; the map overview is made when a menu first asks for it.
MenuTargets menuTargets(EditorWindows& windows) {
    return {&windows.document(),
            &windows.mainWindow(),
            &windows.addSpotDialog(),
            [&windows]() -> MapOverviewWindow& { return windows.mapOverview(); },
            [&windows] { windows.showHistory(); },
            [&windows] { windows.showKeyList(); }};
}

}  // namespace

EditorWindows::EditorWindows(std::filesystem::path workFolder, std::filesystem::path programFolder,
                             TableLoad loaded, int screenHeight)
    : document_(std::make_unique<EditorDocument>(std::move(workFolder), std::move(programFolder))) {
    // Before the first window: the keyboard goes back to the window that asked after
    // every box and window the program shows, those of the start-up included.
    giveKeyboardBackOnClose();
    main_ = std::make_unique<MainWindow>(*document_, std::move(loaded));
    keepOnScreen(main_.get());
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
    for (QWidget* tool : {static_cast<QWidget*>(dialog_.get()), static_cast<QWidget*>(preview_.get())})
        installSpawnSaveKey(tool, document_.get());
    // Without a window manager a click on the main window brings it over the overview.
    raiseOnPress(main_.get());

    // Escape in the dialog or the preview hands the keyboard back to the main window.
    const auto backToMain = [main = main_.get()] { main->activateWindow(); };
    QObject::connect(dialog_.get(), &AddSpotDialog::leftByKeyboard, main_.get(), backToMain);
    QObject::connect(preview_.get(), &MapPreviewWindow::leftByKeyboard, main_.get(), backToMain);
    // Neither tool window first opens over the main window's save, delete and title
    // buttons, nor off the screen: each stays where it was put (the dialog at its design
    // place, the preview near the screen's corner) unless it would. The preview keeps
    // clear of the open dialog too, whose place it shows. Both stay above the others.
    for (QWidget* tool : {static_cast<QWidget*>(dialog_.get()), static_cast<QWidget*>(preview_.get())}) {
        placeOnFirstShow(tool, [this, tool] {
            const QRect area = screenArea(main_.get());
            QList<QRect> keepClear = main_->placesToKeepClear();
            if (tool == preview_.get() && dialog_->isVisible()) keepClear << dialog_->frameGeometry();
            const QSize size = tool->frameGeometry().size();
            return QRect(firstPlace(size, meantPlace(tool, area), area, main_->frameGeometry(), keepClear), size);
        });
        keepOnScreen(tool);
        keepAbove(tool);
    }
    // The spawn page shows the preview again by itself, where it was, which the main
    // window may have come under meanwhile: it comes back clear of its buttons and tabs.
    placeOnShow(
        preview_.get(), [this] { return screenArea(main_.get()); }, [this] { return main_->frameGeometry(); },
        [this] { return main_->placesToKeepClear(); });
    QObject::connect(main_.get(), &MainWindow::spawnPageMade, dialog_.get(), [this](SpawnPage* page) {
        page->setPreview(preview_.get());
        QObject::connect(page, &SpawnPage::addSpotRequested, dialog_.get(), &AddSpotDialog::openFor);
        QObject::connect(page, &SpawnPage::editSpotRequested, dialog_.get(), &AddSpotDialog::editSpot);
        QObject::connect(page, &SpawnPage::overviewRequested, main_.get(),
                         [this](int map) { mapOverview().openOnMap(map); });
    });
    main_->makeSpawnPage();

    // The monster table opens from the main window with Ctrl+T and from the stats page.
    auto* table = makeShortcut(main_.get(), KeyAction::OpenMonsterTable);
    const auto openTable = [this] {
        if (main_->statsPage()->settleTypedValues(main_.get(), QStringLiteral("opening the monster table")))
            monsterGrid().open();
    };
    QObject::connect(table, &QShortcut::activated, main_.get(), openTable);
    QObject::connect(main_->statsPage(), &StatsPage::monsterTableRequested, main_.get(), openTable);
    QObject::connect(makeShortcut(main_.get(), KeyAction::OpenBalanceChart), &QShortcut::activated, main_.get(),
                     [this] { openBalanceChart(); });

    // F1 and Ctrl+H in every window of the program.
    QObject::connect(makeShortcut(main_.get(), KeyAction::ShowKeys, Qt::ApplicationShortcut), &QShortcut::activated,
                     main_.get(), [this] { showKeyList(); });
    QObject::connect(makeShortcut(main_.get(), KeyAction::ShowHistory, Qt::ApplicationShortcut), &QShortcut::activated,
                     main_.get(), [this] { showHistory(); });
    // The review of the save: Ctrl+Shift+D everywhere, a button beside each save button,
    // "Review..." in the question before closing.
    const auto review = [this] { showReview(); };
    QObject::connect(makeShortcut(main_.get(), KeyAction::ReviewSave, Qt::ApplicationShortcut),
                     &QShortcut::activated, main_.get(), review);
    QObject::connect(main_->statsPage(), &StatsPage::reviewRequested, main_.get(), review);
    QObject::connect(main_->spawnPage(), &SpawnPage::reviewRequested, main_.get(), review);
    QObject::connect(main_.get(), &MainWindow::reviewRequested, main_.get(), review);
    nameKeysInToolTips(main_.get(), {KeyPlace::MainWindow, KeyPlace::StatsPage, KeyPlace::SpawnPage});
    nameKeysInToolTips(dialog_.get(), {KeyPlace::AddSpotDialog});
    nameKeysInToolTips(preview_.get(), {KeyPlace::MapPreview});
    installListMenu(main_->statsPage()->monsterList(), [this] { return monsterListMenu(menuTargets(*this)); });
    SpawnPage* page = main_->spawnPage();
    installListMenu(page->monsterList(), [this] { return spawnMonsterListMenu(menuTargets(*this)); });
    for (QTreeView* list : {page->pointSpotList(), page->rangeSpotList()})
        installListMenu(list, [this, list] { return spotListMenu(menuTargets(*this), list); });
    QObject::connect(main_->statsPage(), &StatsPage::editStateChanged, main_.get(), [this](bool editing) {
        if (history_) history_->setLocked(TableFile::Monsters, editing);
        if (monsterGrid_) monsterGrid_->setLocked(editing);
#ifdef VARNEX_BALANCE
        if (balance_) balance_->setLocked(editing);
#endif
    });
}

void EditorWindows::keepMainButtonsClear(QWidget* tool) const {
    placeOnFirstShow(tool, [tool, main = main_.get()] {
        const QRect area = roomForFrame(tool, screenArea(main));
        const QSize size = tool->frameGeometry().size();
        return QRect(firstPlace(size, meantPlace(tool, area), area, main->frameGeometry(), main->placesToKeepClear()),
                     size);
    });
    keepOnScreen(tool);
}

// Made on first use, so that the start makes nothing it does not show.
MapOverviewWindow& EditorWindows::mapOverview() {
    if (overview_) return *overview_;
    overview_ = std::make_unique<MapOverviewWindow>(*document_);
    MapOverviewWindow* overview = overview_.get();
    installHistoryKeys(overview, [document = document_.get()] { return &document->history(TableFile::Spawns); });
    installSpawnSaveKey(overview, document_.get());
    // It first opens as the tool windows do, as large as it may be up to its own size.
    placeOnFirstShow(overview, [this, overview] {
        const QRect area = screenArea(main_.get());
        return firstFrame(overview->size(), overview->minimumSizeHint(), meantPlace(overview, area), area,
                          main_->frameGeometry(), main_->placesToKeepClear());
    });
    keepOnScreen(overview);
    raiseOnPress(overview);
    QObject::connect(overview, &MapOverviewWindow::leftByKeyboard, main_.get(),
                     [main = main_.get()] { main->activateWindow(); });
    nameKeysInToolTips(overview, {KeyPlace::MapOverview});
    // A spot clicked on the overview is shown on the spawn page, and a spot selected
    // there is highlighted on the overview.
    SpawnPage* page = main_->spawnPage();
    QObject::connect(overview_.get(), &MapOverviewWindow::spotChosen, page, &SpawnPage::goToSpot);
    QObject::connect(page, &SpawnPage::spotSelected, overview_.get(), &MapOverviewWindow::highlightSpot);
    // A double click on a spot opens it in the add-location dialog, to change it.
    QObject::connect(overview_.get(), &MapOverviewWindow::editSpotRequested, dialog_.get(), &AddSpotDialog::editSpot);
    // From the keyboard the map's menu opens on the current spot, else in the middle of
    // the view.
    installMenu(
        overview->surface(), [this](QPoint at, bool byMouse) { return overviewMapMenu(menuTargets(*this), at, byMouse); },
        [overview] {
            OverviewSurface* surface = overview->surface();
            QWidget* view = overview->mapArea()->viewport();
            const QRect shown(surface->mapFrom(view, QPoint(0, 0)), view->size());
            const std::optional<QRect> spot = surface->selectedArea();
            return spot && shown.contains(spot->center()) ? spot->center() : shown.center();
        });
    installListMenu(overview->monsterList(), [this] { return overviewMonsterMenu(menuTargets(*this)); });
    return *overview_;
}

// Made on first use, as the map overview is. Its changes are the monster table's
// history, which Ctrl+Z and Ctrl+Y there take back and do again, except while the stats
// page edits a monster (as in the main window).
MonsterGridWindow& EditorWindows::monsterGrid() {
    if (monsterGrid_) return *monsterGrid_;
    monsterGrid_ = std::make_unique<MonsterGridWindow>(*document_);
    monsterGrid_->setLocked(main_->statsPage()->editing());
    monsterGrid_->setUnlocking([page = main_->statsPage()](QWidget* asker, const QString& action) {
        return page->settleTypedValues(asker, action);
    });
    installHistoryKeys(monsterGrid_.get(), [this]() -> QUndoStack* {
        return monsterGrid_->locked() ? nullptr : &document_->history(TableFile::Monsters);
    });
    // It first opens as the map overview does: as large as it may be, up to its own size,
    // where it covers none of the main window's buttons.
    MonsterGridWindow* grid = monsterGrid_.get();
    placeOnFirstShow(grid, [this, grid] {
        const QRect area = screenArea(main_.get());
        return firstFrame(grid->size(), grid->minimumSize(), meantPlace(grid, area), area, main_->frameGeometry(),
                          main_->placesToKeepClear());
    });
    keepOnScreen(grid);
    raiseOnPress(grid);
    nameKeysInToolTips(grid, {KeyPlace::MonsterTable});
    // The balance chart shows the monsters the table's filter keeps and marks the
    // table's selection.
    QObject::connect(grid, &MonsterGridWindow::balanceRequested, grid, [this] { openBalanceChart(); });
#ifdef VARNEX_BALANCE
    QObject::connect(grid, &MonsterGridWindow::filterChanged, grid, [this](const QString& text) {
        if (balance_) balance_->setFilterText(text);
    });
    QObject::connect(grid, &MonsterGridWindow::selectedMonstersChanged, grid, [this](const std::vector<int>& monsters) {
        if (balance_) balance_->showSelection(monsters);
    });
#endif
    QObject::connect(grid, &MonsterGridWindow::reviewRequested, grid, [this] { showReview(); });
    return *monsterGrid_;
}

#ifdef VARNEX_BALANCE

// Made on first use. What the operator selects on it is selected in the monster table
// (made for it when needed, so that "Change..." there applies to it), and a monster
// clicked is chosen on the stats page too, unless that page is editing one.
BalanceWindow& EditorWindows::balanceChart() {
    if (balance_) return *balance_;
    balance_ = std::make_unique<BalanceWindow>(*document_);
    BalanceWindow* balance = balance_.get();
    balance->setLocked(main_->statsPage()->editing());
    if (monsterGrid_) {
        balance->setFilterText(monsterGrid_->filterField()->text());
        balance->showSelection(monsterGrid_->selectedMonsters());
    }
    installHistoryKeys(balance, [this]() -> QUndoStack* {
        return balance_->locked() ? nullptr : &document_->history(TableFile::Monsters);
    });
    keepMainButtonsClear(balance);
    raiseOnPress(balance);
    nameKeysInToolTips(balance, {KeyPlace::BalanceChart});
    QObject::connect(balance, &BalanceWindow::monstersChosen, balance,
                     [this](const std::vector<int>& monsters, int field) { monsterGrid().selectMonsters(monsters, field); });
    QObject::connect(balance, &BalanceWindow::monsterClicked, balance, [this](int monster) {
        if (!main_->statsPage()->editing()) main_->statsPage()->selectIndex(monster);
    });
    return *balance_;
}

void EditorWindows::openBalanceChart() { balanceChart().open(); }
#else
void EditorWindows::openBalanceChart() {
    messageBoxes().notice(main_.get(), QStringLiteral("Balance"),
                          QStringLiteral("This build of the editor has no balance chart: it needs Qt Charts."));
}
#endif

HistoryWindow& EditorWindows::historyWindow() {
    if (history_) return *history_;
    history_ = std::make_unique<HistoryWindow>(*document_);
    history_->setLocked(TableFile::Monsters, main_->statsPage()->editing());
    keepMainButtonsClear(history_.get());
    keepAbove(history_.get());
    return *history_;
}

KeyListWindow& EditorWindows::keyList() {
    if (keyList_) return *keyList_;
    keyList_ = std::make_unique<KeyListWindow>();
    keepMainButtonsClear(keyList_.get());
    keepAbove(keyList_.get());
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

ReviewWindow& EditorWindows::reviewWindow() {
    if (review_) return *review_;
    review_ = std::make_unique<ReviewWindow>(*document_);
    // It first opens as the map overview does: as large as it may be, up to its own size,
    // where it covers none of the main window's buttons, so it stands beside the pages.
    ReviewWindow* review = review_.get();
    raiseOnPress(review);
    placeOnFirstShow(review, [this, review] {
        const QRect area = screenArea(main_.get());
        return firstFrame(review->size(), review->minimumSize(), meantPlace(review, area), area,
                          main_->frameGeometry(), main_->placesToKeepClear());
    });
    QObject::connect(review_.get(), &ReviewWindow::monsterChosen, main_.get(),
                     [this](int index, int field) { goToMonster(index, field); });
    QObject::connect(review_.get(), &ReviewWindow::spotChosen, main_.get(),
                     [this](std::int32_t spotid, std::int32_t, int map) { goToSpot(spotid, map); });
    return *review_;
}

void EditorWindows::showReview() {
    ReviewWindow& review = reviewWindow();
    if (review.isVisible()) review.refresh();  // asked again: worked out afresh
    bringUp(review);
}

void EditorWindows::goToMonster(int index, int field) {
    // While the stats page edits a monster its list stays on that monster: its fields
    // would show another's, which "OK" would then store.
    if ((monsterGrid_ && monsterGrid_->isVisible()) || main_->statsPage()->editing()) {
        monsterGrid().showMonster(index, field);
        return;
    }
    main_->pages()->setCurrentWidget(main_->statsPage());
    main_->statsPage()->selectIndex(index);
    bringUp(*main_);
}

void EditorWindows::goToSpot(std::int32_t spotid, int map) {
    if (!document_->spawns().liveSpot(spotid)) {
        mapOverview().openOnMap(map);
        return;
    }
    const bool overviewShown = overview_ && overview_->isVisible();
    if (overviewShown) overview_->setMap(map);
    main_->pages()->setCurrentWidget(main_->spawnPage());
    main_->spawnPage()->goToSpot(spotid);
    bringUp(overviewShown ? static_cast<QWidget&>(*overview_) : static_cast<QWidget&>(*main_));
}

// The tool windows go first: the page they work with lives in the main window.
EditorWindows::~EditorWindows() {
#ifdef VARNEX_BALANCE
    balance_.reset();
#endif
    review_.reset();
    monsterGrid_.reset();
    keyList_.reset();
    history_.reset();
    overview_.reset();
    preview_.reset();
    dialog_.reset();
    main_.reset();
}
