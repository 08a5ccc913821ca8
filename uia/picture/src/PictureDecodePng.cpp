// PNG through libpng. libpng reports errors by a long jump: everything with
// a destructor lives in the caller's frame (tPngDecoder), and the frame that
// sets the jump point holds only plain values.
#include <png.h>

#include <csetjmp>
#include <vector>

#include "gp/StorageIO.h"
#include "uia/picture/Picture.h"

namespace QX::UIA {
namespace {

struct tPngDecoder {
    explicit tPngDecoder(GP::StorageIO& source) : reader(source) {}
    ~tPngDecoder() {
        if (png) {
            png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        }
    }
    tPngDecoder(const tPngDecoder&) = delete;
    tPngDecoder& operator=(const tPngDecoder&) = delete;

    GP::StorageIO& reader;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<png_bytep> rows;
};

[[noreturn]] void jumpOnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

void readFromStorage(png_structp png, png_bytep data, png_size_t length) {
    auto* decoder = static_cast<tPngDecoder*>(png_get_io_ptr(png));
    if (decoder->reader.read(data, length) != length) {
        png_error(png, "unexpected end of data");  // a short read must not decode stale bytes
    }
}

// Asks libpng for 8-bit BGRA rows whatever the file holds; false for colour
// types we do not take.
bool requestBgra(png_structp png, png_infop info, int colourType, int bitDepth) {
    if (png_get_valid(png, info, PNG_INFO_tRNS)) {
        png_set_tRNS_to_alpha(png);
    }
    if (bitDepth == 16) {
        png_set_strip_16(png);
    }
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY:
        if (bitDepth < 8) {
            png_set_expand_gray_1_2_4_to_8(png);
        }
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
        png_set_gray_to_rgb(png);
        return true;
    case PNG_COLOR_TYPE_RGB:
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
        png_set_bgr(png);
        return true;
    case PNG_COLOR_TYPE_PALETTE:
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
        png_set_palette_to_rgb(png);
        png_set_bgr(png);
        return true;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        png_set_gray_to_rgb(png);
        return true;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        png_set_bgr(png);
        return true;
    default:
        return false;
    }
}

bool hasTranslucentPixel(const Picture& picture) {
    const std::uint32_t* pixels = picture.getPixels();
    const std::size_t count = std::size_t(picture.getWidth()) * picture.getHeight();
    std::uint32_t all = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < count; ++i) {
        all &= pixels[i];
    }
    return (all >> 24) != 0xFF;
}

// Runs libpng up to the decoded pixels. Only plain values live here.
bool readImage(tPngDecoder& decoder, Picture& picture, int& colourType) {
    png_structp png = decoder.png;
    png_infop info = decoder.info;
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, &interlace, nullptr, nullptr);
    if (!requestBgra(png, info, colourType, bitDepth)) {
        return false;
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != png_size_t(width) * 4 || !picture.resize(width, height, true)) {
        return false;
    }
    decoder.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) {
        decoder.rows[y] = reinterpret_cast<png_bytep>(picture.getRow(y));
    }
    png_read_image(png, decoder.rows.data());
    png_read_end(png, nullptr);
    return true;
}

}  // namespace

bool Picture::decodePng(GP::StorageIO& reader, bool detectAlpha) {
    tPngDecoder decoder(reader);
    decoder.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, jumpOnError, ignoreWarning);
    if (!decoder.png) {
        return false;
    }
    decoder.info = png_create_info_struct(decoder.png);
    if (!decoder.info) {
        return false;
    }
    png_set_read_fn(decoder.png, &decoder, readFromStorage);
    int colourType = -1;
    if (!readImage(decoder, *this, colourType)) {
        return false;
    }
    // A transparent colour (tRNS) gives grey and RGB files alpha too.
    const bool mayHaveAlpha = colourType == PNG_COLOR_TYPE_PALETTE || colourType == PNG_COLOR_TYPE_GRAY_ALPHA ||
                              colourType == PNG_COLOR_TYPE_RGB_ALPHA ||
                              png_get_valid(decoder.png, decoder.info, PNG_INFO_tRNS) != 0;
    setOption(detectAlpha && mayHaveAlpha && hasPixels() && hasTranslucentPixel(*this));
    return true;
}

}  // namespace QX::UIA
