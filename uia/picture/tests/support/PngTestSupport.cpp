#include "PngTestSupport.h"

#include <png.h>

#include <filesystem>
#include <fstream>

#include "uia/picture/Picture.h"

namespace QX::UIA::Test {
namespace {

void appendToBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

int channelsOf(int colourType) {
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY: return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_PALETTE: return 1;
    default: return 4;
    }
}

}  // namespace

Bytes encodePng(const tPngImage& image) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, appendToBytes, flushNothing);
    png_set_IHDR(png, info, image.width, image.height, image.bitDepth, image.colourType,
                 image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (std::size_t i = 0; i + 2 < image.palette.size(); i += 3) {
        palette.push_back(png_color{image.palette[i], image.palette[i + 1], image.palette[i + 2]});
    }
    if (!palette.empty()) {
        png_set_PLTE(png, info, palette.data(), int(palette.size()));
    }
    if (!image.transparency.empty()) {
        if (image.colourType == PNG_COLOR_TYPE_PALETTE) {
            png_set_tRNS(png, info, image.transparency.data(), int(image.transparency.size()), nullptr);
        } else {
            png_color_16 colour{};
            colour.gray = image.transparency[0];
            colour.red = image.transparency[0];
            colour.green = image.transparency.size() > 1 ? image.transparency[1] : 0;
            colour.blue = image.transparency.size() > 2 ? image.transparency[2] : 0;
            png_set_tRNS(png, info, nullptr, 0, &colour);
        }
    }
    png_write_info(png, info);
    const std::size_t rowBytes = (std::size_t(image.width) * channelsOf(image.colourType) * image.bitDepth + 7) / 8;
    std::vector<png_bytep> rows(image.height);
    for (std::uint32_t y = 0; y < image.height; ++y) {
        rows[y] = const_cast<png_bytep>(image.rows.data() + y * rowBytes);
    }
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

bool writePng(const std::uint32_t* pixels, std::uint32_t width, std::uint32_t height, const std::string& path) {
    if (!pixels || width == 0 || height == 0) {
        return false;
    }
    tPngImage image;
    image.width = width;
    image.height = height;
    image.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    image.rows.reserve(std::size_t(width) * height * 4);
    for (std::size_t i = 0; i < std::size_t(width) * height; ++i) {
        const std::uint32_t argb = pixels[i];
        image.rows.insert(image.rows.end(), {std::uint8_t(argb >> 16), std::uint8_t(argb >> 8), std::uint8_t(argb),
                                             std::uint8_t(argb >> 24)});
    }
    const Bytes bytes = encodePng(image);
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    file.close();
    return !file.fail();
}

bool writePng(const Picture& picture, const std::string& path) {
    return writePng(picture.getPixels(), picture.getWidth(), picture.getHeight(), path);
}

}  // namespace QX::UIA::Test
