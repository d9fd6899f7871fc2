#include "SplashArt.h"

#include "PixelPicture.h"

QPixmap splashArt() {
    return pixmapOverPixels(kSplashArtPixels, kSplashArtWidth, kSplashArtHeight, QImage::Format_RGB32);
}
