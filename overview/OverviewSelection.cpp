// The overview's selection and what is done with it: moved, deleted, its counts and
// directions set, copied and pasted, each as one step of the spawn file's history; and
// the overview following steps that change many spots at once.

#include "MapOverviewWindow.h"

#include <algorithm>

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QScrollArea>

#include "ByteText.h"
#include "EditorDocument.h"
#include "ErrorReport.h"
#include "MessageBoxes.h"
#include "OverviewMonsters.h"
#include "OverviewSurface.h"
#include "SpawnLines.h"
#include "TableError.h"

namespace {

// The directions the add-location dialog's keypad gives, as offered for a selection.
constexpr std::int32_t kDirections[] = {-1, 7, 8, 9, 4, 6, 1, 2, 3};
const char* const kDirectionNames[] = {"-1 (none)",  "7 (up left)", "8 (up)",     "9 (up right)", "4 (left)",
                                       "6 (right)",   "1 (down left)", "2 (down)", "3 (down right)"};

std::vector<SpawnEntry> inFileOrder(std::vector<SpawnEntry> spots) {
    std::sort(spots.begin(), spots.end(), [](const SpawnEntry& a, const SpawnEntry& b) { return a.spotid < b.spotid; });
    return spots;
}

// The spots of the clipboard's lines, read from the text's own bytes: a large paste is
// not copied once more for the reader.
std::vector<SpawnEntry> clipboardSpots(const MonsterTable& monsters) {
    const QByteArray text = QGuiApplication::clipboard()->text().toUtf8();
    std::vector<SpawnEntry> spots = readSpawnLines(std::string_view(text.constData(), static_cast<std::size_t>(text.size())), monsters);
    if (spots.empty()) throw TableError("The clipboard holds no lines of the spawn file to paste.");
    return spots;
}

}  // namespace

std::vector<std::int32_t> MapOverviewWindow::selectedSpots() const { return surface_->selectedSpots(); }

int MapOverviewWindow::selectedRanges() const {
    const std::vector<SpawnEntry> selected = surface_->selectedEntries();
    return static_cast<int>(std::count_if(selected.begin(), selected.end(), [](const SpawnEntry& s) { return !s.ispoint; }));
}

QString MapOverviewWindow::spotsText(std::size_t spots) const {
    return (spots == 1 ? QStringLiteral("1 spot") : QStringLiteral("%1 spots").arg(spots)) +
           QStringLiteral(" on map %1").arg(map_);
}

void MapOverviewWindow::showSelectionSize() {
    const int selected = surface_->selectionSize();
    selectionLabel_->setText(selected == 0   ? QString()
                             : selected == 1 ? QStringLiteral("1 spot selected")
                                             : QStringLiteral("%1 spots selected").arg(selected));
}

void MapOverviewWindow::selectSpots(const std::vector<std::int32_t>& spotids) {
    reportErrors(this, [&] {
        surface_->selectSpots(spotids, false);
        showSelectionSize();
    });
}

void MapOverviewWindow::selectAllShown() {
    reportErrors(this, [&] {
        surface_->selectAll();
        showSelectionSize();
    });
}

void MapOverviewWindow::clearSelection() {
    reportErrors(this, [&] {
        surface_->clearSelection();
        showSelectionSize();
    });
}

void MapOverviewWindow::selectMonsterSpots(std::int32_t monsterid) {
    std::vector<std::int32_t> spots;
    for (const SpawnEntry& spot : surface_->spots())
        if (spot.monsterid == monsterid) spots.push_back(spot.spotid);
    selectSpots(spots);
}

// One spot moves as a drag moves it, by its own step; many by one step together.
void MapOverviewWindow::moveSelected(int dx, int dy) {
    reportErrors(this, [&] {
        const std::vector<SpawnEntry> selected = surface_->selectedEntries();
        const QPoint step = groupStep(selected, dx, dy);
        if (step.isNull()) return;
        if (selected.size() == 1)
            document_.changeSpot(selected.front().spotid, nudged(selected.front(), step.x(), step.y()),
                                 QStringLiteral("move"));
        else
            document_.changeSpots(movedBy(selected, step.x(), step.y()),
                                  QStringLiteral("move ") + spotsText(selected.size()));
        // The current spot stays in view; a selection without one (a box's) stays as it is.
        if (const std::int32_t current = surface_->selectedSpot(); current >= 0) highlightSpot(current);
    });
}

