#include "MapPicture.h"

#include <string>

std::filesystem::path mapPicturePath(const std::filesystem::path& folder, int map) {
    return folder / "VarnexMaps" / (std::to_string(map) + ".jpg");
}
