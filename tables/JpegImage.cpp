#include "JpegImage.h"
#include "TableError.h"
RgbImage decodeJpeg(std::string_view, const std::string& label) { throw TableError("not a JPEG picture: " + label); }
RgbImage readJpegFile(const std::filesystem::path& p) { return decodeJpeg({}, p.string()); }
