// The monster table's review: its lines on disk against the lines the table writes,
// matched in normal form; a line that differs is paired with the line of the same
// monster number near it and told column by column.

#include <optional>
#include <unordered_map>

#include "LineFormat.h"
#include "LineSink.h"
#include "MonsterFields.h"
#include "MonsterTable.h"
#include "ReviewText.h"
#include "SaveReview.h"
#include "TextDiff.h"
#include "TextFile.h"

namespace {

// The columns of a normal-form line as the column reader walks it, a quoted name's
// pieces joined with blanks.
std::vector<std::string> columnsOf(std::string_view line) {
    std::vector<std::string> columns;
    TokenReader reader(line);
    while (reader.rest().find('\t') != std::string_view::npos) columns.push_back(TokenReader::columnText(reader.nextSpan()));
    if (!reader.rest().empty()) columns.emplace_back(reader.rest());
    return columns;
}

// What the stats page calls a column, and its field (or -1).
std::string columnName(int column, int& field) {
    field = -1;
    for (std::size_t i = 0; i < kMonsterFields.size(); ++i) {
        if (kMonsterFields[i].column != column) continue;
        field = static_cast<int>(i);
        return kMonsterFields[i].columnName;
    }
    if (column == 1) return "number";
    if (column == 3) return "name";
    return "column " + std::to_string(column);
}

// "Lamplighter Orrin (0)".
std::string monsterCalled(const std::vector<std::string>& columns) {
    std::string_view name = columns.size() > 2 ? std::string_view(columns[2]) : std::string_view();
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
    return shownBytes(name) + " (" + (columns.empty() ? std::string() : shownBytes(columns[0])) + ")";
}

std::string shownColumn(const std::string* column) { return column ? shownBytes(*column) : "(none)"; }

// Which monster of the table each line is (-1 for none): the lines before the end line
// in order, unless one of them was not taken as a monster.
std::vector<int> monstersByLine(const MonsterTable& table) {
    const std::size_t end = endLineIndex(table.monsterlines);
    std::vector<int> monster(table.monsterlines.size(), -1);
    if (static_cast<std::size_t>(table.monstercount) == end) {
        for (std::size_t i = 0; i < end; ++i) monster[i] = static_cast<int>(i);
        return monster;
    }
    int next = 0;
    const LineSink sink{[](const TableError&) {}, [&](int line) { monster[static_cast<std::size_t>(line - 1)] = next++; }};
    MonsterTable copy;
    copy.loadFromText(table.fileBytes(), monsterFileLabel(), &sink);
    for (int& index : monster)
        if (index >= table.monstercount) index = -1;
    return monster;
}

class MonsterPairing {
public:
    MonsterPairing(FileReview& review, const std::vector<std::string>& oldLines, const MonsterTable& table,
                   std::vector<bool>& operatorLine)
        : review_(review), old_(oldLines), table_(table), operatorLine_(operatorLine) {}

    void same(std::size_t i, std::size_t j) { review_.originOf[j + 1] = static_cast<int>(i) + 1; }

