#include "MonsterTable.h"

#include <algorithm>
#include <charconv>
#include <iterator>

#include "LineFormat.h"
#include "LineSink.h"
#include "Numbers.h"
#include "TableError.h"
#include "TextFile.h"

namespace {

constexpr bool kMonsterHex = true;  // the monster table accepts "$1F" and "0x1F"

std::filesystem::path monsterPath(const std::filesystem::path& workFolder) {
    return workFolder / "data" / "monster.txt";
}

// A column that is to be a number. Only a quoted column can span several pieces, and
// such a column is never a number: its text is made only for the message.
std::int32_t integerColumn(std::string_view span) {
    if (!span.empty() && span.front() == '"') return toInteger(TokenReader::columnText(span), kMonsterHex);
    return toInteger(span, kMonsterHex);
}

// `at` follows the reading: the column being read, for the place of an error.
MonsterDataRecord parseMonsterLine(std::string_view line, std::string_view& at) {
    TokenReader reader(line);
    MonsterDataRecord record;
    at = reader.firstColumnSpan();
    record.id = integerColumn(at);
    reader.nextSpan();  // column 2 is not used
    const std::string_view name = reader.nextSpan();
    if (name.size() >= 2) {
        // Without its quotes; the pieces of a joined name are parted by tabs in the line.
        record.name.assign(name.substr(1, name.size() - 2));
        std::replace(record.name.begin(), record.name.end(), '\t', ' ');
    }
    at = reader.nextSpan();
    record.level = toByte(integerColumn(at));
    std::string_view moveRange;
    for (int column = 5; column <= 13; ++column) moveRange = reader.nextSpan();
    record.canmove = moveRange != "0";
    return record;
}

std::string unreadRefusal(const std::string& label) {
    return label + " could not be read at start-up; saving now would replace it with an empty "
                   "table. Correct the file and start the editor again.";
}

}  // namespace

MonsterDataRecord notFoundMonster() { return {false, 0, -1, "NOT FOUND IN MONSTERS.TXT!"}; }

MonsterTable::MonsterTable() : monsters(kMonsterCapacity), saveRefusal_(unreadRefusal(monsterFileLabel())) {}

void MonsterTable::loadmonsterdata(const std::filesystem::path& workFolder) {
    monsterlines.clear();
    monstercount = 0;
    const std::string label = monsterFileLabel();
    saveRefusal_ = unreadRefusal(label);
    const auto path = monsterPath(workFolder);
    FileStamp stamp;
    const std::string bytes = readWholeFile(path, label, &stamp);
    seen_ = {path, stamp};
    loadFromText(bytes, label);
}

void MonsterTable::loadFromText(std::string_view bytes, const std::string& label, const LineSink* goOn) {
    monstercount = 0;
    const int nulLine = lineOfFirstNul(bytes);
    saveRefusal_ = nulLine ? notReadCompletelyMessage(label, nulLine) : std::string();
    // Every line is kept before any is interpreted, so a load that stops early still
    // leaves the whole file to be written back.
    monsterlines.clear();
    LineCursor lines(bytes);
    monsterlines.reserve(lines.linesLeftAtMost());
    for (std::string_view line; lines.next(line);) normalizeInto(line, false, monsterlines.emplace_back());

    const auto stop = [goOn](const TableError& error) {
        if (!goOn) throw error;
        goOn->badLine(error);
    };
    // The lines as the file holds them, for the column of an error; errors come in line order.
    LineCursor rawLines(bytes);
    std::string_view rawLine;
    int rawNumber = 0;
    const auto rawLineAt = [&](int number) {
        while (rawNumber < number && rawLines.next(rawLine)) ++rawNumber;
        return rawLine;
    };
    bool full = false;
    const std::size_t end = endLineIndex(monsterlines);
    for (std::size_t i = 0; i < end; ++i) {
        const int lineNumber = static_cast<int>(i) + 1;
        if (lineNumber == nulLine) break;  // what the NUL left of its line is not a monster
        if (monstercount == kMonsterCapacity && !full) {
            full = true;
            stop(TableError(tooManyMessage(label, kMonsterCapacity, "monsters"), label, lineNumber));
        }
        MonsterDataRecord record;
        std::string_view at;
        try {
            record = parseMonsterLine(monsterlines[i], at);
        } catch (const TableError& error) {
            const int column = rawColumn(rawLineAt(lineNumber), monsterlines[i], columnOffset(monsterlines[i], at));
            stop(lineError(error, bytes, label, lineNumber, column));
            continue;
        }
        if (full) continue;
        monsters[static_cast<std::size_t>(monstercount++)] = std::move(record);
        if (goOn && goOn->taken) goOn->taken(lineNumber);
    }
    if (nulLine) {
        const TableError cut(nulByteMessage(label, nulLine));
        // The editor names the line in the message alone; a sink gets it placed too.
        if (!goOn) throw cut;
        goOn->badLine(cut.at(label, nulLine));
    }
}

