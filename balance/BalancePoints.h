#pragma once
// What the balance chart takes of the monster table: each monster's level and the value
// of the chosen column as the stats page shows them (pulled into the fields' bounds),
// which monsters are non-combat characters, the trend over the monsters shown and the
// edits that set monsters to it. Plain C++, no Qt.
//
// A non-combat character neither moves nor fights: its move range is "Cant Move" (0)
// and neither of its damages is above 1. The file's non-combat characters have damages
// of 0, which the stats page shows and writes as 1 (the least the fields take), so 1
// counts as no damage too; a monster that stands still but strikes (a sentry) fights,
// and so does one that moves, whatever its damage.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "MonsterEdits.h"
#include "MonsterTable.h"
#include "TrendFit.h"

// The columns the chart can show: every number field of the stats page but the level,
// which is the chart's other axis, and the move range, a choice from a list.
bool chartableField(int field);
// The fields in that order, for the chart's list.
std::vector<int> chartableFields();
inline constexpr int kHpField = 1;  // the chart's first column

struct MonsterBalance {
    std::int32_t level = 0;  // as shown: 1..255
    std::int32_t value = 0;  // of the chart's field, as shown
    bool nonCombat = false;
    double logValue = 0;     // its logarithm, worked out once; 0 for a value of 0 or below
};

// The monster's level and value of `field` from its stored line; nothing when the line
// cannot be read as far as the field (or as far as the level). Whether it is a non-combat
// character is read only when asked (the line is then read as far as the move range).
std::optional<MonsterBalance> monsterBalance(std::string_view normalisedLine, int field, bool nonCombat = true);

// What every monster of a table gives the chart for one field, read once and read again
// for each monster stored.
class BalanceRows {
public:
    void readAll(const MonsterTable& table, int field, bool nonCombat = true);
    void reread(const MonsterTable& table, int monster);
    int field() const { return field_; }
    bool nonCombatRead() const { return nonCombat_; }
    const std::vector<std::optional<MonsterBalance>>& rows() const { return rows_; }

private:
    int field_ = kHpField;
    bool nonCombat_ = true;
    std::vector<std::optional<MonsterBalance>> rows_;
};

// The monsters on the chart and the trend through them.
struct BalancePlot {
    std::vector<int> monsters;        // shown, in table order
    std::vector<LevelValue> points;   // theirs, in the same order
    std::vector<double> logs;         // the logarithms of their values (0 for values of 0 or below)
    std::vector<char> outlier;        // theirs: 1 where an outlier
    Trend trend;
    std::vector<Outlier> outliers;    // indexes into `points`, furthest first
    int nonCombatLeftOut = 0;         // shown by the filter but left out as non-combat
    int unreadable = 0;               // shown by the filter, but their lines stop before the field
};

// The monsters `shown` keeps (every one when it is empty), less the non-combat
// characters when asked.
BalancePlot plotBalance(std::span<const std::optional<MonsterBalance>> rows,
                        const std::function<bool(int monster)>& shown, bool leaveOutNonCombat);

// Edits that set `field` of these monsters to the trend's value at their levels, before
// the field's bounds pull them in; monsters without a row are left out.
std::vector<FieldEdit> trendEdits(const Trend& trend, std::span<const std::optional<MonsterBalance>> rows,
                                  std::span<const int> monsters, int field);
