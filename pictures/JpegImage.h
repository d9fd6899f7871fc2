#pragma once
// Decoding of the JPEG map pictures with libjpeg, called directly.

#include <cstdint>
#include <filesystem>
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

// Grey, RGB/YCbCr and CMYK/YCCK pictures, baseline or progressive. Anything that
// is not a readable JPEG throws TableError naming the label; never ends the process.
RgbImage decodeJpeg(std::string_view bytes, const std::string& label);
RgbImage readJpegFile(const std::filesystem::path& path);
