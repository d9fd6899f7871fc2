#pragma once
// Every key of the program, in one table: the shortcuts are made from it, the buttons
// name their keys in their tooltips from it, and the key list (F1) shows it, so the
// three cannot disagree.
//
// Keys you can find (ui/ProgramKeys.h): one table lists every key of the program by the window
// where it acts, with what it does and the buttons that do the same. Every `QShortcut` is made from
// it (`makeShortcut`: Ctrl+S, Ctrl+M, F2, Ctrl+W, Ctrl+T, the monster table window's Ctrl+E,
// Ctrl+C, Ctrl+V, Ctrl+Space and Ctrl+F, the undo and redo keys of `installHistoryKeys`, and F1,
// Ctrl+H and Ctrl+Shift+D, application shortcuts of the main window, which act in every window);
// the keys that controls handle themselves (Enter, Escape, the arrows) are rows without a shortcut.
// The key list (F1, app/KeyListWindow.h) shows the table; `nameKeysInToolTips`, which EditorWindows
// runs over each window it makes, adds a row's keys to the tooltips of its buttons ("Close Map
// Preview (Esc)"), and `showHistoryOn` starts a save button's tooltip with what it saves and its
// key. A test walks every window's `QShortcut`s against the table, both ways;
// tests/support/under_gtk_theme.sh runs the close question's and the keyboard's tests again under
// the GTK platform theme on a virtual X server. A list's menu (ui/ListMenu.h, `installListMenu`)
// opens at a right click, the Menu key (the windowing system sends it as a context-menu request)
// and Shift+F10, and shows each item's key beside it as menus show shortcuts, while the shortcut
// itself stays the window's; what the stats page's monster list offers is composed in
// app/ProgramMenus.cpp from the pages', the document's and EditorWindows' public operations.

#include <initializer_list>
#include <span>

#include <QKeySequence>
#include <QList>
#include <QString>

class QShortcut;
class QWidget;

// Where a key acts; the key list shows one group for each, in this order.
enum class KeyPlace {
    Everywhere,
    EditingWindows,  // the main window, the add-location dialog, the map preview, the map overview,
                     // the monster table, the balance chart
    MainWindow,
    StatsPage,
    SpawnPage,
    AddSpotDialog,
    MapPreview,
    MapOverview,
    MonsterTable,
    BalanceChart,
    HistoryWindow,
    KeyList,
    ReviewWindow,
    CloseQuestion,
};

// What a shortcut of the program does; None for a key a control handles itself.
enum class KeyAction {
    None, Save, Undo, Redo, ShowHistory, ShowKeys, EditMonster, Overview, CloseWindow,
    OpenMonsterTable, ChangeCells, CopyCells, PasteCells, SelectColumn, FindMonster,
    SelectAllSpots, DeleteSpots, CopySpots, PasteSpots, PasteSpotsForMonster, OpenBalanceChart, ReviewSave,
};

struct ProgramKey {
    KeyPlace place;
    KeyAction action;
    const char* keys;     // portable key text, alternatives separated by "; "
    const char* shown;    // what the key list shows instead of the keys, or nullptr
    const char* does;
    const char* buttons;  // object names, separated by blanks, of buttons that do the same
};

std::span<const ProgramKey> programKeys();
QString placeName(KeyPlace place);

// The keys of an action, as its shortcut takes them.
QList<QKeySequence> keysOf(KeyAction action);
// The keys as the desktop writes them: "Ctrl+Shift+Z, Ctrl+Y".
QString keyText(const QList<QKeySequence>& keys);
QString keyText(const ProgramKey& key);
// "Save data/monster.txt (Ctrl+S)".
QString withKeys(const QString& text, KeyAction action);

// A shortcut of the window with the action's keys.
QShortcut* makeShortcut(QWidget* window, KeyAction action, Qt::ShortcutContext context = Qt::WindowShortcut);

// Adds its keys to the tooltip of every button of the window that a row of these places
// names (its accessible name, else its caption, stands in for a tooltip it lacks). A
// tooltip that names the keys already stays as it is.
void nameKeysInToolTips(QWidget* window, std::initializer_list<KeyPlace> places);
