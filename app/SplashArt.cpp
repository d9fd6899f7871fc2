#include "SplashArt.h"

#include <QImage>

QPixmap splashArt() {
    const QImage pixels(reinterpret_cast<const uchar*>(kSplashArtPixels), kSplashArtWidth, kSplashArtHeight,
                        kSplashArtWidth * 4, QImage::Format_RGB32);
    return QPixmap::fromImage(pixels, Qt::NoFormatConversion);
}
