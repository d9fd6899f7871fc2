// The spawn file's review: the spots on disk, read as the editor reads them, against the
// spots the save writes; and every line on disk whose text the reading leaves behind.

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

// What a spot's line says, with its section: equal for spots the file cannot tell apart.
std::string content(const SpawnEntry& entry) {
    return std::to_string(entry.spottype) + '\n' + formatepositionstring(entry);
}

std::string placeOf(const SpawnEntry& spot) {
    const std::string corner = std::to_string(spot.x0) + "," + std::to_string(spot.y0);
    if (isPointType(spot.spottype)) return corner;
    return corner + kEnDash + std::to_string(spot.x1) + "," + std::to_string(spot.y1);
}

class SpotNames {
public:
    explicit SpotNames(const MonsterTable& monsters) {
        for (int i = 0; i < monsters.monstercount; ++i) {
            const MonsterDataRecord& monster = monsters.monsters[static_cast<std::size_t>(i)];
            names_.try_emplace(monster.id, monster.name);  // the first of a number, as getmonsterbyid
        }
    }
    std::string monster(std::int32_t id) const {
        const auto found = names_.find(id);
        return found == names_.end() ? "monster " + std::to_string(id) : shownBytes(found->second);
    }
    // "Drift Harrier, map 2, spot 70"
    std::string spot(const SpawnEntry& spot, std::int32_t spotid) const {
        return monster(spot.monsterid) + ", map " + std::to_string(spot.mapnumber) + ", spot " + std::to_string(spotid);
    }

private:
    std::unordered_map<std::int32_t, std::string> names_;
};

template <typename T>
void changed(std::vector<std::string>& parts, const char* what, T before, T after) {
    if (before != after)
        parts.push_back(std::string(what) + " " + std::to_string(before) + " " + kArrow + " " + std::to_string(after));
}

std::string describeChange(const SpawnEntry& before, const SpawnEntry& after, const SpotNames& names) {
    std::vector<std::string> parts;
    if (before.monsterid != after.monsterid)
        parts.push_back("monster " + names.monster(before.monsterid) + " (" + std::to_string(before.monsterid) + ") " +
                        kArrow + " " + names.monster(after.monsterid) + " (" + std::to_string(after.monsterid) + ")");
    changed(parts, "spot type", int{before.spottype}, int{after.spottype});
    changed(parts, "map", int{before.mapnumber}, int{after.mapnumber});
    if (const std::string was = placeOf(before), is = placeOf(after); was != is) {
        const bool ranges = !isPointType(before.spottype) && !isPointType(after.spottype);
        const bool resized = ranges && (before.x1 - before.x0 != after.x1 - after.x0 ||
                                        before.y1 - before.y0 != after.y1 - after.y0);
        parts.push_back((resized ? "resized from " : "moved from ") + was + " to " + is);
    }
    changed(parts, "distance", int{before.distance}, int{after.distance});
    changed(parts, "direction", before.dir, after.dir);
    if (!isPointType(before.spottype) && !isPointType(after.spottype))
        changed(parts, "count", int{before.count}, int{after.count});
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : "; ") + part;
    return text;
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

