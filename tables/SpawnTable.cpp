#include "SpawnTable.h"

#include <algorithm>
#include <charconv>
#include <iterator>

#include "IdSet.h"
#include "LineFormat.h"
#include "LineSink.h"
#include "MonsterTable.h"
#include "Numbers.h"
#include "TableError.h"
#include "TextFile.h"
#include "TextFilePlatform.h"

namespace {

constexpr bool kSpawnHex = false;  // the spawn file is decimal only
constexpr int kSpotTypes = 5;

// Only a quoted column can span several pieces of the line, and such a column is never
// a number: its text is made only for the message.
std::int32_t integerField(std::string_view span) {
    if (!span.empty() && span.front() == '"') return toInteger(TokenReader::columnText(span), kSpawnHex);
    return toInteger(span, kSpawnHex);
}
std::uint8_t byteField(std::string_view span) { return toByte(integerField(span)); }

// `at` follows the reading: the column being read, for the place of an error.
SpawnEntry parseDataLine(std::string_view line, int spottype, std::string_view& at) {
    TokenReader reader(line);
    const auto next = [&at](std::string_view span) {
        at = span;
        return span;
    };
    SpawnEntry entry;
    entry.monsterid = integerField(next(reader.firstColumnSpan()));
    entry.mapnumber = byteField(next(reader.nextSpan()));
    entry.distance = byteField(next(reader.nextSpan()));
    entry.x0 = byteField(next(reader.nextSpan()));
    entry.y0 = byteField(next(reader.nextSpan()));
    entry.spottype = static_cast<std::uint8_t>(spottype);
    entry.ispoint = isPointType(spottype);
    if (entry.ispoint) {
        entry.dir = toInteger(next(reader.rest()), kSpawnHex);
    } else {
        entry.x1 = byteField(next(reader.nextSpan()));
        entry.y1 = byteField(next(reader.nextSpan()));
        entry.dir = integerField(next(reader.nextSpan()));
        entry.count = toByte(toInteger(next(reader.rest()), kSpawnHex));
    }
    return entry;
}

// The columns of a raw spawn line as its normal form has them: the runs of characters
// between blanks and tabs, up to the first "//". Up to kMost are kept, each with its
// value when it is a plain number (an optional minus and at most nine digits, which no
// conversion can refuse); count says how many columns there are.
struct RawColumns {
    static constexpr int kMost = 10;
    std::string_view column[kMost];
    std::int32_t value[kMost];
    bool plain[kMost];
    int count = 0;
    std::size_t normalLength = 0;  // the length of the normal form

    explicit RawColumns(std::string_view line) {
        if (const auto comment = line.find("//"); comment != std::string_view::npos) line = line.substr(0, comment);
        const char* p = line.data();
        const char* const end = p + line.size();
        for (;;) {
            while (p != end && (*p == ' ' || *p == '\t')) ++p;
            if (p == end) break;
            const char* const start = p;
            const bool negative = *p == '-';
            if (negative) ++p;
            const char* const digits = p;
            const char* const lastDigit = p + std::min<std::ptrdiff_t>(9, end - p);
            std::int32_t magnitude = 0;
            for (; p != lastDigit; ++p) {
                const auto digit = static_cast<unsigned>(static_cast<unsigned char>(*p)) - '0';
                if (digit > 9) break;
                magnitude = magnitude * 10 + static_cast<std::int32_t>(digit);
            }
            const bool number = p != digits && (p == end || *p == ' ' || *p == '\t');
            while (p != end && *p != ' ' && *p != '\t') ++p;
            if (count < kMost) {
                column[count] = std::string_view(start, static_cast<std::size_t>(p - start));
                value[count] = negative ? -magnitude : magnitude;
                plain[count] = number;
            }
            normalLength += static_cast<std::size_t>(p - start) + (count > 0 ? 1 : 0);
            ++count;
        }
    }

    bool number(int i, std::int32_t& out) const {
        out = value[i];
        return plain[i];
    }
    bool byte(int i, std::uint8_t& out) const {
        out = static_cast<std::uint8_t>(value[i]);
        return plain[i] && value[i] >= 0 && value[i] <= 255;
    }
};

// The entry of a data line whose every column is a plain number within its range, as
// parseDataLine reads it; false for any other line (parseDataLine then reads it, and
// says what is wrong with it).
bool plainDataLine(const RawColumns& raw, int spottype, SpawnEntry& entry) {
    const bool point = isPointType(spottype);
    if (raw.count != (point ? 6 : 9)) return false;
    if (!raw.number(0, entry.monsterid) || !raw.byte(1, entry.mapnumber) || !raw.byte(2, entry.distance) ||
        !raw.byte(3, entry.x0) || !raw.byte(4, entry.y0))
        return false;
    entry.spottype = static_cast<std::uint8_t>(spottype);
    entry.ispoint = point;
    if (point) return raw.number(5, entry.dir);
    return raw.byte(5, entry.x1) && raw.byte(6, entry.y1) && raw.number(7, entry.dir) && raw.byte(8, entry.count);
}

int sectionMarker(std::string_view line) {
    if (line.size() == 1 && line[0] >= '0' && line[0] < '0' + kSpotTypes) return line[0] - '0';
    return -1;
}

std::string missingMonsterText(std::int32_t id) {
    return "Cant find monster in monster.txt with ID" + std::to_string(id) + "\n\r" +
           "this ID was found in quarnel.txt and was removed.";
}

}  // namespace

