// Build step: the style glyphs the windows show, as the toolkit's own resource
// pictures decoded to pixels in a C++ source file (GlyphPixels.h says why).
//
//   varnex_glyph_pixels OUTPUT.cpp

#include <cstdio>
#include <initializer_list>

#include <QApplication>
#include <QImage>
#include <QStyle>

#include "PixelArray.h"

namespace {

struct Glyph {
    QStyle::StandardPixmap which;
    std::initializer_list<const char*> files;  // in the style's resources, smallest first
};

const Glyph kGlyphs[] = {
    {QStyle::SP_DialogSaveButton, {"standardbutton-save-16", "standardbutton-save-32"}},
    {QStyle::SP_BrowserReload, {"refresh-24", "refresh-32"}},
    {QStyle::SP_ArrowRight, {"right-16", "right-32"}},
    // A desktop's icon theme would give the dialog's read and show buttons its own
    // pictures of these, which a dark theme draws pale for dark backgrounds.
    {QStyle::SP_ArrowDown, {"down-16", "down-32"}},
    {QStyle::SP_FileDialogContentsView, {"filecontents-16", "filecontents-32"}},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: varnex_glyph_pixels OUTPUT.cpp\n");
        return 2;
    }
    QApplication app(argc, argv);  // the widgets library, which carries the pictures, loaded
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) return 1;
    std::fprintf(out,
                 "// Made by varnex_glyph_pixels when the program is built; do not edit.\n"
                 "#include \"GlyphPixels.h\"\n\n"
                 "namespace {\n\n");
    QString table;
    int count = 0;
    for (const Glyph& glyph : kGlyphs) {
        for (const char* file : glyph.files) {
            const QString path = QStringLiteral(":/qt-project.org/styles/commonstyle/images/%1.png").arg(QLatin1String(file));
            const QImage image = QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
            if (image.isNull()) {
                std::fprintf(stderr, "varnex_glyph_pixels: the toolkit has no %s; the style will be asked\n",
                             qPrintable(path));
                continue;
            }
            writePixelArray(out, qPrintable(QStringLiteral("kPicture%1").arg(count)), {image});
            table += QStringLiteral("    {%1, %2, %3, kPicture%4},\n")
                         .arg(int(glyph.which))
                         .arg(image.width())
                         .arg(image.height())
                         .arg(count);
            ++count;
        }
    }
    std::fprintf(out, "}  // namespace\n\nconst GlyphPicture kGlyphPictures[] = {\n%s", qPrintable(table));
    if (count == 0) std::fprintf(out, "    {-1, 0, 0, nullptr},\n");
    std::fprintf(out, "};\nconst std::size_t kGlyphPictureCount = %d;\n", count);
    return std::fclose(out) == 0 ? 0 : 1;
}
