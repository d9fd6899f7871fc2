#include "MonsterCheck.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "LineFormat.h"
#include "LineSink.h"
#include "MonsterFields.h"
#include "MonsterTable.h"
#include "TableError.h"
#include "TextFile.h"

namespace {

// Values of a fully read line that the stats page pulls into its bounds, shown and
// written back that way once the monster is edited; and a move range it has no entry for.
// column(i): the byte column of field i in the line as the file holds it.
template <typename Column>
void checkValues(const MonsterLineFields& fields, int line, Column column, const FileReport& report) {
    std::string changed;
    int firstChanged = 0;
    for (std::size_t i = 0; i < kMonsterFields.size(); ++i) {
        if (i == kMoveRangeField) continue;
        const MonsterField& field = kMonsterFields[i];
        const std::int32_t value = fields.values[i];
        const std::int32_t shown = clampToField(field, value);
        if (shown == value) continue;
        if (changed.empty())
            firstChanged = column(i);
        else
            changed += ", ";
        changed += std::string(field.columnName) + " (column " + std::to_string(field.column) + ") " +
                   std::to_string(value) + " becomes " + std::to_string(shown);
    }
    if (!changed.empty())
        report.warning(line, firstChanged, "clamped-values",
                       "outside the stats page's bounds, changed when this monster is edited: " + changed);

    const MonsterField& move = kMonsterFields[kMoveRangeField];
    const std::int32_t range = fields.values[kMoveRangeField];
    if (range < 0 || range >= static_cast<int>(kMoveRangeNames.size())) {
        report.warning(line, column(kMoveRangeField), "move-range",
                       std::string(move.columnName) + " (column " + std::to_string(move.column) + ") is " +
                           std::to_string(range) + ", not one of its entries 0.." +
                           std::to_string(kMoveRangeNames.size() - 1) +
                           ": the stats page shows none chosen and keeps the value when the monster is edited");
    }
}

void checkAfterEnd(const std::vector<std::string>& lines, const FileReport& report) {
    const std::size_t end = endLineIndex(lines);
    int first = 0;
    int count = 0;
    for (std::size_t i = end + 1; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        if (!first) first = static_cast<int>(i) + 1;
        ++count;
    }
    if (!count) return;
    report.warning(first, "after-end",
                   std::to_string(count) + (count == 1 ? " line" : " lines") + " after the end line (line " +
                       std::to_string(end + 1) + (count == 1 ? ") is" : ") are") + " kept but never read");
}

// What the lines from the NUL byte's line on would hold: the editor reads none of
// them, the line the NUL cuts included. The NUL itself is one more byte of its line.
void afterNul(std::string_view bytes, int nulLine, UnreadMonsters& unread) {
    std::size_t at = bytes.find('\0');
    at = bytes.find_last_of("\r\n", at);
    at = at == std::string_view::npos ? 0 : at + 1;
    for (int line = nulLine; at < bytes.size(); ++line) {
        const std::size_t lineEnd = std::min(bytes.find_first_of("\r\n", at), bytes.size());
        const std::string normalised = normalizeline(bytes.substr(at, lineEnd - at), false);
        if (normalised == "end") return;
        if (const auto number = monsterNumberOf(normalised)) unread.firstLineOf.try_emplace(*number, line);
        at = lineEnd + (bytes.substr(lineEnd, 2) == "\r\n" ? 2 : 1);
    }
}

void unreadLines(const MonsterTable& table, const std::vector<int>& lineOf, std::string_view bytes,
                 UnreadMonsters& unread) {
    const int nulLine = lineOfFirstNul(bytes);
    const std::size_t end = endLineIndex(table.monsterlines);
    auto taken = lineOf.begin();
    for (std::size_t i = 0; i < end; ++i) {
        const int line = static_cast<int>(i) + 1;
        if (line == nulLine) break;
        if (taken != lineOf.end() && *taken == line) {
            ++taken;
            continue;
        }
        if (const auto number = monsterNumberOf(table.monsterlines[i])) unread.firstLineOf.try_emplace(*number, line);
    }
    // An end line before the NUL byte ends the table there, as always.
    if (nulLine && end == table.monsterlines.size()) afterNul(bytes, nulLine, unread);
}

}  // namespace

bool checkMonsterFile(const std::filesystem::path& file, MonsterTable& table, UnreadMonsters& unread,
                      FileReport& report) {
    report.temporariesBeside(file);
    if (!report.read(file)) return false;
    checkMonsterText(table, unread, report);
    return true;
}

void checkMonsterText(MonsterTable& table, UnreadMonsters& unread, FileReport& report) {
    const std::string& label = report.file();
    std::vector<int> lineOf;  // the 1-based line of each monster read
    const LineSink sink = report.lineSink(lineOf);
    table.loadFromText(report.bytes(), label, &sink);

    std::unordered_set<std::int32_t> seen;
    for (int i = 0; i < table.monstercount; ++i) {
        const int line = lineOf[static_cast<std::size_t>(i)];
        const std::string& normalised = table.monsterlines[static_cast<std::size_t>(line - 1)];
        const MonsterLineFields fields = readMonsterLine(normalised, label, line);
        const auto column = [&](std::size_t field) {
            return rawColumn(report.rawLine(line), normalised, fields.offsets[field]);
        };
        if (fields.complete())
            checkValues(fields, line, column, report);
        else
            report.error(line, column(static_cast<std::size_t>(fields.read)), "cannot-edit",
                         "the stats page cannot show this monster: " + describe(*fields.error, label));

        const MonsterDataRecord& monster = table.monsters[static_cast<std::size_t>(i)];
        // Which of the lines with this number the editor takes is the table's to say.
        if (!seen.insert(monster.id).second) {
            const int first = table.indexOf(monster.id);
            const std::string other = std::to_string(lineOf[static_cast<std::size_t>(first)]);
            report.warning(line, rawFieldColumn(report.rawLine(line), 0), "duplicate-monster",
                           "monster number " + std::to_string(monster.id) + " is on line " + other +
                               " too; the editor takes line " + other +
                               "'s monster for spawn lines and the add-location dialog");
        }
    }
    checkAfterEnd(table.monsterlines, report);
    unreadLines(table, lineOf, report.bytes(), unread);
}
