#include "BalancePoints.h"

#include <algorithm>
#include <cmath>

#include "MonsterFields.h"

namespace {

constexpr int kLevelField = 0;
constexpr int kDamageMinField = 3;
constexpr int kDamageMaxField = 4;
static_assert(kMonsterFields[kLevelField].column == 4 && kMonsterFields[kHpField].column == 5);
static_assert(kMonsterFields[kDamageMinField].column == 7 && kMonsterFields[kDamageMaxField].column == 8);

}  // namespace

bool chartableField(int field) {
    return field > kLevelField && field < kEditableColumns && field != kMoveRangeField;
}

std::vector<int> chartableFields() {
    std::vector<int> fields;
    for (int field = 0; field < kEditableColumns; ++field)
        if (chartableField(field)) fields.push_back(field);
    return fields;
}

std::optional<MonsterBalance> monsterBalance(std::string_view normalisedLine, int field, bool nonCombat) {
    if (!chartableField(field)) return std::nullopt;
    std::array<std::int32_t, kEditableColumns> values{};
    const int read = readMonsterFields(normalisedLine, nonCombat ? std::max(field, kMoveRangeField) : field, values);
    if (read <= field) return std::nullopt;
    const auto value = [&](int f) { return values[static_cast<std::size_t>(f)]; };
    const auto shown = [&](int f) { return clampToField(kMonsterFields[static_cast<std::size_t>(f)], value(f)); };
    MonsterBalance balance{shown(kLevelField), shown(field), false, 0};
    if (balance.value > 0) balance.logValue = std::log(static_cast<double>(balance.value));
    balance.nonCombat = read > kMoveRangeField && value(kMoveRangeField) == 0 && value(kDamageMinField) <= 1 &&
                        value(kDamageMaxField) <= 1;
    return balance;
}

void BalanceRows::readAll(const MonsterTable& table, int field, bool nonCombat) {
    field_ = field;
    nonCombat_ = nonCombat;
    rows_.assign(static_cast<std::size_t>(table.monstercount), std::nullopt);
    for (int monster = 0; monster < table.monstercount; ++monster) reread(table, monster);
}

void BalanceRows::reread(const MonsterTable& table, int monster) {
    if (monster < 0 || monster >= static_cast<int>(rows_.size())) return;
    const auto at = static_cast<std::size_t>(monster);
    rows_[at] = at < table.monsterlines.size() ? monsterBalance(table.monsterlines[at], field_, nonCombat_) : std::nullopt;
}

BalancePlot plotBalance(std::span<const std::optional<MonsterBalance>> rows,
                        const std::function<bool(int monster)>& shown, bool leaveOutNonCombat) {
    BalancePlot plot;
    plot.monsters.reserve(rows.size());
    plot.points.reserve(rows.size());
    plot.logs.reserve(rows.size());
    for (std::size_t at = 0; at < rows.size(); ++at) {
        const int monster = static_cast<int>(at);
        if (shown && !shown(monster)) continue;
        const std::optional<MonsterBalance>& row = rows[at];
        if (!row) {
            ++plot.unreadable;
        } else if (leaveOutNonCombat && row->nonCombat) {
            ++plot.nonCombatLeftOut;
        } else {
            plot.monsters.push_back(monster);
            plot.points.push_back({row->level, row->value});
            plot.logs.push_back(row->logValue);
        }
    }
    plot.trend = fitTrend(plot.points, plot.logs);
    plot.outliers = findOutliers(plot.trend, plot.points, plot.logs);
    plot.outlier.assign(plot.points.size(), 0);
    for (const Outlier& outlier : plot.outliers) plot.outlier[outlier.index] = 1;
    return plot;
}

std::vector<FieldEdit> trendEdits(const Trend& trend, std::span<const std::optional<MonsterBalance>> rows,
                                  std::span<const int> monsters, int field) {
    std::vector<FieldEdit> edits;
    if (!trend.fitted) return edits;
    for (const int monster : monsters) {
        if (monster < 0 || monster >= static_cast<int>(rows.size())) continue;
        if (const auto& row = rows[static_cast<std::size_t>(monster)])
            edits.push_back({monster, field, trendValue(trend, row->level)});
    }
    return edits;
}
