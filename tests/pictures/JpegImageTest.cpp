#include <gtest/gtest.h>

#include "JpegImage.h"
#include "MapPicture.h"
#include "TableError.h"
#include "TempFolder.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

struct Rgb {
    int r, g, b;
};

// Four flat quadrants: red, green / blue, white. Flat areas keep JPEG's error small.
constexpr Rgb kQuadrants[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};

int quadrantAt(int x, int y, int w, int h) { return (y >= h / 2 ? 2 : 0) + (x >= w / 2 ? 1 : 0); }

enum class Layout { Rgb, Grey, AdobeCmyk, PlainCmyk, Ycck };

// Samples of one pixel as the compressor is to store them for the given layout.
std::vector<JSAMPLE> samplesFor(Layout layout, Rgb c) {
    const int grey = (c.r + c.g + c.b) / 3;
    // Ink amounts of a pure colour: no black ink; each channel's ink is 255 - value.
    const int ci = 255 - c.r, mi = 255 - c.g, yi = 255 - c.b;
    switch (layout) {
    case Layout::Rgb:
        return {JSAMPLE(c.r), JSAMPLE(c.g), JSAMPLE(c.b)};
    case Layout::Grey:
        return {JSAMPLE(grey)};
    case Layout::AdobeCmyk:
    case Layout::Ycck:  // the compressor turns inverted CMYK into YCCK itself
        return {JSAMPLE(255 - ci), JSAMPLE(255 - mi), JSAMPLE(255 - yi), 255};
    case Layout::PlainCmyk:
        return {JSAMPLE(ci), JSAMPLE(mi), JSAMPLE(yi), 0};
    }
    return {};
}

Rgb expectedFor(Layout layout, Rgb c) {
    if (layout == Layout::Grey) {
        const int grey = (c.r + c.g + c.b) / 3;
        return {grey, grey, grey};
    }
    return c;
}

std::string compress(int w, int h, Layout layout, bool progressive, int quality = 95) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = static_cast<JDIMENSION>(w);
    cinfo.image_height = static_cast<JDIMENSION>(h);
    switch (layout) {
    case Layout::Rgb:
        cinfo.input_components = 3;
        cinfo.in_color_space = JCS_RGB;
        break;
    case Layout::Grey:
        cinfo.input_components = 1;
        cinfo.in_color_space = JCS_GRAYSCALE;
        break;
    default:
        cinfo.input_components = 4;
        cinfo.in_color_space = JCS_CMYK;
        break;
    }
    jpeg_set_defaults(&cinfo);
    if (layout == Layout::Ycck) jpeg_set_colorspace(&cinfo, JCS_YCCK);
    if (layout == Layout::PlainCmyk) cinfo.write_Adobe_marker = FALSE;
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row;
    while (cinfo.next_scanline < cinfo.image_height) {
        row.clear();
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < w; ++x) {
            const auto s = samplesFor(layout, kQuadrants[quadrantAt(x, y, w, h)]);
            row.insert(row.end(), s.begin(), s.end());
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char*>(out), outSize);
    std::free(out);
    return bytes;
}

Rgb pixel(const RgbImage& img, int x, int y) {
    const auto* p = &img.rgb[(static_cast<std::size_t>(y) * img.width + x) * 3];
    return {p[0], p[1], p[2]};
}

void expectNear(Rgb got, Rgb want, const std::string& where) {
    constexpr int kTolerance = 12;
    EXPECT_NEAR(got.r, want.r, kTolerance) << where << " red";
    EXPECT_NEAR(got.g, want.g, kTolerance) << where << " green";
    EXPECT_NEAR(got.b, want.b, kTolerance) << where << " blue";
}

// Offset of the frame header's height field (SOF0..SOF2), or npos.
std::size_t frameSizeOffset(const std::string& jpeg) {
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
        const auto a = static_cast<unsigned char>(jpeg[i]);
        const auto b = static_cast<unsigned char>(jpeg[i + 1]);
        if (a == 0xFF && b >= 0xC0 && b <= 0xC2) return i + 5;
    }
    return std::string::npos;
}