bool isPointType(int t) { return t == 0 || t == 2 || t == 4; }

namespace {

// A spot's line appended to a file's text: a save writes ten thousand of them, and
// the review of a save makes the same text again.
void appendPositionLine(std::string& out, const SpawnEntry& e) {
    char digits[12];
    bool first = true;
    const auto column = [&](std::int32_t value) {
        if (!first) out += '\t';
        first = false;
        out.append(digits, std::to_chars(std::begin(digits), std::end(digits), value).ptr);
    };
    column(e.monsterid);
    column(e.mapnumber);
    column(e.distance);
    column(e.x0);
    column(e.y0);
    if (!isPointType(e.spottype)) {
        column(e.x1);
        column(e.y1);
    }
    column(e.dir);
    if (!isPointType(e.spottype)) column(e.count);
}

}  // namespace

std::string formatepositionstring(const SpawnEntry& e) {
    std::string line;
    appendPositionLine(line, e);
    return line;
}

SpawnTable::SpawnTable()
    : entries(kSpawnCapacity),
      saveRefusal_(spawnFileLabel() +
                   " was not read, because the monster table could not be read first; saving "
                   "now would replace it with an empty file. Correct the files and start the "
                   "editor again.") {}

void SpawnTable::loadmonsterslocation(const std::filesystem::path& workFolder,
                                      const MonsterTable& monsters,
                                      const MissingMonsterNotice& notice) {
    count = 0;
    refuseWithoutMonsters(monsters);
    const std::string label = spawnFileLabel();
    const auto path = workFolder / "data" / "Quarnel.txt";
    std::string bytes;
    FileStamp stamp;
    try {
        bytes = readWholeFile(path, label, &stamp);
    } catch (const TableError&) {
        saveRefusal_ = label + " could not be opened at start-up; saving now would replace it "
                               "with an empty file. Correct the file and start the editor again.";
        throw;
    }
    seen_ = {path, stamp};
    loadFromText(bytes, label, monsters, notice);
}

void SpawnTable::refuseWithoutMonsters(const MonsterTable& monsters) {
    if (monsters.monstercount > 0) return;
    saveRefusal_ = spawnFileLabel() + " was not read, because " + monsterFileLabel() +
                   " lists no monster; saving now would replace it with an empty file. Correct "
                   "the files and start the editor again.";
    throw TableError(noMonstersMessage());
}

void SpawnTable::loadFromText(std::string_view bytes, const std::string& label,
                              const MonsterTable& monsters, const MissingMonsterNotice& notice,
                              const LineSink* goOn) {
    count = 0;
    // Without a monster every line would be dropped. The editor reads nothing then; a
    // sink is told so and the lines are read for their own errors, none dropped.
    bool checkMonsters = true;
    try {
        refuseWithoutMonsters(monsters);
    } catch (const TableError& error) {
        if (!goOn) throw;
        goOn->badLine(error.at(label, 0));
        checkMonsters = false;
    }

    // The same answer as getmonsterbyid(id).id == -1, without a scan of the whole
    // monster table for every line.
    IdSet known(static_cast<std::size_t>(std::max(monsters.monstercount, 0)));
    for (int i = 0; i < monsters.monstercount; ++i) known.insert(monsters.monsters[static_cast<std::size_t>(i)].id);
    const auto missing = [&known](std::int32_t id) { return id == -1 || !known.contains(id); };

    const int nulLine = lineOfFirstNul(bytes);
    LineCursor lines(bytes);
    std::string line;  // the line in normal form; one buffer for the whole file
    int spottype = 0;
    int lineNumber = 0;
    int firstBadLine = 0;
    const auto stop = [&](const TableError& error) {
        if (!goOn) throw error;
        if (!firstBadLine) firstBadLine = lineNumber;
        goOn->badLine(error);
    };
    bool full = false;
    try {
        for (std::string_view text; lines.next(text);) {
            ++lineNumber;
            if (lineNumber == nulLine) break;  // what the NUL left of its line is not read
            // The normal form of a line of one column is that column.
            const RawColumns raw(text);
            if (raw.count == 1 && raw.column[0] == "end") continue;
            if (const int marker = raw.count == 1 ? sectionMarker(raw.column[0]) : -1; marker >= 0) {
                spottype = marker;
                continue;
            }
            if (raw.normalLength < 3) continue;

            SpawnEntry entry;
            if (!plainDataLine(raw, spottype, entry)) {
                std::string_view at;
                try {
                    normalizeInto(text, true, line);
                    entry = parseDataLine(line, spottype, at);
                } catch (const TableError& error) {
                    stop(lineError(error, bytes, label, lineNumber, rawColumn(text, line, columnOffset(line, at))));
                    continue;
                }
            }
            if (checkMonsters && missing(entry.monsterid)) {
                if (notice)
                    notice({lineNumber, entry.monsterid, "Error: cant find monster",
                            missingMonsterText(entry.monsterid)});
                continue;
            }
            if (count == kSpawnCapacity) {
                // A sink is told once; the lines after are still read for their errors.
                if (!full) stop(TableError(tooManyMessage(label, kSpawnCapacity, "spawn places"), label, lineNumber));
                full = true;
                continue;
            }
            entry.spotid = count;
            entries[static_cast<std::size_t>(count++)] = entry;
            if (goOn && goOn->taken) goOn->taken(lineNumber);
        }
    } catch (...) {
        // Whatever ends the reading early, the refusal to save names the line.
        saveRefusal_ = notReadCompletelyMessage(label, lineNumber);
        throw;
    }
    if (nulLine) {
        const TableError cut(nulByteMessage(label, nulLine));
        // The editor names the line in the message alone; a sink gets it placed too.
        if (!goOn) {
            saveRefusal_ = notReadCompletelyMessage(label, nulLine);
            throw cut;
        }
        goOn->badLine(cut.at(label, nulLine));
    }
    if (!checkMonsters) return;  // the refusal says the monster table lists no monster
    const int stopped = firstBadLine ? firstBadLine : nulLine;
    if (stopped)
        saveRefusal_ = notReadCompletelyMessage(label, stopped);
    else
        saveRefusal_.clear();
}