void MapOverviewWindow::deleteSelected() {
    reportErrors(this, [&] {
        const std::vector<std::int32_t> selected = surface_->selectedSpots();
        if (selected.size() == 1)
            document_.deleteSpot(selected.front());
        else if (!selected.empty())
            document_.deleteSpots(selected, QStringLiteral("delete ") + spotsText(selected.size()));
    });
}

void MapOverviewWindow::setCountOfSelected(int count) {
    reportErrors(this, [&] {
        std::vector<SpawnEntry> ranges;
        for (SpawnEntry spot : surface_->selectedEntries()) {
            if (spot.ispoint) continue;
            spot.count = static_cast<std::uint8_t>(std::clamp(count, 0, 255));
            ranges.push_back(spot);
        }
        const QString what = ranges.size() == 1 ? QStringLiteral("set the count of 1 range on map %1 to %2")
                                                : QStringLiteral("set the count of %3 ranges on map %1 to %2");
        document_.changeSpots(ranges, what.arg(map_).arg(count).arg(ranges.size()));
    });
}

void MapOverviewWindow::setDirectionOfSelected(std::int32_t dir) {
    reportErrors(this, [&] {
        std::vector<SpawnEntry> spots = surface_->selectedEntries();
        for (SpawnEntry& spot : spots) spot.dir = dir;
        document_.changeSpots(spots, QStringLiteral("set the direction of %1 to %2").arg(spotsText(spots.size())).arg(dir));
    });
}

void MapOverviewWindow::askCountOfSelected() {
    reportErrors(this, [&] {
        const std::vector<SpawnEntry> selected = surface_->selectedEntries();
        const auto range = std::find_if(selected.begin(), selected.end(), [](const SpawnEntry& s) { return !s.ispoint; });
        if (range == selected.end()) return;
        const int ranges = selectedRanges();
        const std::optional<int> count = messageBoxes().askNumber(
            this, QStringLiteral("Monster count"),
            ranges == 1 ? QStringLiteral("Monsters in the selected range:")
                        : QStringLiteral("Monsters in each of the %1 selected ranges:").arg(ranges),
            range->count, 0, 255);
        if (count) setCountOfSelected(*count);
    });
}

void MapOverviewWindow::askDirectionOfSelected() {
    reportErrors(this, [&] {
        const std::vector<SpawnEntry> selected = surface_->selectedEntries();
        if (selected.empty()) return;
        QStringList names;
        for (const char* name : kDirectionNames) names << QString::fromLatin1(name);
        const auto first = std::find(std::begin(kDirections), std::end(kDirections), selected.front().dir);
        const std::optional<int> chosen = messageBoxes().askChoice(
            this, QStringLiteral("Face direction"),
            selected.size() == 1 ? QStringLiteral("Direction of the selected spot:")
                                 : QStringLiteral("Direction of each of the %1 selected spots:").arg(selected.size()),
            names, first == std::end(kDirections) ? 0 : static_cast<int>(first - std::begin(kDirections)));
        if (chosen) setDirectionOfSelected(kDirections[*chosen]);
    });
}

void MapOverviewWindow::copySelected() {
    reportErrors(this, [&] {
        const std::vector<SpawnEntry> selected = inFileOrder(surface_->selectedEntries());
        if (selected.empty()) return;
        QGuiApplication::clipboard()->setText(QString::fromLatin1(spawnLinesText(selected)));
    });
}

bool MapOverviewWindow::clipboardHasText() const { return !QGuiApplication::clipboard()->text().isEmpty(); }

std::optional<QPoint> MapOverviewWindow::cellUnderPointer() const {
    const QPoint inView = mapArea_->viewport()->mapFromGlobal(QCursor::pos());
    if (!mapArea_->viewport()->rect().contains(inView)) return std::nullopt;
    const QPoint pixel = surface_->mapFrom(mapArea_->viewport(), inView);
    if (!surface_->rect().contains(pixel)) return std::nullopt;
    const QPoint cell = cellUnder(pixel, surface_->zoom());
    return QPoint(std::clamp(cell.x(), 0, kMapCells - 1), std::clamp(cell.y(), 0, kMapCells - 1));
}