std::string withFrameSize(std::string jpeg, unsigned width, unsigned height) {
    const std::size_t at = frameSizeOffset(jpeg);
    EXPECT_NE(at, std::string::npos);
    jpeg[at] = static_cast<char>(height >> 8);
    jpeg[at + 1] = static_cast<char>(height & 0xFF);
    jpeg[at + 2] = static_cast<char>(width >> 8);
    jpeg[at + 3] = static_cast<char>(width & 0xFF);
    return jpeg;
}

// Runs decodeJpeg expecting a TableError; returns its text.
std::string decodeError(std::string_view bytes, const std::string& label) {
    try {
        const RgbImage img = decodeJpeg(bytes, label);
        ADD_FAILURE() << label << " decoded to " << img.width << "x" << img.height;
    } catch (const TableError& e) {
        return e.what();
    }
    return {};
}

struct LayoutCase {
    const char* name;
    Layout layout;
    bool progressive;
    int width, height;
};

class JpegLayouts : public testing::TestWithParam<LayoutCase> {};

TEST_P(JpegLayouts, DecodesSizeAndColours) {
    const LayoutCase& c = GetParam();
    const RgbImage img = decodeJpeg(compress(c.width, c.height, c.layout, c.progressive), c.name);
    ASSERT_EQ(img.width, c.width);
    ASSERT_EQ(img.height, c.height);
    ASSERT_EQ(img.rgb.size(), static_cast<std::size_t>(c.width) * c.height * 3);
    // Sample each quadrant's centre and its far corner.
    for (int q = 0; q < 4; ++q) {
        const int x0 = (q & 1) ? c.width / 2 : 0, y0 = (q & 2) ? c.height / 2 : 0;
        const int qw = c.width / 2, qh = c.height / 2;
        const Rgb want = expectedFor(c.layout, kQuadrants[q]);
        expectNear(pixel(img, x0 + qw / 2, y0 + qh / 2), want, "quadrant " + std::to_string(q));
        expectNear(pixel(img, (q & 1) ? c.width - 1 : 0, (q & 2) ? c.height - 1 : 0), want,
                   "corner " + std::to_string(q));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, JpegLayouts,
    testing::Values(LayoutCase{"baseline_rgb", Layout::Rgb, false, 64, 48},
                    LayoutCase{"progressive_rgb", Layout::Rgb, true, 80, 64},
                    LayoutCase{"odd_size_rgb", Layout::Rgb, false, 37, 21},
                    LayoutCase{"greyscale", Layout::Grey, false, 32, 32},
                    LayoutCase{"progressive_greyscale", Layout::Grey, true, 48, 32},
                    LayoutCase{"adobe_cmyk", Layout::AdobeCmyk, false, 48, 48},
                    LayoutCase{"progressive_adobe_cmyk", Layout::AdobeCmyk, true, 48, 48},
                    LayoutCase{"plain_cmyk_without_adobe_marker", Layout::PlainCmyk, false, 48, 48},
                    LayoutCase{"ycck", Layout::Ycck, false, 48, 48}),
    [](const auto& info) { return std::string(info.param.name); });

struct ScaleCase {
    const char* name;
    long long width, height;
    int minSide;
    int denominator;
};

class JpegScales : public testing::TestWithParam<ScaleCase> {};

TEST_P(JpegScales, SmallestScaleStillAtLeastMinSide) {
    const ScaleCase& c = GetParam();
    EXPECT_EQ(jpegScaleDenominator(c.width, c.height, c.minSide), c.denominator);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, JpegScales,
    testing::Values(ScaleCase{"sample_512", 512, 512, kLargestMapSide, 1},
                    ScaleCase{"largest_drawn_1280", 1280, 1280, kLargestMapSide, 1},
                    ScaleCase{"half_would_be_1279", 2558, 2558, kLargestMapSide, 1},
                    ScaleCase{"half_2560", 2560, 2560, kLargestMapSide, 2},
                    ScaleCase{"quarter_would_be_1279", 5116, 5116, kLargestMapSide, 2},
                    ScaleCase{"quarter_rounds_up_to_1280", 5117, 5117, kLargestMapSide, 4},
                    ScaleCase{"largest_taken_8192", 8192, 8192, kLargestMapSide, 4},
                    ScaleCase{"eighth_10240", 10240, 10240, kLargestMapSide, 8},
                    ScaleCase{"short_side_under_minimum", 8192, 1000, kLargestMapSide, 1},
                    ScaleCase{"short_side_decides", 8192, 3000, kLargestMapSide, 2},
                    ScaleCase{"any_size_8192", 8192, 8192, 1, 8},
                    ScaleCase{"any_size_one_pixel", 1, 1, 1, 8},
                    ScaleCase{"full_size", 8192, 8192, kFullSize, 1}),
    [](const auto& info) { return std::string(info.param.name); });

struct ScaledDecodeCase {
    const char* name;
    Layout layout;
    bool progressive;
    int minSide;
    int width, height;  // decoded from a 37 by 21 picture
};

class JpegScaledDecodes : public testing::TestWithParam<ScaledDecodeCase> {};

// The library's own rounding of the scaled size, and the colours at every scale.
TEST_P(JpegScaledDecodes, SizeAndColours) {
    const ScaledDecodeCase& c = GetParam();
    const RgbImage img = decodeJpeg(compress(37, 21, c.layout, c.progressive), c.name, c.minSide);
    ASSERT_EQ(img.width, c.width);
    ASSERT_EQ(img.height, c.height);
    for (int q = 0; q < 4; ++q)
        expectNear(pixel(img, (q & 1) ? img.width - 1 : 0, (q & 2) ? img.height - 1 : 0),
                   expectedFor(c.layout, kQuadrants[q]), "corner " + std::to_string(q));
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, JpegScaledDecodes,
    testing::Values(ScaledDecodeCase{"eighth", Layout::Rgb, false, 3, 5, 3},
                    ScaledDecodeCase{"quarter", Layout::Rgb, false, 4, 10, 6},
                    ScaledDecodeCase{"quarter_up_to_short_side", Layout::Rgb, false, 6, 10, 6},
                    ScaledDecodeCase{"half", Layout::Rgb, false, 7, 19, 11},
                    ScaledDecodeCase{"whole", Layout::Rgb, false, 12, 37, 21},
                    ScaledDecodeCase{"progressive_quarter", Layout::Rgb, true, 5, 10, 6},
                    ScaledDecodeCase{"greyscale_half", Layout::Grey, false, 8, 19, 11},
                    ScaledDecodeCase{"progressive_cmyk_eighth", Layout::AdobeCmyk, true, 1, 5, 3},
                    ScaledDecodeCase{"ycck_quarter", Layout::Ycck, false, 6, 10, 6}),
    [](const auto& info) { return std::string(info.param.name); });

// Up to the largest size a map is drawn at, its picture is decoded whole: the pixels
// drawn at every zoom are those of the full picture.
TEST(JpegImage, PicturesUpToTheLargestDrawnSizeDecodeWhole) {
    for (const bool progressive : {false, true}) {
        for (const auto& [width, height] : {std::pair{kLargestMapSide, kLargestMapSide}, std::pair{2558, 700}}) {
            const std::string bytes = compress(width, height, Layout::Rgb, progressive, 75);
            const RgbImage drawn = decodeJpeg(bytes, "map.jpg", kLargestMapSide);
            const RgbImage whole = decodeJpeg(bytes, "map.jpg");
            EXPECT_EQ(drawn.width, width);
            EXPECT_TRUE(drawn.rgb == whole.rgb) << width << "x" << height << (progressive ? " progressive" : "");
        }
    }
}

TEST(JpegImage, OnePixelPicture) {
    const RgbImage img = decodeJpeg(compress(1, 1, Layout::Rgb, false), "one.jpg");
    ASSERT_EQ(img.width, 1);
    ASSERT_EQ(img.height, 1);
    expectNear(pixel(img, 0, 0), kQuadrants[quadrantAt(0, 0, 1, 1)], "only pixel");
}

TEST(JpegImage, HostileInputsThrowNamingTheLabel) {
    const std::string good = compress(64, 64, Layout::Rgb, false, 90);
    const std::string progressive = compress(64, 64, Layout::Rgb, true, 90);
    std::vector<std::pair<std::string, std::string>> cases = {
        {"empty", ""},
        {"one byte", std::string(1, '\xFF')},
        {"start marker only", "\xFF\xD8"},
        {"text", "this is not a picture at all\r\n"},
        {"nul bytes", std::string(4096, '\0')},
        {"header 65535x65535", withFrameSize(good, 65535, 65535)},
        {"progressive header 65535x65535", withFrameSize(progressive, 65535, 65535)},
        {"header 0 wide", withFrameSize(good, 0, 64)},
        {"header 0 high", withFrameSize(good, 64, 0)},
    };
    for (const auto& [kind, whole] : {std::pair{"baseline", good}, std::pair{"progressive", progressive}}) {
        for (const std::size_t cut : {std::size_t{2}, std::size_t{20}, std::size_t{200}, whole.size() / 2,
                                      whole.size() - 40, whole.size() - 2}) {
            cases.emplace_back(std::string(kind) + " cut at " + std::to_string(cut), whole.substr(0, cut));
        }
    }
    std::mt19937 rng(12345);
    for (const std::size_t len : {7u, 100u, 5000u}) {
        std::string junk(len, '\0');
        for (char& ch : junk) ch = static_cast<char>(rng());
        cases.emplace_back("garbage " + std::to_string(len), junk);
        junk[0] = '\xFF';  // garbage behind a valid start marker
        junk[1] = '\xD8';
        cases.emplace_back("garbage after SOI " + std::to_string(len), junk);
    }
    for (const auto& [name, bytes] : cases) {
        const std::string label = "maps/" + name + ".jpg";
        const std::string text = decodeError(bytes, label);
        EXPECT_EQ(text.rfind(label + " is not a readable JPEG picture (", 0), 0u) << text;
        EXPECT_EQ(text.back(), ')') << text;
    }
}

TEST(JpegImage, RefusesTooLargeHeaderBeforeDecoding) {
    // Within the library's own limit but over ours: only our check stops it.
    const std::string text = decodeError(withFrameSize(compress(16, 16, Layout::Rgb, false), 20000, 20000),
                                         "big.jpg");
    EXPECT_NE(text.find("20000 by 20000"), std::string::npos) << text;
}

TEST(JpegImage, TrailingBytesAfterThePictureAreAccepted) {
    const RgbImage img = decodeJpeg(compress(16, 8, Layout::Rgb, false) + "trailing", "t.jpg");
    EXPECT_EQ(img.width, 16);
    EXPECT_EQ(img.height, 8);
}

TEST(JpegImage, ReadJpegFile) {
    TempFolder dir;
    dir.write("VarnexMaps/3.jpg", compress(20, 10, Layout::Grey, true));
    dir.write("VarnexMaps/empty.jpg", "");
    const RgbImage img = readJpegFile(dir.path() / "VarnexMaps" / "3.jpg");
    EXPECT_EQ(img.width, 20);
    EXPECT_EQ(img.height, 10);

    for (const auto& missing : {dir.path() / "VarnexMaps" / "9.jpg", dir.path() / "VarnexMaps"}) {
        try {
            readJpegFile(missing);
            ADD_FAILURE() << missing << " was read";
        } catch (const TableError& e) {
            EXPECT_EQ(std::string(e.what()), cannotOpenMessage(missing.string()));
        }
    }
    const auto empty = dir.path() / "VarnexMaps" / "empty.jpg";
    const std::string text = [&] {
        try {
            readJpegFile(empty);
        } catch (const TableError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    }();
    EXPECT_EQ(text.rfind(empty.string() + " is not a readable JPEG picture", 0), 0u) << text;
}

}  // namespace
