#pragma once
// tests/check/planted: a server folder with one planted problem on most lines, the
// problems listed in the README's example run.

#include <filesystem>

inline const std::filesystem::path kPlanted =
    std::filesystem::path(VARNEX_SOURCE_DIR) / "tests" / "check" / "planted";
