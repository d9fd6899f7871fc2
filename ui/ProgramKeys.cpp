#include "ProgramKeys.h"

#include <algorithm>

#include <QAbstractButton>
#include <QShortcut>
#include <QWidget>

namespace {

using enum KeyPlace;
using enum KeyAction;

constexpr ProgramKey kKeys[] = {
    {Everywhere, ShowKeys, "F1", nullptr, "this list of keys", nullptr},
    {Everywhere, ShowHistory, "Ctrl+H", nullptr, "the history of both files: go back or forward to any step", nullptr},
    {Everywhere, ReviewSave, "Ctrl+Shift+D", nullptr,
     "review the save: what it would change in each file with unsaved changes, and the problems of what it would "
     "write",
     nullptr},
    {Everywhere, None, "Tab; Shift+Tab", nullptr, "the next or the previous control", nullptr},
    {EditingWindows, Undo, "Ctrl+Z", nullptr,
     "undo the last change (on Monster Stats and in the monster table of monster.txt, elsewhere of Quarnel.txt)",
     nullptr},
    {EditingWindows, Redo, "Ctrl+Shift+Z; Ctrl+Y", nullptr, "redo the change undone last", nullptr},
    {MainWindow, Save, "Ctrl+S", nullptr, "save the file of the page shown", "SpeedButton8 SpeedButton1"},
    {MainWindow, None, "Ctrl+Tab; Ctrl+Shift+Tab", nullptr, "the other page", nullptr},
    {MainWindow, OpenMonsterTable, "Ctrl+T", nullptr, "the monster table: every monster in one grid",
     "MonsterTableButton"},
    {MainWindow, OpenBalanceChart, "Ctrl+G", nullptr, "the balance chart: a column of every monster against its level",
     nullptr},
    {StatsPage, EditMonster, "F2", nullptr, "edit the selected monster", "Button1"},
    {StatsPage, None, "Enter", nullptr, "in the edit state: \"OK\" (with the focus on \"Cancel\": \"Cancel\")",
     "Button3"},
    {StatsPage, None, "Esc", nullptr, "in the edit state: \"Cancel\"; in the find field: empty it", "Button2"},
    {StatsPage, None, "Menu; Shift+F10", nullptr, "the monster list's menu", nullptr},
    {StatsPage, None, "Down; Enter", nullptr, "in the find field: into the list; choose the monster found", nullptr},
    {SpawnPage, Overview, "Ctrl+M", nullptr, "the map overview on the chosen map", "OverviewButton"},
    {SpawnPage, None, "Up; Down", nullptr, "in \"MapNumber\": the previous or the next map", nullptr},
    {SpawnPage, None, "Enter", nullptr, "in the monster list: show the monster afresh", nullptr},
    {SpawnPage, None, "Space", nullptr, "in a spot list: select the row with the focus", nullptr},
    {SpawnPage, None, "Esc", nullptr, "in the find field: empty it", nullptr},
    {SpawnPage, None, "Menu; Shift+F10", nullptr, "the menu of the monster list or of a spot list", nullptr},
    {SpawnPage, None, "Down; Enter", nullptr, "in the find field: into the list; choose the monster found", nullptr},
    {AddSpotDialog, Save, "Ctrl+S", nullptr, "save data/Quarnel.txt", nullptr},
    {AddSpotDialog, None, "Esc", nullptr, "close the dialog and the preview, back to the main window", "SpeedButton4"},
    {AddSpotDialog, None, "Space", nullptr, "press the button with the focus (Enter never creates a spot)", nullptr},
    {MapPreview, Save, "Ctrl+S", nullptr, "save data/Quarnel.txt", nullptr},
    {MapPreview, None, "Esc", nullptr, "close the preview, back to the main window", "SpeedButton4"},
    {MapPreview, None, "", "Ctrl+Wheel", "zoom in or out, keeping the cell under the pointer there",
     nullptr},
    {MapOverview, None, "", "Click", "select the spot alone; on a spot of the selection: drag them all", nullptr},
    {MapOverview, None, "", "Ctrl+Click, Shift+Click", "add the spot to the selection, or take it out", nullptr},
    {MapOverview, None, "", "Drag on the empty map",
     "select the spots inside the box (with Ctrl or Shift: add them)", nullptr},
    {MapOverview, SelectAllSpots, "Ctrl+A", nullptr, "select every spot shown on the map", nullptr},
    {MapOverview, None, "Left; Right; Up; Down", "Arrow keys",
     "move the selected spots one cell; all stop together at the map's edge", nullptr},
    {MapOverview, None, "Shift+Left; Shift+Right; Shift+Up; Shift+Down", "Shift+Arrow keys",
     "move the selected spots ten cells", nullptr},
    {MapOverview, DeleteSpots, "Del", nullptr, "delete the selected spots", nullptr},
    {MapOverview, CopySpots, "Ctrl+C", nullptr,
     "copy the selected spots, as lines of the spawn file for a text editor too", nullptr},
    {MapOverview, PasteSpots, "Ctrl+V", nullptr,
     "paste the spots copied (or spawn-file lines) with their upper left corner at the cell under the pointer; "
     "away from the map: at their own cells",
     nullptr},
    {MapOverview, PasteSpotsForMonster, "Ctrl+Shift+V", nullptr, "paste them for a monster you choose", nullptr},
    {MapOverview, None, "", "Wheel, Ctrl+Wheel", "zoom in or out, keeping the cell under the pointer there",
     nullptr},
    {MapOverview, None, "", "Shift+Wheel, Alt+Wheel", "scroll the map up and down, or sideways", nullptr},
    {MapOverview, None, "Menu; Shift+F10", nullptr, "the menu of the map or of the monster list", nullptr},
    {MapOverview, None, "Esc", nullptr,
     "while dragging: leave the spots where they were; else clear the selection; with none selected: close "
     "the overview; in the find field: empty it",
     nullptr},
    {MapOverview, CloseWindow, "Ctrl+W; Ctrl+F4; Alt+F4", nullptr, "close the overview", nullptr},
    {MapOverview, Save, "Ctrl+S", nullptr, "save data/Quarnel.txt", nullptr},
    {KeyPlace::MonsterTable, Save, "Ctrl+S", nullptr, "save data/monster.txt", "MonsterTableSave"},
    {KeyPlace::MonsterTable, None, "0; 1; 2; 3; 4; 5; 6; 7; 8; 9; -", "A digit or a minus",
     "edit the cell, starting with what is typed", nullptr},
    {KeyPlace::MonsterTable, None, "F2", nullptr, "edit the cell, keeping what it holds", nullptr},
    {KeyPlace::MonsterTable, None, "Enter", nullptr, "while editing: store the cell and go to the one below", nullptr},
    {KeyPlace::MonsterTable, None, "Esc", nullptr, "while editing: keep the cell as it was; in the find field: empty it",
     nullptr},
    {KeyPlace::MonsterTable, ChangeCells, "Ctrl+E", nullptr, "\"Change...\": set, add to or multiply the selected cells",
     "MonsterTableChange"},
    {KeyPlace::MonsterTable, CopyCells, "Ctrl+C", nullptr, "copy the selected rows and columns, with a header row",
     nullptr},
    {KeyPlace::MonsterTable, PasteCells, "Ctrl+V", nullptr, "paste a block of cells over the selected ones", nullptr},
    {KeyPlace::MonsterTable, SelectColumn, "Ctrl+Space", nullptr, "select the column of the current cell", nullptr},
    {KeyPlace::MonsterTable, None, "Ctrl+A", nullptr, "select every cell", nullptr},
    {KeyPlace::MonsterTable, FindMonster, "Ctrl+F", nullptr, "the find field", nullptr},
    {KeyPlace::MonsterTable, OpenBalanceChart, "Ctrl+G", nullptr,
     "the balance chart of the monsters the filter keeps, with the selection marked", "MonsterTableBalance"},
    {KeyPlace::MonsterTable, CloseWindow, "Ctrl+W; Ctrl+F4; Alt+F4", nullptr, "close the monster table", nullptr},
    {BalanceChart, Save, "Ctrl+S", nullptr, "save data/monster.txt", nullptr},
    {BalanceChart, None, "", "Click",
     "select the monster, in the monster table (its cell of the column shown) and on Monster Stats too", nullptr},
    {BalanceChart, None, "", "Ctrl+Click, Shift+Click", "add the monster to the selection, or take it out", nullptr},
    {BalanceChart, None, "", "Drag", "select the monsters inside the box (with Ctrl or Shift: add them)", nullptr},
    {BalanceChart, CloseWindow, "Ctrl+W; Ctrl+F4; Alt+F4", nullptr, "close the chart", nullptr},
    {HistoryWindow, None, "Up; Down", nullptr, "a step back or forward in the list's file", nullptr},
    {HistoryWindow, None, "Esc", nullptr, "close the window", nullptr},
    {KeyList, None, "Esc", nullptr, "close the window", nullptr},
    {ReviewWindow, None, "Enter", "Enter, Double-click",
     "on a change or a problem: go to its monster or spot; on the lines changed in form: show the diff", nullptr},
    {ReviewWindow, None, "Esc", nullptr, "close the window", nullptr},
    {CloseQuestion, None, "Enter", nullptr, "save every file with unsaved changes, then close", nullptr},
    {CloseQuestion, None, "Esc", nullptr, "keep the program open", nullptr},
    {CloseQuestion, None, "Alt+R", nullptr, "\"Review...\": keep the program open and see what the saves would write",
     nullptr},
};

const ProgramKey* rowOf(KeyAction action) {
    if (action == None) return nullptr;
    for (const ProgramKey& key : kKeys)
        if (key.action == action) return &key;
    return nullptr;
}

}  // namespace

