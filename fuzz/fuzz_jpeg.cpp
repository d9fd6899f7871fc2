// The map picture decoder on arbitrary bytes: a picture or a TableError, nothing else.

#include "FuzzCheck.h"
#include "JpegImage.h"
#include "TableError.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const RgbImage image = decodeJpeg(bytes, "VarnexMaps/0.jpg");
        FUZZ_CHECK(image.width > 0 && image.height > 0, "a picture without pixels");
        FUZZ_CHECK(static_cast<long long>(image.width) * image.height <= kMaxJpegPixels, "a picture over the limit");
        FUZZ_CHECK(image.rgb.size() == static_cast<std::size_t>(image.width) * image.height * 3, "pixel buffer size");
    } catch (const TableError& e) {
        FUZZ_CHECK(std::string(e.what()).rfind("VarnexMaps/0.jpg ", 0) == 0, "an error that does not name the file");
    }
    return 0;
}
