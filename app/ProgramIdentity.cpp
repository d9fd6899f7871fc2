#include "ProgramIdentity.h"

#include <iterator>

#include <QApplication>
#include <QString>

#include "FormFont.h"
#include "LazyIcon.h"
#include "PixelPicture.h"

namespace {

QIcon iconOfFirstSides(int count) {
    return lazyIcon([count] {
        QIcon icon;
        const std::uint32_t* next = kProgramIconPixels;
        for (int i = 0; i < count; ++i) {
            const int side = kProgramIconSides[i];
            icon.addPixmap(pixmapOverPixels(next, side, side, QImage::Format_ARGB32_Premultiplied));
            next += side * side;
        }
        return icon;
    });
}

}  // namespace

QIcon programIcon() { return iconOfFirstSides(static_cast<int>(std::size(kProgramIconSides))); }

void completeProgramIcon() { QApplication::setWindowIcon(programIcon()); }

void setProgramIdentity() {
    QApplication::setApplicationName(QStringLiteral("Varnex"));
    QApplication::setApplicationDisplayName(QStringLiteral("Varnex v1.4.8"));
    QGuiApplication::setDesktopFileName(QStringLiteral("varnex"));
    QApplication::setWindowIcon(iconOfFirstSides(kStartIconSideCount));
    // Every window of the program is drawn in the design font. With it as the default,
    // the text each line edit lays out as it is made, before it takes its window's font,
    // needs no face of its own: that face cost as much as a tenth of the start. The
    // toolkit's own windows keep the desktop's font.
    for (const char* own : {"QMessageBox", "QTipLabel", "QMenu"}) QApplication::setFont(QApplication::font(own), own);
    QGuiApplication::setFont(formFont());
}
