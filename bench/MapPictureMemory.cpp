// Peak memory of one map picture in the preview, for bench/picture-memory: the picture
// decoded, made an image and stretched to every zoom, each stretch kept, as the
// preview does; and the large pictures that script measures, made here.
//
//   map_picture_memory write FILE SIDE [progressive]   a SIDE by SIDE picture of our own
//   map_picture_memory show FILE [full-size]           prints "peak <KiB>"; full-size
//                                                      decodes as the editor did before
//                                                      pictures were decoded at the
//                                                      size they are drawn at

#include <sys/resource.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <QImage>
#include <jpeglib.h>

#include "JpegImage.h"
#include "MapPicture.h"
#include "TableError.h"

namespace {

// Smooth land shapes with a little grain: about as costly to compress as a drawn map.
void terrainRow(int y, int side, std::vector<JSAMPLE>& row) {
    const double scale = 6.283 / side;
    for (int x = 0; x < side; ++x) {
        const double land = std::sin(x * scale * 3) * std::cos(y * scale * 2) + std::sin((x + y) * scale * 7) * 0.3;
        const auto grain = static_cast<int>((static_cast<std::uint32_t>(x) * 2654435761u ^
                                             static_cast<std::uint32_t>(y) * 40503u) >> 28);
        const int level = static_cast<int>(96 + 80 * land) + grain;
        row[static_cast<std::size_t>(x) * 3] = static_cast<JSAMPLE>(land < -0.2 ? 40 : level / 2);
        row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<JSAMPLE>(land < -0.2 ? 90 : level);
        row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<JSAMPLE>(land < -0.2 ? 170 : level / 3);
    }
}

int writePicture(const char* file, int side, bool progressive) {
    std::FILE* out = std::fopen(file, "wb");
    if (!out) return 1;
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = static_cast<JDIMENSION>(side);
    cinfo.image_height = static_cast<JDIMENSION>(side);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 80, TRUE);
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(side) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        terrainRow(static_cast<int>(cinfo.next_scanline), side, row);
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(out) == 0 ? 0 : 1;
}

int showPicture(const char* file, bool fullSize) {
    try {
        const RgbImage decoded = readJpegFile(file, fullSize ? kFullSize : kLargestMapSide);
        const QImage view(decoded.rgb.data(), decoded.width, decoded.height, decoded.width * 3,
                          QImage::Format_RGB888);
        const QImage picture = view.convertToFormat(QImage::Format_RGB32);
        std::vector<QImage> stretched;
        for (int side = 256; side <= kLargestMapSide; side += 256)
            stretched.push_back(picture.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                    .convertToFormat(QImage::Format_RGB32));
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("peak %ld\n", usage.ru_maxrss);
        return 0;
    } catch (const TableError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 2 ? argv[1] : "";
    if (mode == "write" && (argc == 4 || argc == 5))
        return writePicture(argv[2], std::atoi(argv[3]), argc == 5 && std::string(argv[4]) == "progressive");
    if (mode == "show" && (argc == 3 || argc == 4)) return showPicture(argv[2], argc == 4 && std::string(argv[3]) == "full-size");
    std::fprintf(stderr, "usage: map_picture_memory write FILE SIDE [progressive] | show FILE [full-size]\n");
    return 2;
}
