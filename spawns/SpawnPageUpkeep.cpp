// The spawn page's upkeep: its monster icons, map list and spot lists kept to what the
// document holds after every change, whoever made it (the page, the dialog, the map
// overview, undo or redo). A change to another monster's spots only changes that
// monster's icon; the page goes on showing what it showed.

#include "SpawnPage.h"

#include <array>
#include <map>
#include <set>

#include <QScopedValueRollback>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>

#include "EditorDocument.h"
#include "ErrorReport.h"
#include "ReportList.h"
#include "SpawnRows.h"

// Every row of the monster: a number listed twice shows the same spots twice.
void SpawnPage::setMonsterIcons(std::int32_t number, bool hasSpots) {
    for (int row = 0; row < monsterRows_->rowCount(); ++row)
        if (monsterRows_->number(row) == number) monsterRows_->setHasSpots(row, hasSpots);
}

bool SpawnPage::showsMonster(std::int32_t number) const {
    return selectedMonsterIndex() >= 0 && selectedMonsterNumber() == number;
}

// The maps in the order of the monster's first spot on each, as the work list holds them.
void SpawnPage::listMonsterMaps(std::int32_t monsterid) {
    work_.getWorkLocations(document_.spawns(), monsterid, -1);
    mapLabel_->setEnabled(false);
    mapCombo_->clear();
    std::array<bool, 256> listed{};
    QStringList texts;
    for (int i = 0; i < work_.count; ++i) {
        const int map = work_.entries[static_cast<std::size_t>(i)].mapnumber;
        if (listed[map]) continue;
        listed[map] = true;
        texts << QString::number(map);
    }
    if (texts.isEmpty()) return;
    mapCombo_->addItems(texts);
    mapLabel_->setEnabled(true);
}

// As a list's clear: the selection goes first, and its change is told.
void SpawnPage::clearSpotLists() {
    for (QTreeView* list : {rangeSpotList_, pointSpotList_}) list->selectionModel()->clear();
    rangeRows_->clear();
    pointRows_->clear();
}

void SpawnPage::fillSpotLists() {
    // A map change run from the pending events of this one has filled the lists
    // already, from the same work list; start afresh rather than list every spot twice.
    clearSpotLists();
    std::vector<SpawnEntry> points;
    std::vector<SpawnEntry> ranges;
    for (const SpawnEntry& e : spots()) {
        if (e.spotid == -1) continue;
        (e.ispoint ? points : ranges).push_back(e);
    }
    pointRows_->setRows(std::move(points));
    rangeRows_->setRows(std::move(ranges));
}

bool SpawnPage::updateSpotLists() {
    std::vector<SpawnEntry> points;
    std::vector<SpawnEntry> ranges;
    for (const SpawnEntry& e : spots()) {
        if (e.spotid == -1) continue;
        (e.ispoint ? points : ranges).push_back(e);
    }
    return pointRows_->extendsRows(points) && rangeRows_->extendsRows(ranges) && pointRows_->updateRows(points) &&
           rangeRows_->updateRows(ranges);
}

// The shown monster's maps listed afresh, with this map chosen when it is listed, else
// the first; its spots there fill the lists.
void SpawnPage::showMonsterOnMap(int map) {
    listMonsterMaps(selectedMonsterNumber());
    if (mapCombo_->count() == 0) {
        work_.count = 0;
        if (preview_) preview_->setPictureVisible(false);
        clearSpotLists();
        return;
    }
    const int listed = mapCombo_->findText(QString::number(map));
    mapCombo_->setCurrentIndex(listed >= 0 ? listed : 0);
    mapStep();
}

void SpawnPage::showListPageOf(const SpawnEntry& entry) {
    if (entry.ispoint)
        showPointListPage();
    else
        showRangeListPage();
}

// A spot of the shown monster that comes (Create, or undo and redo) is shown on its map.
void SpawnPage::spotAdded(const SpawnEntry& entry) {
    reportErrors(this, [&] {
        setMonsterIcons(entry.monsterid, true);
        if (!showsMonster(entry.monsterid)) return;
        showMonsterOnMap(entry.mapnumber);
        showListPageOf(entry);
    });
}

// "Create" for another monster than the one shown still chooses the new spot's map in
// the map list, as "Create" always did: none, when the shown monster has no spot there.
void SpawnPage::spotCreated(const SpawnEntry& entry) {
    reportErrors(this, [&] {
        if (showsMonster(entry.monsterid)) return;  // shown as it came
        selectMapText(QString::number(entry.mapnumber));
        mapStep();
        showListPageOf(entry);
    });
}

