#pragma once
// The notices of spawn lines dropped at start-up for a monster that the monster table
// does not list. A damaged or mismatched pair of files can drop hundreds of lines, and
// one modal box each would make the editor unusable: the first kFirstNotices get the
// notice as the reader gives it, the rest are summed up in one box at the end.

#include <string>

#include "SpawnTable.h"

class QWidget;

class MissingMonsterNotices {
public:
    static constexpr int kFirstNotices = 10;

    explicit MissingMonsterNotices(QWidget* parent) : parent_(parent) {}

    // Hand to the spawn reader.
    MissingMonsterNotice callback() {
        return [this](const MissingMonster& dropped) { add(dropped); };
    }
    void add(const MissingMonster& dropped);
    // Shows the summary of the lines past the first kFirstNotices, if any.
    void finish();

private:
    QWidget* parent_;
    int shown_ = 0;
    int further_ = 0;
    int firstFurtherLine_ = 0;
    int lastFurtherLine_ = 0;
    std::string caption_;
};
