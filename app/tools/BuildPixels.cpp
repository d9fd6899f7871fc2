// Build step: the pictures the program shows at start, as finished pixels in a C++
// source file, so that the program neither draws nor decodes them when it starts:
// the splash artwork, drawn by SplashArtDrawing.cpp, and the program icon, read
// from its PNG file.
//
//   varnex_build_pixels ICON.png OUTPUT.cpp

#include <cstdio>
#include <vector>

#include <QGuiApplication>
#include <QImage>

#include "PixelArray.h"
#include "ProgramIdentity.h"
#include "SplashArtDrawing.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: varnex_build_pixels ICON.png OUTPUT.cpp\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QImage art = drawSplashArt();
    const QImage icon = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (art.size() != QSize(kSplashArtWidth, kSplashArtHeight) || art.format() != QImage::Format_RGB32 ||
        icon.size() != QSize(256, 256)) {
        std::fprintf(stderr, "varnex_build_pixels: a picture has the wrong size\n");
        return 1;
    }
    std::FILE* out = std::fopen(argv[2], "w");
    if (!out) return 1;
    std::fprintf(out,
                 "// Made by varnex_build_pixels when the program is built; do not edit.\n"
                 "#include \"ProgramIdentity.h\"\n"
                 "#include \"SplashArt.h\"\n\n");
    std::vector<QImage> iconSizes;
    for (const int side : kProgramIconSides)
        iconSizes.push_back(icon.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    const bool written = writePixelArray(out, "kSplashArtPixels", {art}) && writePixelArray(out, "kProgramIconPixels", iconSizes);
    return std::fclose(out) == 0 && written ? 0 : 1;
}
