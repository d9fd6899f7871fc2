#pragma once
// Normal form of a table line and the column reader that walks it.
//
// Normal form: every run of blanks and tabs is one tab, none at the start.
// Without the spawn rules one trailing tab may remain; with them the line also
// loses everything from the first "//" on and every trailing blank and tab.

#include <string>
#include <string_view>

// Linear in the length of the line; never fails.
std::string normalizeline(std::string_view line, bool spawnRules);
// The same into a string the caller keeps, so that reading a file line by line
// reuses one buffer. Replaces what out held.
void normalizeInto(std::string_view line, bool spawnRules, std::string& out);

// Cuts the first column (the text before the first tab) off a normalised line and
// returns it. A column that starts with a double quote is joined with the following
// pieces, one blank between them, until a piece ends in a double quote or the line
// holds no further tab. The text after the last tab is never returned: once every
// tab is consumed, the call returns "" and leaves the line as it is (the last column).
std::string nexttoken(std::string& line);

// The same walk without copying: linear over a whole line however many columns or
// quoted pieces it has. A column comes as the span of the line it covers; only a
// joined quoted name spans several pieces, with a tab between each two of them
// where its text has a blank (columnText).
class TokenReader {
public:
    explicit TokenReader(std::string_view normalisedLine) : rest_(normalisedLine) {}
    std::string_view nextSpan();
    std::string next() { return columnText(nextSpan()); }  // as nexttoken
    // The first column of a line. A line of one column has no tab, so next() would
    // give an empty field; this gives the column itself, so an error can quote it.
    std::string_view firstColumnSpan();
    std::string firstColumn() { return columnText(firstColumnSpan()); }
    std::string_view rest() const { return rest_; }  // what nexttoken would leave in the line

    // A column's text as nexttoken gives it: the tabs inside a joined name are blanks.
    static std::string columnText(std::string_view span);

private:
    std::string_view rest_;
};

// Where a column a TokenReader gave starts in its line; the line's length for the empty
// field of a column the line does not have.
std::size_t columnOffset(std::string_view normalisedLine, std::string_view column);

// Where a place in a line's normal form stands in the line as the file holds it: the
// normaliser only shortens the runs of blanks and tabs, so the n-th column of the one is
// the n-th run of other bytes in the other. Gives the 1-based byte column of the byte at
// `offset` of normalisedLine; an offset that falls after the last column gives the
// column just after the last run in rawLine.
int rawColumn(std::string_view rawLine, std::string_view normalisedLine, std::size_t offset);
// The 1-based byte column where the run of bytes that are not blanks or tabs numbered
// `index` (from 0) starts in rawLine; after its last run when it has fewer.
int rawFieldColumn(std::string_view rawLine, std::size_t index);