MonsterDataRecord MonsterTable::getmonsterbyid(std::int32_t id) const {
    const int index = indexOf(id);
    return index < 0 ? notFoundMonster() : monsters[static_cast<std::size_t>(index)];
}

int MonsterTable::indexOf(std::int32_t id) const {
    for (int i = 0; i < monstercount; ++i)
        if (monsters[static_cast<std::size_t>(i)].id == id) return i;
    return -1;
}

std::size_t endLineIndex(const std::vector<std::string>& normalisedLines) {
    const auto end = std::find(normalisedLines.begin(), normalisedLines.end(), "end");
    return static_cast<std::size_t>(end - normalisedLines.begin());
}

std::optional<std::int32_t> monsterNumberOf(std::string_view normalisedLine) {
    try {
        return integerColumn(TokenReader(normalisedLine).firstColumnSpan());
    } catch (const TableError&) {
        return std::nullopt;
    }
}

std::string MonsterTable::checkSave(const std::filesystem::path& workFolder) const {
    if (!saveRefusal_.empty()) throw TableError(saveRefusal_);
    return seen_.questionBeforeSave(monsterPath(workFolder), monsterFileLabel());
}

bool MonsterTable::savemonsterdata(const std::filesystem::path& workFolder, const GoOnWithoutBackup& withoutBackup) {
    if (!saveRefusal_.empty()) throw TableError(saveRefusal_);
    const auto path = monsterPath(workFolder);
    try {
        seen_ = {path, writeFileAtomically(path, fileBytes(), monsterFileLabel(), withoutBackup)};
    } catch (const SaveDeclined&) {
        return false;
    }
    return true;
}

std::string MonsterTable::fileBytes() const { return joinLinesCrLf(monsterlines); }

std::string rebuildmonsterline(std::string_view storedLine,
                               std::span<const std::int32_t, kEditableColumns> values) {
    TokenReader reader(storedLine);
    std::string line;
    line.reserve(storedLine.size() + 64);
    std::size_t nextValue = 0;
    // Which of the 28 columns take a new value; the others keep the old column.
    const auto isEditable = [](int column) {
        return (column >= 4 && column <= 13) || (column >= 17 && column <= 19) || column >= 25;
    };
    for (int column = 1; column <= 28; ++column) {
        // Column 28 and anything behind it are dropped: the reader never reaches them.
        const std::string_view old = column <= 27 ? reader.nextSpan() : std::string_view();
        if (column > 1) line.push_back('\t');
        if (isEditable(column)) {
            char digits[16];
            const auto written = std::to_chars(std::begin(digits), std::end(digits), values[nextValue++]);
            line.append(digits, written.ptr);
        } else if (old.starts_with('"')) {
            line += TokenReader::columnText(old);  // a joined name: its words parted by blanks
        } else {
            line += old;
        }
    }
    return line;
}