// Each line on disk whose text the reading leaves behind, named: comments, lines that
// are no spot, spawn lines of monsters the table does not list, lines it cannot read.
void droppedLines(const std::string& bytes, const DiskSpots& disk, std::vector<ReviewItem>& dropped) {
    LineCursor cursor(bytes);
    int number = 0;
    for (std::string_view raw; cursor.next(raw);) {
        const std::string at = "line " + std::to_string(++number) + ": ";
        if (const auto missing = disk.missing.find(number); missing != disk.missing.end()) {
            dropped.push_back({at + "a spawn line of monster " + std::to_string(missing->second.monsterid) +
                                   ", which data/monster.txt does not list: " + quotedText(raw),
                               {}});
            continue;
        }
        if (const auto bad = disk.unreadable.find(number); bad != disk.unreadable.end()) {
            dropped.push_back({at + quotedText(raw) + ", which the editor cannot read (" + shownBytes(bad->second) + ")", {}});
            continue;
        }
        const std::string normal = normalizeline(raw, true);
        if (const auto comment = raw.find("//"); comment != std::string_view::npos) {
            std::string_view text = raw.substr(comment);
            while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
            dropped.push_back(
                {at + "the comment " + quotedText(text) + (normal.empty() ? "" : " after the spot's columns"), {}});
            continue;
        }
        const bool marker = normal.size() == 1 && normal[0] >= '0' && normal[0] < '0' + kSpotTypes;
        if (!normal.empty() && normal.size() < 3 && !marker)
            dropped.push_back({at + quotedText(raw) + ", neither a section marker nor a spawn line", {}});
    }
    if (const int nul = lineOfFirstNul(bytes))
        dropped.push_back({"lines " + std::to_string(nul) + " on: what follows a NUL byte, which the editor never reads",
                           {}});
}

}  // namespace

FileReview reviewSpawnSave(const DiskFile& disk, const SpawnTable& spawns, const MonsterTable& monsters) {
    FileReview review;
    review.file = "data/Quarnel.txt";
    review.diskFailure = disk.failure;
    if (!spawns.saveRefusal().empty()) {
        review.refusal = spawns.saveRefusal();
        return review;
    }
    review.saved = spawns.fileBytes();
    std::size_t lines = 0;
    const std::vector<SavedSpot> saved = spotsAsSaved(spawns, lines);
    review.originOf.assign(lines + 1, 0);
    review.targetOf.assign(lines + 1, {});
    for (const SavedSpot& spot : saved)
        review.targetOf[static_cast<std::size_t>(spot.line)] = spotTarget(*spot.entry, spot.entry->spotid);

    DiskSpots before;
    readDisk(disk.bytes, monsters, before);
    const auto oldCount = static_cast<std::size_t>(before.table.count);
    const auto oldSpot = [&](std::size_t k) -> const SpawnEntry& { return before.table.entries[k]; };
    std::vector<std::string> oldContent(oldCount);
    for (std::size_t k = 0; k < oldCount; ++k) oldContent[k] = content(oldSpot(k));
    std::vector<std::string> newContent(saved.size());
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
    std::unordered_map<std::string_view, std::vector<std::size_t>> sameContent;
    for (std::size_t k = oldCount; k-- > 0;)
        if (!taken[k]) sameContent[oldContent[k]].push_back(k);
    for (std::size_t n = 0; n < saved.size(); ++n) {
        if (partnerOf[n] != kNone) continue;
        const auto found = sameContent.find(newContent[n]);
        if (found == sameContent.end() || found->second.empty()) continue;
        pair(n, found->second.back());
        found->second.pop_back();
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
            review.changes.push_back({names.spot(spot, spot.spotid) + ": " + describeChange(oldSpot(k), spot, names),
                                      review.targetOf[line]});
        } else if (k == kNone) {
            operatorLine[line - 1] = true;
            review.changes.push_back(
                {names.spot(spot, spot.spotid) + ": created at " + placeOf(spot), review.targetOf[line]});
            continue;
        }
        review.originOf[line] = before.lineOf[k];
    }
    for (std::size_t k = 0; k < oldCount; ++k) {
        if (taken[k]) continue;
        const auto spotid = static_cast<std::int32_t>(k);
        review.changes.push_back({names.spot(oldSpot(k), spotid) + ": deleted (was at " + placeOf(oldSpot(k)) + ")",
                                  spotTarget(oldSpot(k), spotid)});
    }
    droppedLines(disk.bytes, before, review.dropped);

    const std::vector<std::string_view> diskLines = diffLines(disk.bytes);
    const std::vector<std::string_view> savedLines = diffLines(review.saved);
    const LineChanges exact = changedLines(diskLines, savedLines);
    review.diff = unifiedDiff(diskLines, savedLines, exact, "a/" + review.file, "b/" + review.file);
    review.formLines = formLines(exact.inserted, operatorLine);
    return review;
}
