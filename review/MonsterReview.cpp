// The monster table's review: its lines on disk against the lines the table writes,
// matched in normal form; a line that differs is paired with the line of the same
// monster number near it and told column by column.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
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

// The next column of a normal-form line as the column reader walks it (a quoted name's
// pieces as one span), or nothing past the last.
std::optional<std::string_view> nextColumn(TokenReader& reader, bool& done) {
    if (done) return std::nullopt;
    // The reader leaves the line as it is when no tab is left: one scan, not two.
    const std::size_t left = reader.rest().size();
    const std::string_view span = reader.nextSpan();
    if (reader.rest().size() != left) return span;
    done = true;
    if (reader.rest().empty()) return std::nullopt;
    return reader.rest();
}

// Two columns say the same when their texts do: a quoted name's pieces parted by a tab
// or by a blank are one name (columnText).
bool sameColumn(std::string_view a, std::string_view b) {
    if (a == b) return true;
    if (!a.starts_with('"') || !b.starts_with('"') || a.size() != b.size()) return false;
    const auto blank = [](char c) { return c == '\t' ? ' ' : c; };
    return std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return blank(x) == blank(y); });
}

// Both lines start with the same plain decimal number, as the table reads it (without
// reading: most lines of a monster table do).
bool sameDecimalNumber(std::string_view a, std::string_view b) {
    const std::string_view first = a.substr(0, a.find('\t'));
    if (first.empty() || first.size() > 9 || b.substr(0, b.find('\t')) != first) return false;
    return std::all_of(first.begin(), first.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// How many bytes two texts share from their starts; eight at a time where the lowest
// address is the lowest byte of a word, as on every machine the editor runs on.
std::size_t sharedRun(std::string_view a, std::string_view b) {
    const std::size_t size = std::min(a.size(), b.size());
    std::size_t at = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; at + 8 <= size; at += 8) {
            std::uint64_t x = 0, y = 0;
            std::memcpy(&x, a.data() + at, 8);
            std::memcpy(&y, b.data() + at, 8);
            if (x != y) return at + static_cast<std::size_t>(std::countr_zero(x ^ y) / 8);
        }
    }
    while (at < size && a[at] == b[at]) ++at;
    return at;
}

// What the stats page calls a column, and its field (or -1).
void appendColumnName(std::string& text, int column, int& field) {
    field = -1;
    for (std::size_t i = 0; i < kMonsterFields.size(); ++i) {
        if (kMonsterFields[i].column != column) continue;
        field = static_cast<int>(i);
        text += kMonsterFields[i].columnName;
        return;
    }
    if (column == 1) {
        text += "number";
    } else if (column == 3) {
        text += "name";
    } else {
        text += "column ";
        appendNumber(text, column);
    }
}

// A column's text as the stats page shows it: a quoted name's pieces joined by blanks.
void appendColumnText(std::string& text, std::string_view column, bool quoted) {
    const std::size_t from = text.size();
    appendShown(text, column);
    if (quoted) std::replace(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), '\t', ' ');
}

// "Lamplighter Orrin (0)".
void appendMonsterCalled(std::string& text, std::string_view line) {
    TokenReader reader(line);
    bool done = false;
    const std::string_view number = nextColumn(reader, done).value_or("");
    nextColumn(reader, done);
    const std::string_view name = nextColumn(reader, done).value_or("");
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
        appendColumnText(text, name.substr(1, name.size() - 2), true);
    else
        appendColumnText(text, name, name.starts_with('"'));
    text += " (";
    appendShown(text, number);
    text += ')';
}

