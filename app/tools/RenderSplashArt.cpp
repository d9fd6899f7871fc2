// Build step: draws the splash artwork once and writes its pixels as a C++ source
// file, so the program shows the finished picture instead of drawing it at every start.
//
//   varnex_render_splash OUTPUT.cpp

#include <cstdio>

#include <QGuiApplication>

#include "SplashArtDrawing.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: varnex_render_splash OUTPUT.cpp\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QImage art = drawSplashArt();
    if (art.size() != QSize(kSplashArtWidth, kSplashArtHeight) || art.format() != QImage::Format_RGB32) return 1;
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) return 1;
    std::fprintf(out,
                 "// Made by varnex_render_splash when the program is built; do not edit.\n"
                 "#include \"SplashArt.h\"\n\n"
                 "alignas(16) const std::uint32_t kSplashArtPixels[kSplashArtWidth * kSplashArtHeight] = {\n");
    for (int y = 0; y < art.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(art.constScanLine(y));
        for (int x = 0; x < art.width(); ++x) std::fprintf(out, "0x%08x,%s", line[x], x % 8 == 7 ? "\n" : "");
        std::fprintf(out, "\n");
    }
    std::fprintf(out, "};\n");
    return std::fclose(out) == 0 ? 0 : 1;
}
