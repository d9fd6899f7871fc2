#pragma once
// The spot types by name, as the add-location dialog lists them (index = type code);
// every window that names a spot's type says it in these words.

#include <array>

inline constexpr std::array<const char*, 5> kSpotTypeItems = {
    "Npc (point Spot)",       "Monsters (Range Spot)", "Monsters (Point Spot)",
    "Dragoin Invasion (Range Spot)", "Blood Castle",
};
