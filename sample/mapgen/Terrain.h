#pragma once
// Terrain-like pictures for the sample maps: land, water and roads.

#include <cstdint>
#include <vector>

struct Picture {
    int size = 0;
    std::vector<std::uint8_t> rgb;  // size * size * 3, rows top to bottom
};

Picture drawTerrain(int mapNumber, int size);