void MapOverviewWindow::pasteAtPointer() { paste(cellUnderPointer()); }
void MapOverviewWindow::pasteForMonsterAtPointer() { pasteForMonster(cellUnderPointer()); }

void MapOverviewWindow::pasteForMonster(std::optional<QPoint> cell) {
    reportErrors(this, [&] {
        // The lines are read first: what they hold decides, not the monster chosen.
        const std::vector<SpawnEntry> spots = clipboardSpots(document_.monsters());
        const MonsterTable& monsters = document_.monsters();
        QStringList names;
        int current = 0;
        for (int i = 0; i < monsters.monstercount; ++i) {
            const MonsterDataRecord& monster = monsters.monsters[static_cast<std::size_t>(i)];
            if (monster.id == spots.front().monsterid && current == 0) current = i;
            names << QString::number(monster.id) + QLatin1Char(' ') + textFromBytes(monster.name);
        }
        const std::optional<int> chosen = messageBoxes().askChoice(
            this, QStringLiteral("Paste for monster"),
            QStringLiteral("Paste the %1 for this monster:").arg(spotsText(spots.size())), names, current);
        if (chosen) paste(cell, monsters.monsters[static_cast<std::size_t>(*chosen)].id);
    });
}

void MapOverviewWindow::paste(std::optional<QPoint> cell, std::optional<std::int32_t> monster) {
    reportErrors(this, [&] {
        std::vector<SpawnEntry> spots = clipboardSpots(document_.monsters());
        if (monster)
            for (SpawnEntry& spot : spots) spot.monsterid = *monster;
        const CellBox group = *groupBox(spots);
        const QPoint corner = cell.value_or(QPoint(group.x0, group.y1));
        const std::optional<std::vector<SpawnEntry>> placed = placedAt(spots, map_, corner);
        if (!placed) {
            throw TableError(QStringLiteral("%1 %2 by %3 cells: with their upper left corner at %4,%5 they "
                                            "would reach past the edge of the map. Nothing was pasted; paste them "
                                            "nearer the middle.")
                                 .arg(spots.size() == 1 ? QStringLiteral("The spot covers")
                                                      : QStringLiteral("The %1 spots cover").arg(spots.size()))
                                 .arg(group.x1 - group.x0 + 1)
                                 .arg(group.y1 - group.y0 + 1)
                                 .arg(corner.x())
                                 .arg(corner.y())
                                 .toStdString());
        }
        // Spots of a monster ticked off would be pasted out of sight.
        std::vector<std::int32_t> pastedMonsters;
        for (const SpawnEntry& spot : *placed) pastedMonsters.push_back(spot.monsterid);
        const std::vector<std::int32_t> pasted =
            document_.appendSpots(*placed, QStringLiteral("paste ") + spotsText(placed->size()));
        monsterRows_->setShown(pastedMonsters, true);
        surface_->selectSpots(pasted, false);
        showSelectionSize();
    });
}

// A step of many spots: when they all stay drawn where they were in the drawing order
// (moved, their count or direction set), only they are drawn again; else the map's spots
// are taken afresh.
void MapOverviewWindow::manySpotsChanged(const std::vector<SpotChange>& changes) {
    reportErrors(this, [&] {
        std::vector<SpawnEntry> stayed;
        std::vector<SpawnEntry> places;  // as they were and are, where they are on this map
        bool inPlace = true;
        bool counted = false;  // the side list's numbers change
        for (const SpotChange& change : changes) {
            const bool was = change.before.spotid != -1 && change.before.mapnumber == map_;
            const bool is = change.after.spotid != -1 && change.after.mapnumber == map_;
            if (!was && !is) continue;
            if (was) places.push_back(change.before);
            if (is) places.push_back(change.after);
            if (!was || !is || change.before.monsterid != change.after.monsterid ||
                change.before.ispoint != change.after.ispoint) {
                inPlace = false;
                continue;
            }
            counted = counted || change.before.count != change.after.count;
            if (surface_->findSpot(change.after.spotid)) stayed.push_back(change.after);
        }
        if (places.empty()) return;
        if (!inPlace || counted) refreshMonsterRows();
        if (!inPlace || !surface_->replaceSpots(stayed)) surface_->setSpots(drawnSpots(), places);
        showSelectionSize();
    });
}
