#include "MissingMonsterNotices.h"

#include <utility>

#include "ByteText.h"
#include "MessageBoxes.h"
#include "TextFile.h"

namespace {

// "15 more lines of data/Quarnel.txt, from line 31 to line 55, name a monster that is
// not in data/monster.txt; they were removed as well."
std::string furtherDroppedLinesText(int count, int firstLine, int lastLine) {
    const std::string spawns = spawnFileLabel();
    const std::string monsters = monsterFileLabel();
    if (count == 1) {
        return "1 more line of " + spawns + ", line " + std::to_string(firstLine) +
               ", names a monster that is not in " + monsters + "; it was removed as well.";
    }
    return std::to_string(count) + " more lines of " + spawns + ", from line " + std::to_string(firstLine) +
           " to line " + std::to_string(lastLine) + ", name a monster that is not in " + monsters +
           "; they were removed as well.";
}

}  // namespace

void MissingMonsterNotices::add(const MissingMonster& dropped) {
    if (shown_ < kFirstNotices) {
        ++shown_;
        messageBoxes().notice(parent_, textFromBytes(dropped.caption), textFromBytes(dropped.text));
        return;
    }
    if (further_++ == 0) {
        firstFurtherLine_ = dropped.line;
        caption_ = dropped.caption;
    }
    lastFurtherLine_ = dropped.line;
}

void MissingMonsterNotices::finish() {
    if (further_ == 0) return;
    const int count = std::exchange(further_, 0);
    messageBoxes().notice(parent_, textFromBytes(caption_),
                          textFromBytes(furtherDroppedLinesText(count, firstFurtherLine_, lastFurtherLine_)));
}
