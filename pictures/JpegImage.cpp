#include "JpegImage.h"

#include "TableError.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

#include <jerror.h>
#include <jpeglib.h>

namespace {

// A progressive picture may hold any number of scans; each one makes the library
// walk the whole coefficient buffer again. Real pictures have about ten.
constexpr int kMaxScans = 500;

// Limits the library's working memory (coefficient buffers of progressive pictures).
constexpr long kMaxDecoderMemory = 1L << 30;

// Map pictures are small; a file much larger than this is not one of ours.
constexpr std::uintmax_t kMaxJpegFileBytes = 256u * 1024u * 1024u;

// The library's default error handler ends the process. This one jumps back into
// decodeInto(), which lives in one frame that owns no objects with destructors
// between setjmp and the jump, so the jump skips only the library's C frames.
struct ErrorManager {
    jpeg_error_mgr pub{};
    std::jmp_buf jump{};
    char text[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void failWithLibraryMessage(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->text);
    std::longjmp(err->jump, 1);
}

void onError(j_common_ptr cinfo) { failWithLibraryMessage(cinfo); }

// Warnings are silenced, except those that mean the data ran out: the library would
// otherwise go on and fill the rest of the picture with grey.
void onMessage(j_common_ptr cinfo, int level) {
    if (level < 0) {
        const int code = cinfo->err->msg_code;
        if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER) failWithLibraryMessage(cinfo);
    }
}

void onProgress(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) return;
    auto* dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (dinfo->input_scan_number > kMaxScans) {
        auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
        std::snprintf(err->text, sizeof err->text, "more than %d scans", kMaxScans);
        std::longjmp(err->jump, 1);
    }
}

// Adobe writes CMYK inverted (255 = no ink); other writers store plain ink amounts.
void cmykRowToRgb(const JSAMPLE* cmyk, std::uint8_t* rgb, int width, bool inverted) {
    for (int x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        rgb[0] = static_cast<std::uint8_t>((c * k + 127) / 255);
        rgb[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
        rgb[2] = static_cast<std::uint8_t>((y * k + 127) / 255);
    }
}

enum class Outcome { Decoded, LibraryError, Empty, TooLarge, UnsupportedColours };

struct DecodeState {
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    jpeg_progress_mgr progress{};
    std::vector<JSAMPLE> cmykRow;
    unsigned long width = 0;
    unsigned long height = 0;
};

// Everything that can jump is in here; the caller turns the outcome into an error.
Outcome decodeInto(DecodeState& s, std::string_view bytes, int minSide, RgbImage& image) {
    jpeg_decompress_struct& cinfo = s.cinfo;
    cinfo.err = jpeg_std_error(&s.err.pub);
    s.err.pub.error_exit = onError;
    s.err.pub.emit_message = onMessage;
    s.err.pub.output_message = [](j_common_ptr) {};
    if (setjmp(s.err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return Outcome::LibraryError;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kMaxDecoderMemory;
    s.progress.progress_monitor = onProgress;
    cinfo.progress = &s.progress;
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);

    s.width = cinfo.image_width;
    s.height = cinfo.image_height;
    if (s.width == 0 || s.height == 0) {
        jpeg_destroy_decompress(&cinfo);
        return Outcome::Empty;
    }
    if (static_cast<long long>(s.width) * static_cast<long long>(s.height) > kMaxJpegPixels) {
        jpeg_destroy_decompress(&cinfo);
        return Outcome::TooLarge;
    }

    bool cmyk = false;
    switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
        cinfo.out_color_space = JCS_RGB;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        cinfo.out_color_space = JCS_CMYK;
        cmyk = true;
        break;
    default:
        jpeg_destroy_decompress(&cinfo);
        return Outcome::UnsupportedColours;
    }
    cinfo.scale_num = 1;
    cinfo.scale_denom = static_cast<unsigned>(jpegScaleDenominator(static_cast<long long>(s.width),
                                                                   static_cast<long long>(s.height), minSide));

    jpeg_start_decompress(&cinfo);
    const int width = static_cast<int>(cinfo.output_width);
    const int height = static_cast<int>(cinfo.output_height);
    if (cinfo.output_components != (cmyk ? 4 : 3)) {
        jpeg_destroy_decompress(&cinfo);
        return Outcome::UnsupportedColours;
    }
    image.width = width;
    image.height = height;
    image.rgb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    if (cmyk) s.cmykRow.resize(static_cast<std::size_t>(width) * 4);

    while (cinfo.output_scanline < cinfo.output_height) {
        std::uint8_t* row = image.rgb.data() + static_cast<std::size_t>(cinfo.output_scanline) *
                                                   static_cast<std::size_t>(width) * 3;
        JSAMPROW target = cmyk ? s.cmykRow.data() : row;
        if (jpeg_read_scanlines(&cinfo, &target, 1) != 1) break;
        if (cmyk) cmykRowToRgb(s.cmykRow.data(), row, width, cinfo.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return Outcome::Decoded;
}

std::string unreadable(const std::string& label, const std::string& reason) {
    return label + " is not a readable JPEG picture (" + reason + ")";
}

}  // namespace

int jpegScaleDenominator(long long width, long long height, int minSide) {
    int denominator = 1;
    for (const int next : {2, 4, 8}) {
        // The library rounds a scaled size up.
        if ((width + next - 1) / next < minSide || (height + next - 1) / next < minSide) break;
        denominator = next;
    }
    return denominator;
}

RgbImage decodeJpeg(std::string_view bytes, const std::string& label, int minSide) {
    if (bytes.empty()) throw TableError(unreadable(label, "the file is empty"));
    RgbImage image;
    DecodeState state;
    switch (decodeInto(state, bytes, minSide, image)) {
    case Outcome::Decoded:
        return image;
    case Outcome::LibraryError:
        throw TableError(unreadable(label, state.err.text));
    case Outcome::Empty:
        throw TableError(unreadable(label, "its header gives no width or no height"));
    case Outcome::TooLarge:
        throw TableError(unreadable(label, "its header claims " + std::to_string(state.width) +
                                               " by " + std::to_string(state.height) +
                                               " pixels, too large for a map picture"));
    case Outcome::UnsupportedColours:
        break;
    }
    throw TableError(unreadable(label, "unsupported colour layout"));
}

RgbImage readJpegFile(const std::filesystem::path& path, int minSide) {
    const std::string label = path.string();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) throw TableError(cannotOpenMessage(label));
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) throw TableError(cannotOpenMessage(label));
    if (size > kMaxJpegFileBytes) throw TableError(unreadable(label, "the file is too large"));
    std::ifstream in(path, std::ios::binary);
    if (!in) throw TableError(cannotOpenMessage(label));
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw TableError(cannotOpenMessage(label));
    return decodeJpeg(bytes, label, minSide);
}
