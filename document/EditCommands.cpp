#include "EditCommands.h"

#include "ByteText.h"

namespace {

// A step is named once: as a line of the history list, which starts with a capital
// ("Delete spot 5 of Goblin on map 2"), and after "Undo: " in a tooltip or menu.
void nameStep(QUndoCommand& step, const QString& what) {
    QString line = what;
    if (!line.isEmpty()) line[0] = line[0].toUpper();
    step.setText(line + QLatin1Char('\n') + what);
}

QString spotText(const StepTarget& document, const QString& verb, const SpawnEntry& entry) {
    const MonsterDataRecord monster = document.monsters().getmonsterbyid(entry.monsterid);
    return QStringLiteral("%1 spot %2 of %3 on map %4")
        .arg(verb)
        .arg(entry.spotid)
        .arg(textFromBytes(monster.name))
        .arg(entry.mapnumber);
}

}  // namespace

StoreMonsterCommand::StoreMonsterCommand(StepTarget& document, int index, std::string line, bool canmove)
    : document_(document),
      index_(index),
      oldLine_(document.monsters().monsterlines.at(static_cast<std::size_t>(index))),
      newLine_(std::move(line)),
      oldCanMove_(document.monsters().monsters.at(static_cast<std::size_t>(index)).canmove),
      newCanMove_(canmove) {
    const MonsterDataRecord& monster = document.monsters().monsters[static_cast<std::size_t>(index)];
    nameStep(*this, QStringLiteral("store the values of %1 (%2)").arg(textFromBytes(monster.name)).arg(monster.id));
}

void StoreMonsterCommand::redo() { document_.setMonsterLine(index_, newLine_, newCanMove_); }
void StoreMonsterCommand::undo() { document_.setMonsterLine(index_, oldLine_, oldCanMove_); }

CreateSpotCommand::CreateSpotCommand(StepTarget& document, const SpawnEntry& entry)
    : document_(document), entry_(entry) {
    entry_.spotid = document.spawns().count;
    nameStep(*this, spotText(document, QStringLiteral("create"), entry_));
}

void CreateSpotCommand::redo() {
    if (!std::exchange(appended_, true))
        document_.addSpot(entry_);
    else
        document_.reviveSpot(entry_.spotid);
}

void CreateSpotCommand::undo() { document_.removeSpot(entry_.spotid); }

DeleteSpotCommand::DeleteSpotCommand(StepTarget& document, const SpawnEntry& entry)
    : document_(document), entry_(entry) {
    nameStep(*this, spotText(document, QStringLiteral("delete"), entry_));
}

void DeleteSpotCommand::redo() { document_.removeSpot(entry_.spotid); }
void DeleteSpotCommand::undo() { document_.reviveSpot(entry_.spotid); }

ChangeSpotCommand::ChangeSpotCommand(StepTarget& document, const SpawnEntry& before, const SpawnEntry& after,
                                     const QString& verb)
    : document_(document), before_(before), after_(after) {
    nameStep(*this, spotText(document, verb, before_));
}

void ChangeSpotCommand::redo() { document_.putSpot(after_); }
void ChangeSpotCommand::undo() { document_.putSpot(before_); }

SpotsCommand::SpotsCommand(StepTarget& document, std::vector<SpotChange> changes, const QString& what)
    : document_(document), changes_(std::move(changes)) {
    nameStep(*this, what);
}

void SpotsCommand::redo() { document_.putSpots(changes_, true); }
void SpotsCommand::undo() { document_.putSpots(changes_, false); }

StoreMonstersCommand::StoreMonstersCommand(StepTarget& document, std::vector<StoredLine> lines,
                                           const QString& what)
    : document_(document), lines_(std::move(lines)) {
    nameStep(*this, what);
}

void StoreMonstersCommand::redo() {
    for (const StoredLine& line : lines_) document_.setMonsterLine(line.index, line.newLine, line.newCanMove);
}

// Back to front, so that every monster ends as it was even if one were stored twice.
void StoreMonstersCommand::undo() {
    for (auto line = lines_.rbegin(); line != lines_.rend(); ++line)
        document_.setMonsterLine(line->index, line->oldLine, line->oldCanMove);
}
