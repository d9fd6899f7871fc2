#pragma once
// What the context menus offer: the actions of the place they open on, each with its key.

#include <functional>

#include <QList>
#include <QPoint>

#include "ListMenu.h"

class AddSpotDialog;
class EditorDocument;
class MainWindow;
class MapOverviewWindow;
class QTreeView;

// What the menus act on, handed in by whoever makes the windows: the menus know the
// windows they open or change, never the one that made them.
struct MenuTargets {
    EditorDocument* document;
    MainWindow* mainWindow;
    AddSpotDialog* addSpotDialog;
    std::function<MapOverviewWindow&()> mapOverview;  // made when first asked for
    std::function<void()> showHistory;
    std::function<void()> showKeyList;
};

// The stats page's monster list.
QList<MenuItem> monsterListMenu(const MenuTargets& targets);
// The spawn page's monster list, and its point and range lists.
QList<MenuItem> spawnMonsterListMenu(const MenuTargets& targets);
QList<MenuItem> spotListMenu(const MenuTargets& targets, QTreeView* list);
// The overview's map, opened at this pixel of it (a click's; the keyboard's is where
// the current spot or the middle of the view is, and pastes at the pointer's cell).
QList<MenuItem> overviewMapMenu(const MenuTargets& targets, QPoint at, bool byMouse);
// The overview's side list of monsters.
QList<MenuItem> overviewMonsterMenu(const MenuTargets& targets);