// A listed spot leaves its list; the first row left is selected, and a map left without
// spots leaves the map list. The preview stops drawing it; its monster's icon says
// whether any spot is left. A spot of the shown monster on another map only takes its
// map off the list when it was the last there.
void SpawnPage::spotDeleted(const SpawnEntry& entry) {
    reportErrors(this, [&] {
        forgetShownSpot(entry.spotid);
        setMonsterIcons(entry.monsterid, hasLiveSpot(document_.spawns(), entry.monsterid));
        if (!showsMonster(entry.monsterid)) return;
        QTreeView* list = entry.ispoint ? pointSpotList_ : rangeSpotList_;
        QTreeView* other = entry.ispoint ? rangeSpotList_ : pointSpotList_;
        QPushButton* deleteButton = entry.ispoint ? deletePointButton_ : deleteRangeButton_;
        auto* rows = static_cast<SpotRows*>(list->model());
        const int row = rows->rowOf(entry.spotid);
        if (row < 0) {
            forgetMapWithoutSpots(entry.mapnumber);
            return;
        }
        rows->removeRow(row);
        if (selectRow(list, 0)) return;
        deleteButton->setEnabled(false);
        if (other->model()->rowCount() > 0) return;  // the map keeps spots of the other kind
        if (mapCombo_->currentIndex() >= 0) mapCombo_->removeItem(mapCombo_->currentIndex());
        mapCombo_->setCurrentIndex(-1);
        if (mapCombo_->count() > 0) return;
        mapCombo_->clear();
    });
}

// A map of the shown monster, not the chosen one, leaves the map list once the monster
// has no spot left on it; the chosen map stays chosen.
void SpawnPage::forgetMapWithoutSpots(int map) {
    const QString text = QString::number(map);
    const int item = mapCombo_->findText(text);
    if (item < 0 || item == mapCombo_->currentIndex()) return;
    const SpawnTable& spawns = document_.spawns();
    const std::int32_t monster = selectedMonsterNumber();
    for (int i = 0; i < spawns.count; ++i) {
        const SpawnEntry& spot = spawns.entries[static_cast<std::size_t>(i)];
        if (spot.spotid != -1 && spot.monsterid == monster && spot.mapnumber == map) return;
    }
    mapCombo_->removeItem(item);
    if (mapCombo_->count() == 0) mapLabel_->setEnabled(false);
}

// The copy the preview draws of a spot that is gone.
void SpawnPage::forgetShownSpot(std::int32_t spotid) {
    for (int i = 0; i < work_.count; ++i) {
        SpawnEntry& shown = work_.entries[static_cast<std::size_t>(i)];
        if (shown.spotid != spotid) continue;
        shown.spotid = -1;
        if (preview_ && preview_->isVisible()) preview_->update();
    }
}

// A spot given new values. When it stays on its map with its monster, the lists of that
// map are shown afresh with it selected. When it goes to another map (or monster), the
// page follows it there if it shows the spot's monster; a monster the spot left is
// shown on the map it was shown on while it still has spots there.
void SpawnPage::spotChanged(const SpawnEntry& before, const SpawnEntry& after) {
    reportErrors(this, [&] {
        if (before.monsterid != after.monsterid) {
            setMonsterIcons(before.monsterid, hasLiveSpot(document_.spawns(), before.monsterid));
            setMonsterIcons(after.monsterid, true);
        }
        const bool stays = before.monsterid == after.monsterid && before.mapnumber == after.mapnumber;
        const QString shownMap = mapCombo_->currentText();
        if (showsMonster(after.monsterid)) {
            if (stays && shownMap != QString::number(after.mapnumber)) return;  // on a map not shown
            showMonsterOnMap(after.mapnumber);
            showSpot(after.spotid);
        } else if (showsMonster(before.monsterid)) {
            showMonsterOnMap(shownMap.isEmpty() ? -1 : shownMap.toInt());
        }
    });
}

void SpawnPage::showSpot(std::int32_t spotid) {
    for (QTreeView* list : {pointSpotList_, rangeSpotList_}) {
        const int row = static_cast<SpotRows*>(list->model())->rowOf(spotid);
        if (row < 0) continue;
        spotPages_->setCurrentWidget(list == pointSpotList_ ? pointPage_ : rangePage_);
        selectRow(list, row);
        list->scrollTo(list->model()->index(row, 0));
        return;
    }
}

void SpawnPage::goToSpot(std::int32_t spotid) {
    reportErrors(this, [&] {
        const SpawnEntry* live = document_.spawns().liveSpot(spotid);
        if (!live) return;
        const SpawnEntry& spot = *live;
        if (!showsMonster(spot.monsterid)) {
            selectMonsterIndex(monsterIndexOf(spot.monsterid));
            monsterStep();
        }
        if (mapCombo_->currentText() != QString::number(spot.mapnumber)) {
            selectMapText(QString::number(spot.mapnumber));
            mapStep();
        }
        showSpot(spotid);
    });
}

