#pragma once
// A list's menu of what can be done with its rows, each action with its key beside it.
//
// Context menus (ui/ListMenu.h) open on a right click, the Menu key and Shift+F10; their items
// (app/ProgramMenus.cpp) name the key of each action from the table of keys (ui/ProgramKeys.h),
// whose shortcuts belong to the windows.

#include <functional>

#include <QList>
#include <QString>

#include "ProgramKeys.h"

class QAbstractItemView;
class QMenu;
class QWidget;
class QPoint;

struct MenuItem {
    QString text;  // empty: a separator
    KeyAction key = KeyAction::None;
    std::function<void()> run;
    bool enabled = true;
    QString keys{};  // without a key action: a key the control handles itself ("Esc")
};

// The menu of these items; a chosen item's run is the caller's to call.
QMenu* makeMenu(QWidget* parent, const QList<MenuItem>& items);

// A right click on the list (which first selects the row under the pointer, as any
// click does), the Menu key and Shift+F10 open a menu of what items gives at that
// moment, by the pointer or by the current row. The chosen item runs after the menu
// has closed.
void installListMenu(QAbstractItemView* list, std::function<QList<MenuItem>()> items);

// The same on any widget: a right click, the Menu key and Shift+F10 open a menu of what
// items gives for the place it opens at, in the widget's pixels: the pointer's for a
// click (byMouse), keyboardPlace's for a key.
void installMenu(QWidget* widget, std::function<QList<MenuItem>(QPoint at, bool byMouse)> items,
                 std::function<QPoint()> keyboardPlace);
