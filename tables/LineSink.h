#pragma once
// For a caller that reads a whole table to list every problem in it at once (the
// checker): a table reader given a LineSink reports each line it cannot take and goes
// on with the next, where the editor's load stops at the first. Both run the same
// reading code; only what happens at a bad line differs.

#include <functional>

#include "TableError.h"

struct LineSink {
    // A line where the editor's load would stop, with the editor's message, the file
    // and the 1-based line. The line is not taken into the table.
    std::function<void(const TableError&)> badLine;
    // The line was taken as the table's newest item (monster monstercount - 1, spawn
    // entry count - 1). May be empty.
    std::function<void(int line)> taken;
};