void appendColumn(std::string& text, const std::optional<std::string_view>& column) {
    if (!column)
        text += "(none)";
    else
        appendColumnText(text, *column, column->starts_with('"'));
}

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
    MonsterPairing(FileReview& review, const std::vector<std::string_view>& oldLines, const MonsterTable& table,
                   std::vector<bool>& operatorLine)
        : review_(review), old_(oldLines), table_(table), operatorLine_(operatorLine) {}

    void same(std::size_t i, std::size_t j) { review_.originOf[j + 1] = static_cast<int>(i) + 1; }

    // When every line on disk stands where the editor holds its line, in normal form or
    // as a line of the same monster number: pairs each with it and says true. Else
    // changes nothing.
    bool lineByLine() {
        const std::vector<std::string>& lines = table_.monsterlines;
        if (old_.size() != lines.size()) return false;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (old_[i] == lines[i] || sameDecimalNumber(old_[i], lines[i])) continue;
            const auto number = monsterNumberOf(old_[i]);
            if (!number || number != monsterNumberOf(lines[i])) return false;
        }
        for (std::size_t i = 0; i < lines.size(); ++i) {
            same(i, i);
            if (old_[i] != lines[i]) compare(old_[i], i);
        }
        return true;
    }

    // Old lines [i0, i1) and new lines [j0, j1), none equal to another in normal form.
    // A new line takes the first old line of its monster number that is left.
    void run(std::size_t i0, std::size_t i1, std::size_t j0, std::size_t j1) {
        constexpr std::size_t kNone = SIZE_MAX;
        std::unordered_map<std::int32_t, std::size_t> firstOf;  // by number, the first old line left
        std::vector<std::size_t> nextOf(i1 - i0, kNone);        // the next old line of the same number
        firstOf.reserve(i1 - i0);
        for (std::size_t i = i1; i-- > i0;) {
            const auto number = monsterNumberOf(old_[i]);
            if (!number) continue;
            auto [at, added] = firstOf.try_emplace(*number, i);
            if (!added) {
                nextOf[i - i0] = at->second;
                at->second = i;
            }
        }
        std::vector<bool> paired(i1 - i0);
        for (std::size_t j = j0; j < j1; ++j) {
            const std::string& line = table_.monsterlines[j];
            std::size_t partner = kNone;
            if (const auto number = monsterNumberOf(line)) {
                const auto found = firstOf.find(*number);
                if (found != firstOf.end() && found->second != kNone) {
                    partner = found->second;
                    found->second = nextOf[partner - i0];
                }
            }
            if (partner == kNone) {
                operatorLine_[j] = true;
                review_.changes.push_back({"line " + std::to_string(j + 1) + " is not in the file on disk: " +
                                               quotedText(line),
                                           review_.targetOf[j + 1]});
                continue;
            }
            paired[partner - i0] = true;
            review_.originOf[j + 1] = static_cast<int>(partner) + 1;
            compare(old_[partner], j);
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
    // Most columns of a changed line are the same bytes in both: a column that starts
    // with no quote and ends, tab and all, within a run of bytes both lines share here is
    // the same column in both, and is passed over without reading either line's columns.
    void compare(std::string_view before, std::size_t j) {
        const std::string_view after = table_.monsterlines[j];
        std::string_view was = before, is = after;  // what is left of each line
        bool wasDone = false, isDone = false;
        std::size_t shared = sharedRun(was, is);
        std::size_t calledLength = 0;  // of the monster's name and number, in its first change's text
        std::size_t firstChange = 0;
        for (int column = 1;; ++column) {
            if (!wasDone && !isDone && !was.empty() && was.front() != '"') {
                const std::size_t tab = was.substr(0, shared).find('\t');
                if (tab != std::string_view::npos) {
                    was.remove_prefix(tab + 1);
                    is.remove_prefix(tab + 1);
                    shared -= tab + 1;
                    continue;
                }
            }
            TokenReader wasReader(was), isReader(is);
            const std::optional<std::string_view> a = nextColumn(wasReader, wasDone);
            const std::optional<std::string_view> b = nextColumn(isReader, isDone);
            if (!a && !b) return;
            was = wasReader.rest();
            is = isReader.rest();
            shared = sharedRun(was, is);
            const bool restSame = !wasDone && !isDone && shared == was.size() && was.size() == is.size();
            if (a && b && sameColumn(*a, *b)) {
                if (restSame) return;
                continue;
            }
            ReviewTarget target = review_.targetOf[j + 1];
            std::string text;
            text.reserve(96);
            if (calledLength == 0) {
                appendMonsterCalled(text, after);
                calledLength = text.size();
                firstChange = review_.changes.size();
            } else {
                text.append(review_.changes[firstChange].text, 0, calledLength);
            }
            text += ": ";
            appendColumnName(text, column, target.field);
            text += ' ';
            appendColumn(text, a);
            text += ' ';
            text += kArrow;
            text += ' ';
            appendColumn(text, b);
            review_.changes.push_back({std::move(text), target});
            operatorLine_[j] = true;
            // The columns left are the same bytes in both lines, so the same columns.
            if (restSame) return;
        }
    }

    FileReview& review_;
    const std::vector<std::string_view>& old_;
    const MonsterTable& table_;
    std::vector<bool>& operatorLine_;
};

}  // namespace

FileReview reviewMonsterSave(DiskFile disk, const MonsterTable& table) {
    FileReview review = beginReview("data/monster.txt", disk, table);
    if (!review.refusal.empty()) return review;
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

    // The lines on disk in normal form, one after another in one buffer (a normal form
    // is never longer than its line).
    std::string normalised;
    normalised.reserve(review.disk.size());
    std::vector<std::pair<std::size_t, std::size_t>> places;
    std::string line;
    LineCursor cursor(review.disk);
    for (std::string_view raw; cursor.next(raw);) {
        normalizeInto(raw, false, line);
        places.emplace_back(normalised.size(), line.size());
        normalised += line;
    }
    std::vector<std::string_view> oldLines;
    oldLines.reserve(places.size());
    for (const auto& [at, size] : places) oldLines.push_back(std::string_view(normalised).substr(at, size));
    std::vector<bool> operatorLine(lines.size());
    MonsterPairing pairing(review, oldLines, table, operatorLine);
    // The file on disk is most often the file read: each line is then the line saved in
    // its place, or one of the same monster number. Else the lines are matched by a diff
    // of their normal forms.
    if (pairing.lineByLine()) return finishReview(review, operatorLine);
    const std::vector<std::string_view> newViews(lines.begin(), lines.end());
    const LineChanges normal = changedLines(oldLines, newViews, 0);
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
    return finishReview(review, operatorLine);
}
