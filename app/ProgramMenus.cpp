#include "ProgramMenus.h"

#include <algorithm>

#include <QGuiApplication>
#include <QClipboard>
#include <QTreeView>
#include <QUndoStack>

#include "AddSpotDialog.h"
#include "EditorDocument.h"
#include "ReportList.h"
#include "MainWindow.h"
#include "MapOverviewWindow.h"
#include "OverviewGeometry.h"
#include "OverviewMonsters.h"
#include "OverviewSurface.h"
#include "SpawnPage.h"
#include "SpawnRows.h"
#include "StatsPage.h"

namespace {

// "Undo store the values of Marshtoad (5)", or the bare verb when there is none.
QString stepText(const QString& verb, const QString& step) {
    return step.isEmpty() ? verb : verb + QLatin1Char(' ') + step;
}

// What every menu ends with: the file's save and history, and the list of keys.
QList<MenuItem> fileItems(const MenuTargets& targets, TableFile file, std::function<void()> save) {
    QUndoStack& history = targets.document->history(file);
    const QString name = file == TableFile::Monsters ? QStringLiteral("data/monster.txt")
                                                     : QStringLiteral("data/Quarnel.txt");
    return {
        {},
        {QStringLiteral("Save ") + name, KeyAction::Save, std::move(save)},
        {stepText(QStringLiteral("Undo"), history.undoText()), KeyAction::Undo, [&history] { history.undo(); },
         history.canUndo()},
        {stepText(QStringLiteral("Redo"), history.redoText()), KeyAction::Redo, [&history] { history.redo(); },
         history.canRedo()},
        {QStringLiteral("History"), KeyAction::ShowHistory, targets.showHistory},
        {},
        {QStringLiteral("Keys"), KeyAction::ShowKeys, targets.showKeyList},
    };
}

QList<MenuItem> spawnFileItems(const MenuTargets& targets) {
    SpawnPage* page = targets.mainWindow->spawnPage();
    return fileItems(targets, TableFile::Spawns, [page] { page->saveSpawnFile(); });
}

QString spotsWord(int spots) { return spots == 1 ? QStringLiteral("Spot") : QStringLiteral("%1 Spots").arg(spots); }

}  // namespace

QList<MenuItem> monsterListMenu(const MenuTargets& targets) {
    MainWindow& main = *targets.mainWindow;
    StatsPage* stats = main.statsPage();
    const bool chosen = stats->selectedIndex() >= 0;
    return QList<MenuItem>{
               {QStringLiteral("Edit Selected"), KeyAction::EditMonster, [stats] { stats->startEditing(); },
                chosen && !stats->editing()},
               {QStringLiteral("Show Its Spots on Monster Position"), KeyAction::None,
                [&main] { main.switchPageKeepingMonster(); }, chosen},
           } +
           fileItems(targets, TableFile::Monsters, [stats] { stats->saveMonsterFile(); });
}

QList<MenuItem> spawnMonsterListMenu(const MenuTargets& targets) {
    MainWindow& main = *targets.mainWindow;
    SpawnPage* page = main.spawnPage();
    const bool chosen = page->selectedMonsterIndex() >= 0;
    return QList<MenuItem>{
               {QStringLiteral("AddSpot window"), KeyAction::None, [page] { page->openAddSpotDialog(); }, chosen},
               {QStringLiteral("Map Preview"), KeyAction::None, [page] { page->showPreview(); }, page->mapChosen()},
               {QStringLiteral("Map Overview"), KeyAction::Overview, [page] { page->requestOverview(); }},
               {QStringLiteral("Show Its Values on Monster Stats"), KeyAction::None,
                [&main] { main.switchPageKeepingMonster(); }, chosen},
           } +
           spawnFileItems(targets);
}

