#pragma once
// For the build steps that carry pictures in the program as pixels: one C++ array of
// the images' pixels, one after the other, row by row from the top.

#include <cstdint>
#include <cstdio>
#include <vector>

#include <QImage>

inline bool writePixelArray(std::FILE* out, const char* name, const std::vector<QImage>& images) {
    std::fprintf(out, "alignas(16) const std::uint32_t %s[] = {\n", name);
    for (const QImage& image : images) {
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) std::fprintf(out, "0x%08x,%s", line[x], x % 8 == 7 ? "\n" : "");
            std::fprintf(out, "\n");
        }
    }
    return std::fprintf(out, "};\n\n") > 0;
}
