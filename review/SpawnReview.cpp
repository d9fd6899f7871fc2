// The spawn file's review: the spots on disk, read as the editor reads them, against the
// spots the save writes; and every line on disk whose text the reading leaves behind.

#include <algorithm>
#include <unordered_map>

#include "LineFormat.h"
#include "LineSink.h"
#include "MonsterTable.h"
#include "ReviewText.h"
#include "SaveReview.h"
#include "SpawnTable.h"
#include "TextDiff.h"
#include "TextFile.h"

namespace {

constexpr int kSpotTypes = 5;

struct SavedSpot {
    const SpawnEntry* entry;
    int line;  // of the save, 1-based
};

// The live spots in the order the save writes them: section by section, each in table
// order; and the number of lines the save writes.
std::vector<SavedSpot> spotsAsSaved(const SpawnTable& spawns, std::size_t& lines) {
    std::vector<SavedSpot> spots;
    int line = 0;
    for (int type = 0; type < kSpotTypes; ++type) {
        ++line;  // the section's marker
        for (int i = 0; i < spawns.count; ++i) {
            const SpawnEntry& entry = spawns.entries[static_cast<std::size_t>(i)];
            if (entry.spottype == type && entry.spotid != -1) spots.push_back({&entry, ++line});
        }
        ++line;  // its "end"
    }
    lines = static_cast<std::size_t>(line);
    return spots;
}

// What a spot's line says, with its section: equal for spots the file cannot tell apart
// (a point's line has no second corner and no count).
struct Content {
    std::uint64_t numbers;  // the monster and the direction
    std::uint64_t bytes;    // the section, map, distance, corners and count
    bool operator==(const Content&) const = default;
};
Content content(const SpawnEntry& e) {
    const bool point = isPointType(e.spottype);
    const auto byte = [](std::uint8_t b, int at) { return static_cast<std::uint64_t>(b) << (8 * at); };
    return {static_cast<std::uint64_t>(static_cast<std::uint32_t>(e.monsterid)) << 32 |
                static_cast<std::uint32_t>(e.dir),
            byte(e.spottype, 0) | byte(e.mapnumber, 1) | byte(e.distance, 2) | byte(e.x0, 3) | byte(e.y0, 4) |
                (point ? 0 : byte(e.x1, 5) | byte(e.y1, 6) | byte(e.count, 7))};
}

void appendPlace(std::string& text, const SpawnEntry& spot) {
    appendNumber(text, spot.x0);
    text += ',';
    appendNumber(text, spot.y0);
    if (isPointType(spot.spottype)) return;
    text += kEnDash;
    appendNumber(text, spot.x1);
    text += ',';
    appendNumber(text, spot.y1);
}

bool samePlace(const SpawnEntry& a, const SpawnEntry& b) {
    const bool point = isPointType(a.spottype);
    return point == isPointType(b.spottype) && a.x0 == b.x0 && a.y0 == b.y0 &&
           (point || (a.x1 == b.x1 && a.y1 == b.y1));
}

class SpotNames {
public:
    // By number, the first monster of it (as getmonsterbyid): sorted pairs rather than a
    // map of names, as a review names only the few monsters whose spots changed.
    explicit SpotNames(const MonsterTable& monsters) : monsters_(monsters) {
        first_.reserve(static_cast<std::size_t>(monsters.monstercount));
        for (int i = 0; i < monsters.monstercount; ++i)
            first_.emplace_back(monsters.monsters[static_cast<std::size_t>(i)].id, i);
        // Stable: of a number twice, the first stays first, where lower_bound finds it.
        std::stable_sort(first_.begin(), first_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    }
    void appendMonster(std::string& text, std::int32_t id) const {
        const auto found = std::lower_bound(first_.begin(), first_.end(), id,
                                            [](const auto& entry, std::int32_t wanted) { return entry.first < wanted; });
        if (found != first_.end() && found->first == id) {
            appendShown(text, monsters_.monsters[static_cast<std::size_t>(found->second)].name);
        } else {
            text += "monster ";
            appendNumber(text, id);
        }
    }
    // "Drift Harrier, map 2, spot 70: "
    std::string spot(const SpawnEntry& spot, std::int32_t spotid) const {
        std::string text;
        text.reserve(128);  // room for what changed of the spot, most often
        appendMonster(text, spot.monsterid);
        text += ", map ";
        appendNumber(text, spot.mapnumber);
        text += ", spot ";
        appendNumber(text, spotid);
        text += ": ";
        return text;
    }

private:
    const MonsterTable& monsters_;
    std::vector<std::pair<std::int32_t, int>> first_;
};

// What changed of a spot, its parts parted by "; ".
void appendChange(std::string& text, const SpawnEntry& before, const SpawnEntry& after, const SpotNames& names) {
    bool first = true;
    const auto part = [&]() -> std::string& {
        if (!first) text += "; ";
        first = false;
        return text;
    };
    const auto number = [&](const char* what, long long was, long long is) {
        if (was == is) return;
        part() += what;
        text += ' ';
        appendNumber(text, was);
        text += ' ';
        text += kArrow;
        text += ' ';
        appendNumber(text, is);
    };
    if (before.monsterid != after.monsterid) {
        part() += "monster ";
        for (const std::int32_t id : {before.monsterid, after.monsterid}) {
            names.appendMonster(text, id);
            text += " (";
            appendNumber(text, id);
            text += id == before.monsterid ? ") " + std::string(kArrow) + " " : ")";
        }
    }
    number("spot type", before.spottype, after.spottype);
    number("map", before.mapnumber, after.mapnumber);
    if (!samePlace(before, after)) {
        const bool ranges = !isPointType(before.spottype) && !isPointType(after.spottype);
        const bool resized = ranges && (before.x1 - before.x0 != after.x1 - after.x0 ||
                                        before.y1 - before.y0 != after.y1 - after.y0);
        part() += resized ? "resized from " : "moved from ";
        appendPlace(text, before);
        text += " to ";
        appendPlace(text, after);
    }
    number("distance", before.distance, after.distance);
    number("direction", before.dir, after.dir);
    if (!isPointType(before.spottype) && !isPointType(after.spottype)) number("count", before.count, after.count);
}

ReviewTarget spotTarget(const SpawnEntry& spot, std::int32_t spotid) {
    ReviewTarget target;
    target.kind = ReviewTarget::Kind::Spot;
    target.spotid = spotid;
    target.monsterid = spot.monsterid;
    target.map = spot.mapnumber;
    return target;
}

// The spots on disk as the editor would read them now.
struct DiskSpots {
    SpawnTable table;
    std::vector<int> lineOf;  // of each entry
    std::unordered_map<int, MissingMonster> missing;
    std::unordered_map<int, std::string> unreadable;  // by line, the reader's message
};

void readDisk(const std::string& bytes, const MonsterTable& monsters, DiskSpots& disk) {
    const LineSink sink{[&disk](const TableError& error) { disk.unreadable.try_emplace(error.line(), error.what()); },
                        [&disk](int line) { disk.lineOf.push_back(line); }};
    disk.table.loadFromText(
        bytes, spawnFileLabel(), monsters,
        [&disk](const MissingMonster& dropped) { disk.missing.try_emplace(dropped.line, dropped); }, &sink);
}

// Whether a line's normal form (of one without a comment) is shorter than a spot's
// shortest line, without making it: most lines are spots, told after a few bytes.
bool normalFormShort(std::string_view line) {
    std::size_t length = 0;
    bool inColumn = false;
    for (const char c : line) {
        const bool separator = c == ' ' || c == '\t';
        // A column's bytes count, and so does the tab before every column but the first.
        if (!separator) length += 1 + (!inColumn && length > 0);
        if (length >= 3) return false;
        inColumn = !separator;
    }
    return true;
}

// Each line on disk whose text the reading leaves behind, named: comments, lines that
// are no spot, spawn lines of monsters the table does not list, lines it cannot read.
void droppedLines(const std::string& bytes, const DiskSpots& disk, std::vector<ReviewItem>& dropped) {
    LineCursor cursor(bytes);
    int number = 0;
    for (std::string_view raw; cursor.next(raw);) {
        ++number;
        // Made only for a line named: most lines are spots the reading keeps.
        const auto at = [number] { return "line " + std::to_string(number) + ": "; };
        if (const auto missing = disk.missing.find(number); missing != disk.missing.end()) {
            dropped.push_back({at() + "a spawn line of monster " + std::to_string(missing->second.monsterid) +
                                   ", which data/monster.txt does not list: " + quotedText(raw),
                               {}});
            continue;
        }
        if (const auto bad = disk.unreadable.find(number); bad != disk.unreadable.end()) {
            dropped.push_back({at() + quotedText(raw) + ", which the editor cannot read (" + shownBytes(bad->second) + ")", {}});
            continue;
        }
        const std::size_t comment = raw.find("//");
        const std::string_view before = raw.substr(0, comment);
        const bool blank = before.find_first_not_of(" \t") == std::string_view::npos;
        if (comment != std::string_view::npos) {
            std::string_view text = raw.substr(comment);
            while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
            dropped.push_back(
                {at() + "the comment " + quotedText(text) + (blank ? "" : " after the spot's columns"), {}});
            continue;
        }
        if (blank || !normalFormShort(raw)) continue;
        const std::string normal = normalizeline(raw, true);
        const bool marker = normal.size() == 1 && normal[0] >= '0' && normal[0] < '0' + kSpotTypes;
        if (normal.size() < 3 && !marker)
            dropped.push_back({at() + quotedText(raw) + ", neither a section marker nor a spawn line", {}});
    }
    if (const int nul = lineOfFirstNul(bytes))
        dropped.push_back({"lines " + std::to_string(nul) + " on: what follows a NUL byte, which the editor never reads",
                           {}});
}

}  // namespace

FileReview reviewSpawnSave(DiskFile disk, const SpawnTable& spawns, const MonsterTable& monsters) {
    FileReview review = beginReview("data/Quarnel.txt", disk, spawns);
    if (!review.refusal.empty()) return review;
    std::size_t lines = 0;
    const std::vector<SavedSpot> saved = spotsAsSaved(spawns, lines);
    review.originOf.assign(lines + 1, 0);
    review.targetOf.assign(lines + 1, {});
    for (const SavedSpot& spot : saved)
        review.targetOf[static_cast<std::size_t>(spot.line)] = spotTarget(*spot.entry, spot.entry->spotid);

    DiskSpots before;
    readDisk(review.disk, monsters, before);
    const auto oldCount = static_cast<std::size_t>(before.table.count);
    const auto oldSpot = [&](std::size_t k) -> const SpawnEntry& { return before.table.entries[k]; };
    std::vector<Content> oldContent(oldCount);
    for (std::size_t k = 0; k < oldCount; ++k) oldContent[k] = content(oldSpot(k));
    std::vector<Content> newContent(saved.size());
    for (std::size_t n = 0; n < saved.size(); ++n) newContent[n] = content(*saved[n].entry);

    // A spot on disk is the spot of its number (the editor numbers them in reading order)
    // when it says the same; else any spot that says the same; else, changed, the spot of
    // its number. What is left was deleted or created.
    constexpr std::size_t kNone = SIZE_MAX;
    std::vector<std::size_t> partnerOf(saved.size(), kNone);
    std::vector<bool> taken(oldCount);
    const auto pair = [&](std::size_t n, std::size_t k) {
        partnerOf[n] = k;
        taken[k] = true;
    };
    const auto numberOf = [&](std::size_t n) { return static_cast<std::size_t>(saved[n].entry->spotid); };
    for (std::size_t n = 0; n < saved.size(); ++n)
        if (numberOf(n) < oldCount && oldContent[numberOf(n)] == newContent[n]) pair(n, numberOf(n));
    // By content, the spots on disk left, in file order within each content: a new spot
    // takes the first of its content not yet taken.
    std::vector<std::pair<Content, std::size_t>> byContent;
    byContent.reserve(oldCount);
    for (std::size_t k = 0; k < oldCount; ++k)
        if (!taken[k]) byContent.emplace_back(oldContent[k], k);
    std::sort(byContent.begin(), byContent.end(), [](const auto& a, const auto& b) {
        if (a.first.numbers != b.first.numbers) return a.first.numbers < b.first.numbers;
        if (a.first.bytes != b.first.bytes) return a.first.bytes < b.first.bytes;
        return a.second < b.second;
    });
    std::vector<std::size_t> takenOfContent(byContent.size());  // at the first of each content
    for (std::size_t n = 0; n < saved.size(); ++n) {
        if (partnerOf[n] != kNone) continue;
        const Content& wanted = newContent[n];
        const auto first = std::lower_bound(byContent.begin(), byContent.end(), wanted, [](const auto& entry, const Content& c) {
            return entry.first.numbers != c.numbers ? entry.first.numbers < c.numbers : entry.first.bytes < c.bytes;
        });
        const auto start = static_cast<std::size_t>(first - byContent.begin());
        if (start == byContent.size()) continue;
        const std::size_t next = start + takenOfContent[start];
        if (next == byContent.size() || byContent[next].first != newContent[n]) continue;
        ++takenOfContent[start];
        pair(n, byContent[next].second);
    }

    const SpotNames names(monsters);
    std::vector<bool> operatorLine(lines);
    for (std::size_t n = 0; n < saved.size(); ++n) {
        const SpawnEntry& spot = *saved[n].entry;
        const auto line = static_cast<std::size_t>(saved[n].line);
        std::size_t k = partnerOf[n];
        if (k == kNone && numberOf(n) < oldCount && !taken[numberOf(n)]) {
            k = numberOf(n);
            taken[k] = true;
            operatorLine[line - 1] = true;
            std::string text = names.spot(spot, spot.spotid);
            appendChange(text, oldSpot(k), spot, names);
            review.changes.push_back({std::move(text), review.targetOf[line]});
        } else if (k == kNone) {
            operatorLine[line - 1] = true;
            std::string text = names.spot(spot, spot.spotid) + "created at ";
            appendPlace(text, spot);
            review.changes.push_back({std::move(text), review.targetOf[line]});
            continue;
        }
        review.originOf[line] = before.lineOf[k];
    }
    for (std::size_t k = 0; k < oldCount; ++k) {
        if (taken[k]) continue;
        const auto spotid = static_cast<std::int32_t>(k);
        std::string text = names.spot(oldSpot(k), spotid) + "deleted (was at ";
        appendPlace(text, oldSpot(k));
        text += ')';
        review.changes.push_back({std::move(text), spotTarget(oldSpot(k), spotid)});
    }
    droppedLines(review.disk, before, review.dropped);

    return finishReview(review, operatorLine);
}
