#include "ProgramIdentity.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QString>

#include "LazyIcon.h"

QIcon programIcon() {
    return lazyIcon([] {
        QIcon icon;
        const std::uint32_t* next = kProgramIconPixels;
        for (const int side : kProgramIconSides) {
            const QImage pixels(reinterpret_cast<const uchar*>(next), side, side, side * 4,
                                QImage::Format_ARGB32_Premultiplied);
            icon.addPixmap(QPixmap::fromImage(pixels, Qt::NoFormatConversion));
            next += side * side;
        }
        return icon;
    });
}

void setProgramIdentity() {
    QApplication::setApplicationName(QStringLiteral("Varnex"));
    QApplication::setApplicationDisplayName(QStringLiteral("Varnex v1.4.8"));
    QApplication::setWindowIcon(programIcon());
}