    // Old lines [i0, i1) and new lines [j0, j1), none equal to another in normal form.
    void run(std::size_t i0, std::size_t i1, std::size_t j0, std::size_t j1) {
        std::unordered_map<std::int32_t, std::vector<std::size_t>> byNumber;
        for (std::size_t i = i1; i-- > i0;)
            if (const auto number = monsterNumberOf(old_[i])) byNumber[*number].push_back(i);
        std::vector<bool> paired(i1 - i0);
        for (std::size_t j = j0; j < j1; ++j) {
            const std::string& line = table_.monsterlines[j];
            std::optional<std::size_t> partner;
            if (const auto number = monsterNumberOf(line)) {
                auto found = byNumber.find(*number);
                if (found != byNumber.end() && !found->second.empty()) {
                    partner = found->second.back();
                    found->second.pop_back();
                }
            }
            if (!partner) {
                operatorLine_[j] = true;
                review_.changes.push_back({"line " + std::to_string(j + 1) + " is not in the file on disk: " +
                                               quotedText(line),
                                           review_.targetOf[j + 1]});
                continue;
            }
            paired[*partner - i0] = true;
            review_.originOf[j + 1] = static_cast<int>(*partner) + 1;
            compare(old_[*partner], j);
        }
        for (std::size_t i = i0; i < i1; ++i) {
            if (paired[i - i0]) continue;
            review_.dropped.push_back({"line " + std::to_string(i + 1) + ": " + quotedText(old_[i]) +
                                           " is not among the lines the editor holds (the file changed on disk "
                                           "since it was read)",
                                       {}});
        }
    }

private:
    // The columns that differ between a line on disk and the line saved in its place.
    void compare(const std::string& before, std::size_t j) {
        const std::vector<std::string> oldColumns = columnsOf(before);
        const std::vector<std::string> newColumns = columnsOf(table_.monsterlines[j]);
        const std::string called = monsterCalled(newColumns);
        for (std::size_t c = 0; c < std::max(oldColumns.size(), newColumns.size()); ++c) {
            const std::string* was = c < oldColumns.size() ? &oldColumns[c] : nullptr;
            const std::string* is = c < newColumns.size() ? &newColumns[c] : nullptr;
            if (was && is && *was == *is) continue;
            ReviewTarget target = review_.targetOf[j + 1];
            const std::string name = columnName(static_cast<int>(c) + 1, target.field);
            review_.changes.push_back(
                {called + ": " + name + " " + shownColumn(was) + " " + kArrow + " " + shownColumn(is), target});
            operatorLine_[j] = true;
        }
    }

    FileReview& review_;
    const std::vector<std::string>& old_;
    const MonsterTable& table_;
    std::vector<bool>& operatorLine_;
};

}  // namespace

FileReview reviewMonsterSave(const DiskFile& disk, const MonsterTable& table) {
    FileReview review;
    review.file = "data/monster.txt";
    review.diskFailure = disk.failure;
    if (!table.saveRefusal().empty()) {
        review.refusal = table.saveRefusal();
        return review;
    }
    review.saved = table.fileBytes();
    const std::vector<std::string>& lines = table.monsterlines;
    review.originOf.assign(lines.size() + 1, 0);
    review.targetOf.assign(lines.size() + 1, {});
    const std::vector<int> monsterAt = monstersByLine(table);
    for (std::size_t j = 0; j < lines.size(); ++j) {
        if (monsterAt[j] < 0) continue;
        ReviewTarget& target = review.targetOf[j + 1];
        target.kind = ReviewTarget::Kind::Monster;
        target.monster = monsterAt[j];
    }

    std::vector<std::string> oldLines;
    LineCursor cursor(disk.bytes);
    for (std::string_view line; cursor.next(line);) oldLines.push_back(normalizeline(line, false));
    std::vector<std::string_view> oldViews(oldLines.begin(), oldLines.end());
    std::vector<std::string_view> newViews(lines.begin(), lines.end());
    const LineChanges normal = changedLines(oldViews, newViews, 0);

    std::vector<bool> operatorLine(lines.size());
    MonsterPairing pairing(review, oldLines, table, operatorLine);
    for (std::size_t i = 0, j = 0; i < oldLines.size() || j < lines.size();) {
        if (i < oldLines.size() && j < lines.size() && !normal.deleted[i] && !normal.inserted[j]) {
            pairing.same(i++, j++);
            continue;
        }
        const std::size_t i0 = i, j0 = j;
        while (i < oldLines.size() && normal.deleted[i]) ++i;
        while (j < lines.size() && normal.inserted[j]) ++j;
        pairing.run(i0, i, j0, j);
    }

    const std::vector<std::string_view> diskLines = diffLines(disk.bytes);
    const std::vector<std::string_view> savedLines = diffLines(review.saved);
    const LineChanges exact = changedLines(diskLines, savedLines);
    review.diff = unifiedDiff(diskLines, savedLines, exact, "a/" + review.file, "b/" + review.file);
    review.formLines = formLines(exact.inserted, operatorLine);
    return review;
}
