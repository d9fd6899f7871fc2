#pragma once
// What the lists' menus offer: the actions of the list's window, each with its key.

#include <QList>

#include "ListMenu.h"

class EditorWindows;

// The stats page's monster list.
QList<MenuItem> monsterListMenu(EditorWindows& windows);
