// Draws a terrain picture VarnexMaps/<n>.jpg for every map that the sample spawn
// file uses:  varnex_mapgen <sample folder> [picture size]

#include "Terrain.h"

#include "MonsterTable.h"
#include "SpawnTable.h"
#include "TableError.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <string>

#include <jpeglib.h>

namespace {

std::string encodeJpeg(const Picture& pic, int quality) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = static_cast<JDIMENSION>(pic.size);
    cinfo.image_height = static_cast<JDIMENSION>(pic.size);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.optimize_coding = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&pic.rgb[static_cast<std::size_t>(cinfo.next_scanline) * pic.size * 3]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char*>(out), outSize);
    std::free(out);
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: varnex_mapgen <sample folder> [picture size]\n";
        return 2;
    }
    const std::filesystem::path sample = argv[1];
    const int size = argc > 2 ? std::atoi(argv[2]) : 512;
    if (size < 64 || size > 2048) {
        std::cerr << "picture size must lie in 64..2048\n";
        return 2;
    }
    std::set<int> maps;
    try {
        MonsterTable monsters;
        monsters.loadmonsterdata(sample);
        SpawnTable spawns;
        spawns.loadmonsterslocation(sample, monsters, [](const MissingMonster& dropped) {
            std::cerr << "notice: line " << dropped.line << ": " << dropped.text << "\n";
        });
        for (int i = 0; i < spawns.count; ++i) maps.insert(spawns.entries[static_cast<std::size_t>(i)].mapnumber);
    } catch (const TableError& e) {
        std::cerr << e.what() << (e.detail().empty() ? "" : " (" + e.detail() + ")") << "\n";
        return 1;
    }
    const std::filesystem::path folder = sample / "VarnexMaps";
    std::filesystem::create_directories(folder);
    for (const int map : maps) {
        const std::string bytes = encodeJpeg(drawTerrain(map, size), 80);
        const auto file = folder / (std::to_string(map) + ".jpg");
        std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::cout << file.string() << "  " << bytes.size() << " bytes\n";
    }
    return 0;
}
