#pragma once
// Every kind of problem the checker reports: its stable code (for scripts, --ignore and
// code-review tools), its severity and what it finds, short enough for one line of
// --help.

#include <array>
#include <string_view>

#include "Problems.h"

struct Rule {
    std::string_view code;
    Severity severity;
    std::string_view summary;
};

inline constexpr std::array<Rule, 12> kRules = {{
    {"load-stops", Severity::Error, "a line (or file) where the editor's load stops"},
    {"cannot-edit", Severity::Error, "a monster line the stats page cannot show in full"},
    {"missing-monster", Severity::Error, "a spawn line whose monster is not in the table"},
    {"unreadable-file", Severity::Error, "a data file that cannot be read"},
    {"clamped-values", Severity::Warning, "values the stats page pulls into its bounds"},
    {"move-range", Severity::Warning, "a move range outside its entries 0..5"},
    {"duplicate-monster", Severity::Warning, "a monster number used twice (the first wins)"},
    {"after-end", Severity::Warning, "lines after the monster table's end line"},
    {"reversed-range", Severity::Warning, "a range spot with its corners in reverse order"},
    {"no-picture", Severity::Warning, "a map with spots but no picture"},
    {"unreadable-picture", Severity::Warning, "a map picture that does not decode"},
    {"stale-temporary", Severity::Warning, "a temporary file of a save that did not finish"},
}};

// The rule of a code, or nullptr.
inline const Rule* findRule(std::string_view code) {
    for (const Rule& rule : kRules)
        if (rule.code == code) return &rule;
    return nullptr;
}
