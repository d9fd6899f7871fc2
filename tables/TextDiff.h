#pragma once
// Line differences of two texts, as `diff -u` finds and prints them: the same lines
// marked changed and the same hunks, so that what the editor shows as a diff can be
// compared with diff's own output byte for byte.
//
// The lines are matched by Myers' O(ND) algorithm with diff's refinements: the
// identical lines at both ends are set aside but for a few, lines with no match in
// the other text are taken out before the search (which keeps a text whose every line
// changed linear), a search that grows too costly settles for a good split instead of
// the best, and runs of changes are slid over equal lines to merge with their
// neighbours.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The lines of a text as diff parts them: each ends at a line feed, which it keeps; a
// last line without one is a line too, and differs from the same text with a line feed.
std::vector<std::string_view> diffLines(std::string_view text);

// Which lines a diff marks as changed: deleted from the old text, inserted into the new.
struct LineChanges {
    std::vector<bool> deleted;   // one per old line
    std::vector<bool> inserted;  // one per new line
};

// `context` is the number of unchanged lines a diff shows around a change; as in diff,
// it is also how many of the identical lines at both ends take part in the matching.
LineChanges changedLines(const std::vector<std::string_view>& oldLines,
                         const std::vector<std::string_view>& newLines, int context = 3);

// The unified diff of two texts, as `diff -u --label oldLabel --label newLabel` prints
// it: "" when they are equal.
std::string unifiedDiff(std::string_view oldText, std::string_view newText, std::string_view oldLabel,
                        std::string_view newLabel, int context = 3);
// The same for lines parted and marked already (diffLines, changedLines with the same
// context).
std::string unifiedDiff(const std::vector<std::string_view>& oldLines, const std::vector<std::string_view>& newLines,
                        const LineChanges& changes, std::string_view oldLabel, std::string_view newLabel,
                        int context = 3);
