#pragma once
// The order in which Tab visits the controls of a window, as they stand on the
// screen: each widget of the list follows the one before it.
//
// A page control (QTabWidget) in the list is given by its tab bar; the page control
// itself is taken out of the order, or Tab would stop at it for its tab bar (and
// setTabOrder would move its pages along with it).
//
// Keyboard: each window sets the order Tab takes with `setTabChain` (ui/TabChain.h), from the
// pages' own `tabChain()`; a page control is given by its tab bar and taken out of the order
// itself, or Tab would stop at it and setTabOrder would carry its pages along. Radio groups stop
// Tab at their chosen button (`tabToCheckedButton`). Title strip buttons have `Qt::NoFocus`. Enter
// and Escape of the stats page's edit state are its `keyPressEvent`, which fields reach by passing
// Enter on (a SpinField takes in the typed value first); a group box keeps the keys that press
// buttons on the desktop for itself (Enter on a GTK desktop), so the page's group boxes hand Enter
// and Escape to the same handling (`editKey`). Ctrl+S (the page shown's file), Ctrl+M (the map
// overview, on "Monster Position") and F2 (">Edit Selected") are `QShortcut`s of the main window;
// the dialog, the preview and the overview have a Ctrl+S of their own for the spawn file
// (`installSaveKey`). The undo and redo keys (`installHistoryKeys`, ui/HistoryMarks.h) are each
// window's; a text or number field keeps them only while it has typing of its own to take back or
// bring again (one application-wide filter of `ShortcutOverride`). A list's filter field
// (ui/ListFilter.h) chooses the first row it leaves, or none (the pages then show no monster and
// turn off what needs one); Down goes into the list, Enter chooses. The map overview starts with
// the keyboard on its map, where the arrow keys move the selected spot; Escape, Ctrl+W and Alt+F4
// close it.

#include <QAbstractButton>
#include <QButtonGroup>
#include <QList>
#include <QTabBar>
#include <QTabWidget>
#include <QWidget>

inline void setTabChain(const QList<QWidget*>& chain) {
    for (QWidget* widget : chain) {
        auto* pages = qobject_cast<QTabWidget*>(widget->parentWidget());
        if (!pages || pages->tabBar() != widget) continue;
        // Tab would stop at the page control for its tab bar, its focus proxy.
        pages->setFocusProxy(nullptr);
        pages->setFocusPolicy(Qt::NoFocus);
    }
    for (qsizetype i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

// Tab stops at the chosen button of a group of radio buttons (the arrows move within
// the group), wherever that is.
inline void tabToCheckedButton(QButtonGroup* group) {
    const auto follow = [group] {
        for (QAbstractButton* button : group->buttons())
            button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    };
    follow();
    QObject::connect(group, &QButtonGroup::buttonToggled, group, follow);
}