void SpawnTable::rememberSaveTarget(const std::filesystem::path& programFolder) {
    seen_.retarget(programFolder / "data" / "Quarnel.txt");
}

void SpawnTable::checkRoom() const {
    if (count >= kSpawnCapacity) {
        throw TableError("The spawn table is full (" + std::to_string(kSpawnCapacity) +
                         " spawn places); no more can be added.");
    }
}

const SpawnEntry* SpawnTable::liveSpot(std::int32_t spotid) const {
    if (spotid < 0 || spotid >= count) return nullptr;
    const SpawnEntry& entry = entries[static_cast<std::size_t>(spotid)];
    return entry.spotid == spotid ? &entry : nullptr;
}

void SpawnTable::append(SpawnEntry entry) {
    checkRoom();
    entry.spotid = count;
    entries[static_cast<std::size_t>(count++)] = entry;
}

std::string SpawnTable::checkSave(const std::filesystem::path& programFolder) const {
    if (!saveRefusal_.empty()) throw TableError(saveRefusal_);
    return seen_.questionBeforeSave(programFolder / "data" / "Quarnel.txt", spawnFileLabel());
}

bool SpawnTable::save(const std::filesystem::path& programFolder, const GoOnWithoutBackup& withoutBackup) {
    if (!saveRefusal_.empty()) throw TableError(saveRefusal_);
    const auto path = programFolder / "data" / "Quarnel.txt";
    try {
        seen_ = {path, writeFileAtomically(path, fileBytes(), path.string(), withoutBackup)};
    } catch (const SaveDeclined&) {
        return false;
    }
    return true;
}

std::string spawnFoldersNotice(const std::filesystem::path& workFolder, const std::filesystem::path& programFolder) {
    const auto read = workFolder / "data" / "Quarnel.txt";
    const auto saved = programFolder / "data" / "Quarnel.txt";
    if (sameFile(read, saved)) return {};
    return "The spawn file is read from " + platform::shownPath(read) + " but saved to " + platform::shownPath(saved) +
           ": the working folder and the program's folder differ.";
}

std::string noMonstersMessage() {
    return monsterFileLabel() + " lists no monster, so every line of " + spawnFileLabel() +
           " would be dropped; the spawn file is not read, and the editor will not save over it";
}

std::string SpawnTable::fileBytes() const {
    return sectionsText(std::span<const SpawnEntry>(entries).first(static_cast<std::size_t>(count)), true);
}

std::string sectionsText(std::span<const SpawnEntry> spots, bool everySection) {
    std::string bytes;
    bytes.reserve(spots.size() * 32 + kSpotTypes * 8);  // most lines are shorter
    for (int type = 0; type < kSpotTypes; ++type) {
        const auto inSection = [type](const SpawnEntry& entry) { return entry.spottype == type && entry.spotid != -1; };
        if (!everySection && std::none_of(spots.begin(), spots.end(), inSection)) continue;
        bytes += std::to_string(type) + "\r\n";
        for (const SpawnEntry& entry : spots) {
            if (!inSection(entry)) continue;
            appendPositionLine(bytes, entry);
            bytes += "\r\n";
        }
        bytes += "end\r\n";
    }
    return bytes;
}
