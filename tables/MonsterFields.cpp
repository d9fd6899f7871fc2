#include "MonsterFields.h"

#include <algorithm>
#include <optional>

#include "LineFormat.h"
#include "Numbers.h"

namespace {

constexpr bool kFieldHex = true;  // as at load: "$1F" and "0x1F" are numbers too

bool isNumberDigit(char c, bool hex) {
    if (c >= '0' && c <= '9') return true;
    return hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
}

// Written as a number (sign, digits, hex prefix); such a text fails only by its size.
bool writtenAsNumber(std::string_view text) {
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    bool hex = false;
    if (text.starts_with('$')) {
        hex = true;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        hex = true;
        text.remove_prefix(2);
    }
    if (text.empty()) return false;
    for (const char c : text)
        if (!isNumberDigit(c, hex)) return false;
    return true;
}

// The value of one to nine decimal digits; nothing for any other text.
std::optional<std::int32_t> plainDecimal(std::string_view text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    std::int32_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The column reader joins a quoted name up to its closing quote; without one it takes
// the rest of the line. A lone quote counts as closed.
bool unclosedName(std::string_view name) {
    return name.size() > 1 && name.front() == '"' && name.back() != '"';
}

std::string columnsText(int count) {
    return std::to_string(count) + (count == 1 ? " column" : " columns");
}

// Why the column of this field could not be read. A wrong column count comes first:
// it shifts every later column, so whatever the failing column holds is a symptom.
std::string failureReason(std::string_view line, const MonsterLineFields& fields,
                          const MonsterField& field, std::string_view text) {
    const int columns = countMonsterColumns(line);
    if (unclosedName(fields.name) && columns != kMonsterLineColumns)
        return "the name in column 3 has no closing quote";
    if (columns != kMonsterLineColumns)
        return "the line has " + columnsText(columns) + "; a monster line has " +
               std::to_string(kMonsterLineColumns);
    if (field.column == kMonsterLineColumns && line.ends_with('\t')) return "the line ends with blanks";
    const std::string named = "column " + std::to_string(field.column) + " (" + field.columnName + ")";
    if (writtenAsNumber(text)) return named + " is beyond the 32-bit range -2147483648..2147483647";
    return named + " is not a number";
}

}  // namespace

int countMonsterColumns(std::string_view normalisedLine) {
    TokenReader reader(normalisedLine);
    int count = 0;
    while (reader.rest().find('\t') != std::string_view::npos) {
        reader.next();
        ++count;
    }
    if (!reader.rest().empty()) ++count;
    return count;
}

MonsterLineFields readMonsterLine(std::string_view normalisedLine, const std::string& file,
                                  int lineNumber) {
    MonsterLineFields fields;
    TokenReader reader(normalisedLine);
    std::size_t next = 0;  // the next field of kMonsterFields to read
    for (int column = 1; column <= kMonsterLineColumns; ++column) {
        // Column 28 is what is left of the line: the reader never returns the last column.
        const std::string_view span = column < kMonsterLineColumns ? reader.nextSpan() : reader.rest();
        if (column == 1) fields.id = TokenReader::columnText(span);
        if (column == 3) fields.name = TokenReader::columnText(span);
        if (next == kMonsterFields.size() || kMonsterFields[next].column != column) continue;
        // Only a quoted column reads otherwise than its span, and it is no number.
        const std::string quoted = span.starts_with('"') ? TokenReader::columnText(span) : std::string();
        const std::string_view text = span.starts_with('"') ? std::string_view(quoted) : span;
        fields.offsets[next] = columnOffset(normalisedLine, span);
        try {
            fields.values[next] = toInteger(text, kFieldHex);
        } catch (const TableError& error) {
            fields.error = error.at(file, lineNumber)
                               .because(failureReason(normalisedLine, fields, kMonsterFields[next], text));
            return fields;
        }
        fields.read = static_cast<int>(++next);
    }
    return fields;
}

std::array<std::int32_t, kEditableColumns> shownValues(const std::array<std::int32_t, kEditableColumns>& values) {
    std::array<std::int32_t, kEditableColumns> shown{};
    for (std::size_t i = 0; i < shown.size(); ++i)
        shown[i] = i == kMoveRangeField ? values[i] : clampToField(kMonsterFields[i], values[i]);
    return shown;
}

std::array<std::int32_t, kEditableColumns> shownValues(const MonsterLineFields& fields) {
    return shownValues(fields.values);
}

int readMonsterFields(std::string_view normalisedLine, int lastField,
                      std::array<std::int32_t, kEditableColumns>& values) {
    const int last = std::min(lastField, kEditableColumns - 1);
    TokenReader reader(normalisedLine);
    int next = 0;
    for (int column = 1; column <= kMonsterLineColumns && next <= last; ++column) {
        const std::string_view span = column < kMonsterLineColumns ? reader.nextSpan() : reader.rest();
        if (kMonsterFields[static_cast<std::size_t>(next)].column != column) continue;
        // Most columns are a few decimal digits, which cannot overflow: read here,
        // without the general reader's signs, prefixes and checks.
        if (const auto plain = plainDecimal(span)) {
            values[static_cast<std::size_t>(next)] = *plain;
        } else {
            try {
                values[static_cast<std::size_t>(next)] = toInteger(span, kFieldHex);
            } catch (const TableError&) {
                return next;
            }
        }
        ++next;
    }
    return next;
}

std::optional<std::int32_t> readMonsterField(std::string_view normalisedLine, int field) {
    if (field < 0 || field >= kEditableColumns) return std::nullopt;
    std::array<std::int32_t, kEditableColumns> values{};
    if (readMonsterFields(normalisedLine, field, values) <= field) return std::nullopt;
    return values[static_cast<std::size_t>(field)];
}
