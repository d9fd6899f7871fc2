#pragma once
// Decoding of the JPEG map pictures with libjpeg, called directly.
//
// pictures/ holds `JpegImage`, which decodes map pictures with libjpeg behind its own error
// manager. It is apart from tables/ so that the text formats build with the standard library alone;
// a command-line program can use both without Qt. A picture is decoded at the size it is drawn at:
// the caller names the least side it needs (`kLargestMapSide`, 1,280 pixels: a map at the largest
// zoom), and libjpeg's scaled decoding gives the smallest of 1/2, 1/4 and 1/8 that still has that
// many pixels both ways (`jpegScaleDenominator`); a picture up to 2,558 pixels on a side is decoded
// whole, so the preview draws it stretched from its own pixels, as always. varnex-check asks for
// any size (1/8), since it only needs to know that the picture decodes. An 8192-pixel picture then
// costs tens of megabytes, not hundreds; a progressive one still needs libjpeg's buffer of the
// whole picture's coefficients while it is read (3 bytes a pixel with the usual halved colour,
// about 200 MB), which no scale reduces (`bench/picture-memory` measures both).

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // width * height * 3 bytes, rows top to bottom
};

// Largest picture accepted, checked from the header before anything is allocated.
inline constexpr long long kMaxJpegPixels = 8192LL * 8192LL;

// A picture is stretched to the size it is drawn at, so decoding it much larger only
// costs memory: libjpeg decodes at 1/2, 1/4 or 1/8 of the size for a fraction of the
// work. minSide is the size the caller needs: the picture is decoded at the smallest
// of those scales that still gives at least minSide pixels in both directions, and
// at full size where even that would be smaller. The default keeps the full size.
inline constexpr int kFullSize = std::numeric_limits<int>::max();

// 1, 2, 4 or 8: the scale's denominator for a width by height picture.
int jpegScaleDenominator(long long width, long long height, int minSide);

// Grey, RGB/YCbCr and CMYK/YCCK pictures, baseline or progressive. Anything that
// is not a readable JPEG throws TableError naming the label; never ends the process.
RgbImage decodeJpeg(std::string_view bytes, const std::string& label, int minSide = kFullSize);
RgbImage readJpegFile(const std::filesystem::path& path, int minSide = kFullSize);
