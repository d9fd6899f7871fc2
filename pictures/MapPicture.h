#pragma once
// Where the picture of a map lies: <folder>/VarnexMaps/<map>.jpg, the map number in
// decimal without leading zeros. The editor looks below its own program folder.

#include <filesystem>

// The largest side a map picture is drawn at: 256 cells at the largest zoom, 5X, in
// the preview and in any other view of a whole map. Decoding a picture for drawing
// needs no more (readJpegFile's minSide).
inline constexpr int kLargestMapSide = 256 * 5;

std::filesystem::path mapPicturePath(const std::filesystem::path& folder, int map);