QList<MenuItem> spotListMenu(const MenuTargets& targets, QTreeView* list) {
    SpawnPage* page = targets.mainWindow->spawnPage();
    const int row = selectedRow(list);
    const std::int32_t spotid = row < 0 ? -1 : static_cast<SpotRows*>(list->model())->entry(row).spotid;
    const bool points = list == page->pointSpotList();
    return QList<MenuItem>{
               {QStringLiteral("Change in Add Monster Location"), KeyAction::None,
                [dialog = targets.addSpotDialog, spotid] { dialog->editSpot(spotid); }, spotid >= 0,
                QStringLiteral("Double-click")},
               {QStringLiteral("Delete Spot"), KeyAction::None,
                [page, points] { points ? page->deletePointSpot() : page->deleteRangeSpot(); }, spotid >= 0},
               {QStringLiteral("Show on the Map Overview"), KeyAction::None,
                [document = targets.document, mapOverview = targets.mapOverview, spotid] {
                    const SpawnEntry* spot = document->spawns().liveSpot(spotid);
                    if (!spot) return;
                    MapOverviewWindow& overview = mapOverview();
                    overview.openOnMap(spot->mapnumber);
                    overview.highlightSpot(spotid);
                },
                spotid >= 0},
           } +
           spawnFileItems(targets);
}

QList<MenuItem> overviewMapMenu(const MenuTargets& targets, QPoint at, bool byMouse) {
    MapOverviewWindow& overview = targets.mapOverview();
    OverviewSurface* surface = overview.surface();
    const int selected = surface->selectionSize();
    const int ranges = overview.selectedRanges();
    const std::int32_t current = surface->selectedSpot();
    const bool canPaste = overview.clipboardHasText();
    std::optional<QPoint> cell;
    if (byMouse) {
        const QPoint c = cellUnder(at, surface->zoom());
        cell = QPoint(std::clamp(c.x(), 0, kMapCells - 1), std::clamp(c.y(), 0, kMapCells - 1));
    } else {
        cell = overview.cellUnderPointer();
    }
    MapOverviewWindow* o = &overview;
    return QList<MenuItem>{
               {QStringLiteral("Change in Add Monster Location"), KeyAction::None,
                [dialog = targets.addSpotDialog, current] { dialog->editSpot(current); }, current >= 0 && selected == 1,
                QStringLiteral("Double-click")},
               {},
               {QStringLiteral("Select All"), KeyAction::SelectAllSpots, [o] { o->selectAllShown(); },
                !surface->spots().empty()},
               {QStringLiteral("Clear Selection"), KeyAction::None, [o] { o->clearSelection(); }, selected > 0,
                QStringLiteral("Esc")},
               {QStringLiteral("Delete ") + spotsWord(selected), KeyAction::DeleteSpots, [o] { o->deleteSelected(); },
                selected > 0},
               {ranges > 1 ? QStringLiteral("Set the Count of %1 Ranges...").arg(ranges)
                           : QStringLiteral("Set the Count of the Range..."),
                KeyAction::None, [o] { o->askCountOfSelected(); }, ranges > 0},
               {selected > 1 ? QStringLiteral("Set the Direction of %1 Spots...").arg(selected)
                             : QStringLiteral("Set the Direction of the Spot..."),
                KeyAction::None, [o] { o->askDirectionOfSelected(); }, selected > 0},
               {},
               {QStringLiteral("Copy ") + spotsWord(selected), KeyAction::CopySpots, [o] { o->copySelected(); },
                selected > 0},
               {QStringLiteral("Paste Here"), KeyAction::PasteSpots, [o, cell] { o->paste(cell); }, canPaste},
               {QStringLiteral("Paste for Monster..."), KeyAction::PasteSpotsForMonster,
                [o, cell] { o->pasteForMonster(cell); }, canPaste},
           } +
           spawnFileItems(targets);
}

QList<MenuItem> overviewMonsterMenu(const MenuTargets& targets) {
    MapOverviewWindow& overview = targets.mapOverview();
    const QModelIndex row = overview.monsterList()->currentIndex();
    const std::int32_t monster = row.isValid() ? overview.monsterRows()->row(row.row()).number : -1;
    MapOverviewWindow* o = &overview;
    return QList<MenuItem>{
               {QStringLiteral("Select Its Spots on the Map"), KeyAction::None,
                [o, monster] { o->selectMonsterSpots(monster); },
                monster >= 0 && overview.monsterRows()->shown(monster)},
           } +
           spawnFileItems(targets);
}