std::span<const ProgramKey> programKeys() { return kKeys; }

QString placeName(KeyPlace place) {
    switch (place) {
    case Everywhere: return QStringLiteral("Every window");
    case EditingWindows:
        return QStringLiteral("Main window, add-location dialog, map preview, map overview, monster table, balance chart");
    case KeyPlace::MainWindow: return QStringLiteral("Main window");
    case StatsPage: return QStringLiteral("Monster Stats");
    case SpawnPage: return QStringLiteral("Monster Position");
    case AddSpotDialog: return QStringLiteral("Add Monster Location");
    case MapPreview: return QStringLiteral("Map preview");
    case MapOverview: return QStringLiteral("Map overview");
    case KeyPlace::MonsterTable: return QStringLiteral("Monster table");
    case BalanceChart: return QStringLiteral("Balance chart");
    case HistoryWindow: return QStringLiteral("History");
    case KeyPlace::KeyList: return QStringLiteral("Keys");
    case KeyPlace::ReviewWindow: return QStringLiteral("Review of the save");
    case CloseQuestion: return QStringLiteral("Closing with unsaved changes");
    }
    return {};
}

QList<QKeySequence> keysOf(KeyAction action) {
    const ProgramKey* row = rowOf(action);
    if (!row) return {};
    return QKeySequence::listFromString(QString::fromLatin1(row->keys), QKeySequence::PortableText);
}

