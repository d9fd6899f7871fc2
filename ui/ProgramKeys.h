#pragma once
// Every key of the program, in one table: the shortcuts are made from it, the buttons
// name their keys in their tooltips from it, and the key list (F1) shows it, so the
// three cannot disagree.

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
