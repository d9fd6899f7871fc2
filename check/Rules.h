#pragma once
// Every kind of problem the checker reports: its stable code (for scripts, --ignore and
// code-review tools), its severity, what it finds in one line of --help, and the help
// a code-review tool shows beside a result: what the rule finds, why the editor cares,
// how to mend the line. The help texts may mark `file names` and `values` as code.

#include <array>
#include <string_view>

#include "Problems.h"

struct Rule {
    std::string_view code;
    std::string_view name;  // the code as one word in PascalCase, as code-review tools name rules
    Severity severity;
    std::string_view summary;
    std::string_view finds;
    std::string_view why;
    std::string_view fix;
};

inline constexpr std::array<Rule, 13> kRules = {{
    {"load-stops", "LoadStops", Severity::Error, "a line (or file) where the editor's load stops",
     "A line of `data/monster.txt` or `data/Quarnel.txt` the editor's reader cannot take: a column that is not a "
     "whole number, a map, cell, distance or count outside 0 to 255 (\"Range check error\"), a spawn line with too "
     "few or too many columns, a byte order mark at the start of the file, a NUL byte, more than 1024 monsters or "
     "10240 spawn places. Also a spawn file the editor does not read at all, because the monster table could not be "
     "read or lists no monster.",
     "The editor reads each table once at start-up and stops at the first such line: nothing after it is shown, and "
     "it will not save over a file it did not read to its end, so the whole file cannot be edited until the line is "
     "mended.",
     "Correct the column the result points at (the message quotes it and says what was expected) or delete the "
     "line; save the file without a byte order mark and without NUL bytes."},
    {"cannot-edit", "CannotEdit", Severity::Error, "a monster line the stats page cannot show in full",
     "A monster line the editor's load takes, but whose 28 columns the \"Monster Stats\" page cannot all show: a "
     "wrong number of columns, blanks after the last column, or a column that is not a whole number.",
     "The monster is listed, but the page shows only the columns it could read and refuses to edit the monster, so "
     "its statistics cannot be changed in the editor until the line is mended.",
     "Give the line exactly 28 columns parted by tabs or blanks, nothing after the last one, and a whole number in "
     "every column but the quoted name (column 3); the message names the column at fault."},
    {"missing-monster", "MissingMonster", Severity::Error, "a spawn line whose monster is not in the table",
     "A spawn line of `data/Quarnel.txt` whose monster number (its first column) is on no line of "
     "`data/monster.txt` that the editor reads.",
     "The editor drops the line at start-up with the notice the message quotes: the spot is not shown, and the next "
     "save of the spawn file no longer holds it.",
     "Add the monster to `data/monster.txt`, correct the number in the spawn line, or delete the line."},
    {"unreadable-file", "UnreadableFile", Severity::Error, "a data file that cannot be read",
     "A table file that cannot be read: missing, not a regular file, larger than 256 MB, or refused by the system "
     "(the message gives the reason).",
     "The editor starts without what the file holds and cannot edit it; without the monster table it does not read "
     "the spawn file either.",
     "Put the file in its place below the folder checked (`data/monster.txt`, `data/Quarnel.txt`) as a regular "
     "file that the editor's user may read."},
    {"clamped-values", "ClampedValues", Severity::Warning, "values the stats page pulls into its bounds",
     "A monster line with values outside the bounds of their fields on the \"Monster Stats\" page, such as a level "
     "or HP of 0 where the lowest is 1; the message names each column, its value and what it becomes.",
     "The page shows these values pulled into their bounds, and once the monster is edited and stored with \"OK\" "
     "they are written to the file in place of the values the server had.",
     "Where the server needs the value, leave the line alone and do not edit that monster in the editor; otherwise "
     "write into the file the value the message gives."},
    {"move-range", "MoveRange", Severity::Warning, "a move range outside its entries 0..5",
     "A monster whose MoveRange (column 13) is not one of the entries 0 to 5 of the stats page's list.",
     "The page shows no entry chosen; the value is kept when the monster is edited, but once another entry is "
     "chosen it cannot be chosen back.",
     "Write a move range from 0 to 5 into column 13, when the server means one of those."},
    {"duplicate-monster", "DuplicateMonster", Severity::Warning, "a monster number used twice (the first wins)",
     "A monster number (column 1) that an earlier line of `data/monster.txt` has too.",
     "Spawn lines and the add-location dialog name monsters by number, and the editor takes the first line with "
     "that number for them: the later monster can be given no spots of its own.",
     "Give one of the two monsters a number no other line has, or delete the line not meant."},
    {"after-end", "AfterEnd", Severity::Warning, "lines after the monster table's end line",
     "Lines of `data/monster.txt` after its `end` line.",
     "The editor keeps them and writes them back, but never reads them: monsters on them are not listed and cannot "
     "be edited or given spots.",
     "Move the lines meant as monsters above the `end` line, or delete them."},
    {"reversed-range", "ReversedRange", Severity::Warning, "a range spot with its corners in reverse order",
     "A range spot (sections 1 and 3 of `data/Quarnel.txt`) whose first corner lies right of or above its second "
     "one: `x0 > x1` or `y0 > y1`.",
     "The editor keeps and draws it as written, but the add-location dialog always writes `x0 <= x1` and "
     "`y0 <= y1`: a range the other way round is most often a slip, and how the game server takes it is up to the "
     "server.",
     "Swap the two X values (columns 4 and 6) or the two Y values (columns 5 and 7), so that the first corner is "
     "the lower left one."},
    {"no-picture", "NoPicture", Severity::Warning, "a map with spots but no picture",
     "A map that has spots in `data/Quarnel.txt` but no picture `VarnexMaps/<map>.jpg` below the folder checked: "
     "the file is missing, a symbolic link loop, or not a regular file. The result stands at the map's first spot "
     "line.",
     "The spawn page and the map preview show the map's spots on an empty background, so places cannot be chosen "
     "by looking at the map.",
     "Put a JPEG picture of the 256 by 256-cell map at `VarnexMaps/<map>.jpg` (any size: it is stretched)."},
    {"unreadable-picture", "UnreadablePicture", Severity::Warning, "a map picture that does not decode",
     "A map picture `VarnexMaps/<map>.jpg` that is there but does not decode as a JPEG picture; the message gives "
     "the decoder's reason. The result stands at the map's first spot line.",
     "The editor reports the picture when the map is chosen and shows the map's spots without it.",
     "Replace the file with a JPEG picture of the map (baseline or progressive)."},
    {"stale-temporary", "StaleTemporary", Severity::Warning, "a temporary file of a save that did not finish",
     "A temporary file beside a table file (`data/.monster.txt.tmp-<process>-...`) that a save left behind when it "
     "did not finish, or one of a save still in progress.",
     "The game server does not read it and the editor removes it at its next start, but it shows that a save was "
     "cut short: the table file may not hold the last changes made.",
     "Start the editor once (it removes the file and says so), or delete the file while no editor runs."},
    {"unread-monster", "UnreadMonster", Severity::Note, "spawn lines whose monster only unread lines hold",
     "Spawn lines whose monster number is only on lines of `data/monster.txt` that were not read: lines where the "
     "load stops, the lines from a NUL byte on, lines past the 1024th monster. One note, at the first such spawn "
     "line, counts them all.",
     "The editor drops these spawn lines only because those monster lines are not read. The problem to mend is "
     "there, reported under `load-stops`; one error for each spawn line it takes along would drown it.",
     "Mend the monster table's lines the `load-stops` errors point at; these spawn lines then need nothing."},
}};

// The rule of a code, or nullptr.
inline const Rule* findRule(std::string_view code) {
    for (const Rule& rule : kRules)
        if (rule.code == code) return &rule;
    return nullptr;
}

// "error", "warning" or "note": as the text, JSON and SARIF reports name a severity.
inline const char* severityName(Severity severity) {
    switch (severity) {
    case Severity::Error: return "error";
    case Severity::Warning: return "warning";
    case Severity::Note: return "note";
    }
    return "error";
}
