#include "ImageFiles.h"

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace Art {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

void writePng(const std::string& path, const Image& image) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) throw std::runtime_error("cannot create " + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        throw std::runtime_error("libpng could not start for " + path);
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng failed writing " + path);
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int row = 0; row < image.height; ++row) {
        png_write_row(png, const_cast<png_bytep>(&image.rgba[std::size_t(row) * image.width * 4]));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fflush(file.get()) != 0) throw std::runtime_error("cannot write " + path);
}

namespace {

void put(std::vector<std::uint8_t>& bytes, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// BITMAPINFOHEADER with the doubled height of icons, BGRA rows bottom-up,
// then the AND mask (1 = transparent), rows padded to 32 bits.
std::vector<std::uint8_t> makeIconBitmap(const Image& image) {
    std::vector<std::uint8_t> bytes;
    put(bytes, 40, 4);
    put(bytes, image.width, 4);
    put(bytes, image.height * 2, 4);
    put(bytes, 1, 2);
    put(bytes, 32, 2);
    put(bytes, 0, 4);
    put(bytes, 0, 4);
    put(bytes, 0, 4);
    put(bytes, 0, 4);
    put(bytes, 0, 4);
    put(bytes, 0, 4);
    for (int row = image.height - 1; row >= 0; --row) {
        for (int column = 0; column < image.width; ++column) {
            const std::uint8_t* p = &image.rgba[(std::size_t(row) * image.width + column) * 4];
            bytes.insert(bytes.end(), {p[2], p[1], p[0], p[3]});
        }
    }
    const int maskStride = ((image.width + 31) / 32) * 4;
    for (int row = image.height - 1; row >= 0; --row) {
        std::vector<std::uint8_t> mask(maskStride, 0);
        for (int column = 0; column < image.width; ++column) {
            if (image.rgba[(std::size_t(row) * image.width + column) * 4 + 3] < 128) {
                mask[column / 8] |= static_cast<std::uint8_t>(0x80 >> (column % 8));
            }
        }
        bytes.insert(bytes.end(), mask.begin(), mask.end());
    }
    return bytes;
}

}  // namespace

void writeIcon(const std::string& path, const std::vector<Image>& sizes) {
    std::vector<std::vector<std::uint8_t>> bitmaps;
    for (const Image& image : sizes) bitmaps.push_back(makeIconBitmap(image));

    std::vector<std::uint8_t> bytes;
    put(bytes, 0, 2);
    put(bytes, 1, 2);
    put(bytes, static_cast<std::uint32_t>(sizes.size()), 2);
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(sizes.size());
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        put(bytes, sizes[i].width & 0xFF, 1);
        put(bytes, sizes[i].height & 0xFF, 1);
        put(bytes, 0, 1);  // no palette
        put(bytes, 0, 1);
        put(bytes, 1, 2);  // planes
        put(bytes, 32, 2);
        put(bytes, static_cast<std::uint32_t>(bitmaps[i].size()), 4);
        put(bytes, offset, 4);
        offset += static_cast<std::uint32_t>(bitmaps[i].size());
    }
    for (const auto& bitmap : bitmaps) bytes.insert(bytes.end(), bitmap.begin(), bitmap.end());

    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace Art
