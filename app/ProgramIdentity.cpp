#include "ProgramIdentity.h"

#include <QApplication>
#include <QString>

#include "FormFont.h"
#include "LazyIcon.h"
#include "PixelPicture.h"

QIcon programIcon() {
    return lazyIcon([] {
        QIcon icon;
        const std::uint32_t* next = kProgramIconPixels;
        for (const int side : kProgramIconSides) {
            icon.addPixmap(pixmapOverPixels(next, side, side, QImage::Format_ARGB32_Premultiplied));
            next += side * side;
        }
        return icon;
    });
}

void setProgramIdentity() {
    QApplication::setApplicationName(QStringLiteral("Varnex"));
    QApplication::setApplicationDisplayName(QStringLiteral("Varnex v1.4.8"));
    QApplication::setWindowIcon(programIcon());
    // Every window of the program is drawn in the design font. With it as the default,
    // the text each line edit lays out as it is made, before it takes its window's font,
    // needs no face of its own: that face cost as much as a tenth of the start. The
    // toolkit's own windows keep the desktop's font.
    for (const char* own : {"QMessageBox", "QTipLabel", "QMenu"}) QApplication::setFont(QApplication::font(own), own);
    QGuiApplication::setFont(formFont());
}
