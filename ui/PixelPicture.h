#pragma once
// A picture carried in the program as an array of pixels (written when the program is
// built, tools/PixelArray.h), as a pixmap that shares the array rather than copies it.

#include <cstdint>

#include <QImage>
#include <QPixmap>

inline QPixmap pixmapOverPixels(const std::uint32_t* pixels, int width, int height, QImage::Format format) {
    const QImage image(reinterpret_cast<const uchar*>(pixels), width, height, width * 4, format);
    return QPixmap::fromImage(image, Qt::NoFormatConversion);
}
