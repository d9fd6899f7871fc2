#pragma once
// Where the picture of a map lies: <folder>/VarnexMaps/<map>.jpg, the map number in
// decimal without leading zeros. The editor looks below its own program folder.

#include <filesystem>

std::filesystem::path mapPicturePath(const std::filesystem::path& folder, int map);
