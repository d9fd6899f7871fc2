#pragma once
// What the context menus offer: the actions of the place they open on, each with its key.

#include <QList>
#include <QPoint>

#include "ListMenu.h"

class EditorWindows;
class QTreeView;

// The stats page's monster list.
QList<MenuItem> monsterListMenu(EditorWindows& windows);
// The spawn page's monster list, and its point and range lists.
QList<MenuItem> spawnMonsterListMenu(EditorWindows& windows);
QList<MenuItem> spotListMenu(EditorWindows& windows, QTreeView* list);
// The overview's map, opened at this pixel of it (a click's; the keyboard's is where
// the current spot or the middle of the view is, and pastes at the pointer's cell).
QList<MenuItem> overviewMapMenu(EditorWindows& windows, QPoint at, bool byMouse);
// The overview's side list of monsters.
QList<MenuItem> overviewMonsterMenu(EditorWindows& windows);