// The spot selected in the list shown, or -1.
std::int32_t SpawnPage::selectedSpotShown() const {
    QTreeView* list = spotPages_->currentWidget() == pointPage_ ? pointSpotList_ : rangeSpotList_;
    const int row = selectedRow(list);
    return row < 0 ? -1 : static_cast<SpotRows*>(list->model())->entry(row).spotid;
}

// A monster that gained a live spot has one; a monster that lost one is looked up once
// for all. A spot that stays its monster's (moved, its count set) changes no icon.
void SpawnPage::setIconsAfter(const std::vector<SpotChange>& changes) {
    std::map<std::int32_t, bool> icons;  // monster, has spots
    std::set<std::int32_t> lost;
    for (const SpotChange& change : changes) {
        const bool was = change.before.spotid != -1;
        const bool is = change.after.spotid != -1;
        if (was && is && change.before.monsterid == change.after.monsterid) continue;
        if (is) icons[change.after.monsterid] = true;
        if (was) lost.insert(change.before.monsterid);
    }
    for (const auto& [monster, hasSpots] : icons) lost.erase(monster);
    if (!lost.empty()) {
        const SpawnTable& spawns = document_.spawns();
        for (const std::int32_t monster : lost) icons[monster] = false;
        for (int i = 0; i < spawns.count; ++i) {
            const SpawnEntry& spot = spawns.entries[static_cast<std::size_t>(i)];
            if (spot.spotid != -1 && lost.contains(spot.monsterid)) icons[spot.monsterid] = true;
        }
    }
    if (icons.empty()) return;
    for (int row = 0; row < monsterRows_->rowCount(); ++row) {
        const auto found = icons.find(monsterRows_->number(row));
        if (found != icons.end()) monsterRows_->setHasSpots(row, found->second);
    }
}

// Many spots at once (the overview's selection, a paste, their undo): the icons, and the
// shown monster's lists made again once. Spots of the shown monster that arrive on
// another map take the page there, as one spot's arrival does; otherwise the page stays
// on its map with its row selected, unless the map has no spot of the monster left.
void SpawnPage::spotsChanged(const std::vector<SpotChange>& changes) {
    reportErrors(this, [&] {
        for (const SpotChange& change : changes)
            if (change.after.spotid == -1) forgetShownSpot(change.before.spotid);
        setIconsAfter(changes);
        if (selectedMonsterIndex() < 0) return;
        const std::int32_t monster = selectedMonsterNumber();
        const QString shownMap = mapCombo_->currentText();
        const SpotChange* arrived = nullptr;
        bool touched = false;
        // Every spot of the monster touched is still there, on its map, or new on the map
        // shown: the lists keep their rows, and gain the new ones below them.
        bool stayed = true;
        for (const SpotChange& change : changes) {
            const bool was = change.before.spotid != -1 && change.before.monsterid == monster;
            const bool is = change.after.spotid != -1 && change.after.monsterid == monster;
            touched = touched || was || is;
            if (was || is)
                stayed = stayed && is &&
                         (was ? change.before.mapnumber == change.after.mapnumber
                              : QString::number(change.after.mapnumber) == shownMap);
            if (is && !arrived && (!was || change.before.mapnumber != change.after.mapnumber) &&
                QString::number(change.after.mapnumber) != shownMap)
                arrived = &change;
        }
        if (!touched) return;
        if (arrived) {
            showMonsterOnMap(arrived->after.mapnumber);
            showListPageOf(arrived->after);
            return;
        }
        if (stayed && mapCombo_->currentIndex() >= 0) {
            // The rows updated in place: the lists keep their selection and scroll.
            work_.getWorkLocations(document_.spawns(), monster, shownMap.toInt());
            if (updateSpotLists()) {
                if (preview_ && preview_->isVisible()) preview_->update();
                return;
            }
        }
        const std::int32_t selected = selectedSpotShown();
        listMonsterMaps(monster);
        const int item = mapCombo_->findText(shownMap);
        mapCombo_->setCurrentIndex(item);
        if (item < 0) {  // as after deleting its last spot there: no map chosen
            work_.count = 0;
            clearSpotLists();
        } else {
            work_.getWorkLocations(document_.spawns(), monster, shownMap.toInt());
            fillSpotLists();
            const QScopedValueRollback quiet(quietSpotSelection_, true);
            if (selected >= 0) showSpot(selected);
        }
        if (preview_ && preview_->isVisible()) preview_->update();
    });
}
