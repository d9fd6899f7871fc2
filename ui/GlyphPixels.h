#pragma once
// The toolkit's own pictures of the style glyphs the windows show (save, reload, the
// right and down arrows, the file contents), copied out of the toolkit's resources when the program is built
// (tools/GlyphPixels.cpp), so that showing them decodes nothing: reading a PNG at
// run time makes the toolkit load every image-format plugin it has to ask which of
// them reads it.

#include <cstddef>
#include <cstdint>

struct GlyphPicture {
    int which;  // QStyle::StandardPixmap
    int width;
    int height;
    const std::uint32_t* pixels;  // premultiplied ARGB, row by row from the top
};

// Several sizes of a glyph follow one another. A glyph whose pictures the toolkit the
// program was built with did not carry has none; the style is asked for it instead.
extern const GlyphPicture kGlyphPictures[];
extern const std::size_t kGlyphPictureCount;
