#include "ProgramIdentity.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QString>

#include "LazyIcon.h"

QIcon programIcon() {
    return lazyIcon([] {
        const QImage pixels(reinterpret_cast<const uchar*>(kProgramIconPixels), kProgramIconSide, kProgramIconSide,
                            kProgramIconSide * 4, QImage::Format_ARGB32_Premultiplied);
        return QIcon(QPixmap::fromImage(pixels, Qt::NoFormatConversion));
    });
}

void setProgramIdentity() {
    QApplication::setApplicationName(QStringLiteral("Varnex"));
    QApplication::setApplicationDisplayName(QStringLiteral("Varnex v1.4.8"));
    QApplication::setWindowIcon(programIcon());
}
