#include "MonsterEdits.h"

#include <algorithm>
#include <numeric>
#include <utility>


namespace {

long long limited(long long amount, long long largest) { return std::clamp(amount, -largest, largest); }

// n / d rounded half away from zero, for d > 0.
long long roundedQuotient(long long n, long long d) {
    const long long quotient = n / d;  // toward zero
    const long long rest = n % d;      // with the sign of n
    if (2 * (rest < 0 ? -rest : rest) >= d) return quotient + (n < 0 ? -1 : 1);
    return quotient;
}

bool validEdit(const MonsterTable& table, const FieldEdit& edit) {
    const int monsters = std::min(table.monstercount, static_cast<int>(table.monsterlines.size()));
    return edit.monster >= 0 && edit.monster < monsters && edit.field >= 0 && edit.field < kEditableColumns;
}

}  // namespace

long long changedValue(const ValueChange& change, std::int32_t value) {
    switch (change.kind) {
    case ValueChangeKind::Set:
        return change.amount;
    case ValueChangeKind::Add:
        return value + limited(change.amount, kLargestAddend);
    case ValueChangeKind::Multiply:
        return roundedQuotient(value * limited(change.amount, kLargestPercentHundredths), 100 * 100);
    }
    return value;
}

EditPlan planEdits(const MonsterTable& table, std::span<const FieldEdit> edits) {
    EditPlan plan;
    // The edits of each monster together, each monster's in the order given.
    std::vector<std::size_t> order(edits.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    // Edits of a selection come in table order already: only others are sorted.
    const auto byMonster = [&](std::size_t a, std::size_t b) {
        return std::pair(edits[a].monster, a) < std::pair(edits[b].monster, b);
    };
    if (!std::is_sorted(order.begin(), order.end(), byMonster)) std::sort(order.begin(), order.end(), byMonster);
    for (std::size_t first = 0; first < order.size();) {
        const int monster = edits[order[first]].monster;
        std::size_t end = first;
        while (end < order.size() && edits[order[end]].monster == monster) ++end;
        const std::span<const std::size_t> own(order.data() + first, end - first);
        first = end;
        if (!validEdit(table, edits[own.front()])) continue;

        // Read as readMonsterLine reads it, without what only its messages need.
        const auto index = static_cast<std::size_t>(monster);
        std::array<std::int32_t, kEditableColumns> stored{};
        if (readMonsterFields(table.monsterlines[index], kEditableColumns - 1, stored) < kEditableColumns) {
            for (const std::size_t i : own)
                if (validEdit(table, edits[i])) plan.unreadable.push_back(edits[i]);
            continue;
        }
        const auto shown = shownValues(stored);
        MonsterStore store{monster, shown, moveRangeListed(shown[kMoveRangeField])};
        // Only the last edit of a cell counts: the others are not looked at.
        std::array<const FieldEdit*, kEditableColumns> last{};
        for (const std::size_t i : own)
            if (validEdit(table, edits[i])) last[static_cast<std::size_t>(edits[i].field)] = &edits[i];
        int changed = 0;
        for (std::size_t field = 0; field < last.size(); ++field) {
            const FieldEdit* edit = last[field];
            if (!edit) continue;
            const std::int32_t value = clampToField(kMonsterFields[field], edit->value);
            if (value != edit->value) plan.clamped.push_back(*edit);
            if (field == kMoveRangeField) store.moveRangeChosen = true;
            if (value == shown[field]) continue;
            store.values[field] = value;
            ++changed;
        }
        if (changed == 0) continue;
        plan.changed += changed;
        for (std::size_t field = 0; field < shown.size(); ++field)
            if (store.values[field] == shown[field] && shown[field] != stored[field])
                plan.rewritten.push_back({monster, static_cast<int>(field), stored[field]});
        plan.stores.push_back(store);
    }
    return plan;
}
