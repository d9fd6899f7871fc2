#include "ProgramMenus.h"

#include <QUndoStack>

#include "EditorDocument.h"
#include "EditorWindows.h"
#include "MainWindow.h"
#include "StatsPage.h"

namespace {

// "Undo store the values of Marshtoad (5)", or the bare verb when there is none.
QString stepText(const QString& verb, const QString& step) {
    return step.isEmpty() ? verb : verb + QLatin1Char(' ') + step;
}

}  // namespace

QList<MenuItem> monsterListMenu(EditorWindows& windows) {
    MainWindow& main = windows.mainWindow();
    StatsPage* stats = main.statsPage();
    QUndoStack& history = windows.document().history(TableFile::Monsters);
    const bool chosen = stats->selectedIndex() >= 0;
    return {
        {QStringLiteral("Edit Selected"), KeyAction::EditMonster, [stats] { stats->startEditing(); },
         chosen && !stats->editing()},
        {QStringLiteral("Show Its Spots on Monster Position"), KeyAction::None,
         [&main] { main.switchPageKeepingMonster(); }, chosen},
        {},
        {QStringLiteral("Save data/monster.txt"), KeyAction::Save, [stats] { stats->saveMonsterFile(); }},
        {stepText(QStringLiteral("Undo"), history.undoText()), KeyAction::Undo, [&history] { history.undo(); },
         history.canUndo()},
        {stepText(QStringLiteral("Redo"), history.redoText()), KeyAction::Redo, [&history] { history.redo(); },
         history.canRedo()},
        {QStringLiteral("History"), KeyAction::ShowHistory, [&windows] { windows.showHistory(); }},
        {},
        {QStringLiteral("Keys"), KeyAction::ShowKeys, [&windows] { windows.showKeyList(); }},
    };
}