QString keyText(const QList<QKeySequence>& keys) {
    QStringList texts;
    for (const QKeySequence& key : keys) texts << key.toString(QKeySequence::NativeText);
    return texts.join(QStringLiteral(", "));
}

QString keyText(const ProgramKey& key) {
    if (key.shown) return QString::fromLatin1(key.shown);
    return keyText(QKeySequence::listFromString(QString::fromLatin1(key.keys), QKeySequence::PortableText));
}

QString withKeys(const QString& text, KeyAction action) {
    const QString keys = keyText(keysOf(action));
    return keys.isEmpty() ? text : QStringLiteral("%1 (%2)").arg(text, keys);
}

QShortcut* makeShortcut(QWidget* window, KeyAction action, Qt::ShortcutContext context) {
    auto* shortcut = new QShortcut(window);
    shortcut->setKeys(keysOf(action));
    shortcut->setContext(context);
    return shortcut;
}

void nameKeysInToolTips(QWidget* window, std::initializer_list<KeyPlace> places) {
    for (const ProgramKey& key : kKeys) {
        if (!key.buttons || std::find(places.begin(), places.end(), key.place) == places.end()) continue;
        const QString keys = QStringLiteral(" (%1)").arg(keyText(key));
        for (const QString& name : QString::fromLatin1(key.buttons).split(QLatin1Char(' '))) {
            for (QAbstractButton* button : window->findChildren<QAbstractButton*>(name)) {
                if (button->window() != window) continue;
                QString tip = button->toolTip();
                if (tip.isEmpty()) tip = button->accessibleName();
                if (tip.isEmpty()) tip = button->text().remove(QLatin1Char('&'));
                if (!tip.endsWith(keys)) button->setToolTip(tip + keys);
            }
        }
    }
}
