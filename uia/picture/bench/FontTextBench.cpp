// Measuring and drawing one line of a label with a warm glyph cache, against
// rendering the same glyphs with FreeType for every draw and against
// pixman's glyph cache.
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H
#include <pixman.h>

#include "gp/Stream.h"
#include "uia/picture/Font.h"
#include "uia/picture/Picture.h"

namespace {

using QX::UIA::Font;
using QX::UIA::Picture;
using QX::UIA::PictureRect;

const std::string kLine = "Firmware 2.4.1 is ready: click UPDATE to install it now, ok?";
static_assert(sizeof("Firmware 2.4.1 is ready: click UPDATE to install it now, ok?") == 61);
constexpr int kPixelSize = 12;
constexpr std::uint32_t kColour = 0xFF202020;

std::vector<std::uint8_t> readDefaultFont()
{
    std::ifstream file(std::string(QX_TEST_FONT_DIR) + "/default.ttf", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

Font makeFont()
{
    QX::UIA::FontDescription description;
    description.resourceId = 0;
    description.name = "bench-default.ttf";
    description.baseSize = kPixelSize;
    return Font(std::make_shared<QX::GP::MemoryStream>(readDefaultFont()), description);
}

// The same work with FreeType alone: render every glyph, blend its coverage.
class DirectFreeType {
public:
    DirectFreeType() : bytes_(readDefaultFont())
    {
        FT_Init_FreeType(&library_);
        FT_New_Memory_Face(library_, bytes_.data(), FT_Long(bytes_.size()), 0, &face_);
        FT_Set_Pixel_Sizes(face_, 0, kPixelSize);
    }
    ~DirectFreeType()
    {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }

    void draw(Picture& picture, int baseline)
    {
        int x = 0;
        for (const char c : kLine) {
            if (FT_Load_Char(face_, FT_ULong(c), FT_LOAD_RENDER | FT_LOAD_NO_HINTING) != 0) continue;
            const FT_GlyphSlot slot = face_->glyph;
            for (unsigned row = 0; row < slot->bitmap.rows; ++row) {
                const int y = baseline - slot->bitmap_top + int(row);
                if (y < 0 || y >= int(picture.getHeight())) continue;
                for (unsigned column = 0; column < slot->bitmap.width; ++column) {
                    const int px = x + slot->bitmap_left + int(column);
                    const unsigned a = slot->bitmap.buffer[row * slot->bitmap.pitch + column];
                    if (a == 0 || px < 0 || px >= int(picture.getWidth())) continue;
                    std::uint32_t& pixel = picture.getRow(std::uint32_t(y))[px];
                    pixel = (pixel & 0x00FFFFFF) | (std::min(255u, (pixel >> 24) + a) << 24);
                }
            }
            x += int((slot->advance.x + 32) >> 6);
        }
    }

private:
    std::vector<std::uint8_t> bytes_;
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

// The same line through pixman's glyph cache: glyphs rendered once, then
// each draw places them by their advances and composites them.
class PixmanGlyphs {
public:
    PixmanGlyphs() : bytes_(readDefaultFont()), pixels_(480 * 20, 0)
    {
        FT_Init_FreeType(&library_);
        FT_New_Memory_Face(library_, bytes_.data(), FT_Long(bytes_.size()), 0, &face_);
        FT_Set_Pixel_Sizes(face_, 0, kPixelSize);
        cache_ = pixman_glyph_cache_create();
        pixman_glyph_cache_freeze(cache_);
        for (const char c : kLine) insert(static_cast<unsigned char>(c));
        pixman_glyph_cache_thaw(cache_);
        const pixman_color_t colour{0x2020, 0x2020, 0x2020, 0xFFFF};
        source_ = pixman_image_create_solid_fill(&colour);
        dest_ = pixman_image_create_bits(PIXMAN_a8r8g8b8, 480, 20, pixels_.data(), 480 * 4);
        glyphs_.resize(kLine.size());
    }
    ~PixmanGlyphs()
    {
        pixman_image_unref(source_);
        pixman_image_unref(dest_);
        pixman_glyph_cache_destroy(cache_);
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }

    void measureAndDraw(int baseline)
    {
        int x = 0, count = 0;
        for (const char c : kLine) {
            const unsigned char key = static_cast<unsigned char>(c);
            const void* glyph = pixman_glyph_cache_lookup(cache_, this, glyphKey(key));
            if (glyph) glyphs_[std::size_t(count++)] = {x, baseline, glyph};
            x += advances_[key];
        }
        benchmark::DoNotOptimize(x);
        pixman_composite_glyphs_no_mask(PIXMAN_OP_OVER, source_, dest_, 0, 0, 0, 0, cache_, count, glyphs_.data());
    }

private:
    static void* glyphKey(unsigned char c) { return reinterpret_cast<void*>(std::uintptr_t(c) + 1); }

    void insert(unsigned char c)
    {
        if (pixman_glyph_cache_lookup(cache_, this, glyphKey(c))) return;
        if (FT_Load_Char(face_, FT_ULong(c), FT_LOAD_RENDER | FT_LOAD_NO_HINTING) != 0) return;
        const FT_GlyphSlot slot = face_->glyph;
        advances_[c] = int((slot->advance.x + 32) >> 6);
        const int width = int(slot->bitmap.width), rows = int(slot->bitmap.rows);
        if (width == 0 || rows == 0) return;
        pixman_image_t* image = pixman_image_create_bits(PIXMAN_a8, width, rows, nullptr, 0);
        auto* bits = reinterpret_cast<std::uint8_t*>(pixman_image_get_data(image));
        const int stride = pixman_image_get_stride(image);
        for (int row = 0; row < rows; ++row)
            std::copy_n(slot->bitmap.buffer + row * slot->bitmap.pitch, width, bits + row * stride);
        pixman_glyph_cache_insert(cache_, this, glyphKey(c), -slot->bitmap_left, slot->bitmap_top, image);
        pixman_image_unref(image);
    }

    std::vector<std::uint8_t> bytes_;
    std::vector<std::uint32_t> pixels_;
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    pixman_glyph_cache_t* cache_ = nullptr;
    pixman_image_t* source_ = nullptr;
    pixman_image_t* dest_ = nullptr;
    std::vector<pixman_glyph_t> glyphs_;
    int advances_[256] = {};
};

void preparePicture(Picture& picture)
{
    picture.resize(480, 20, true);
    picture.fill(0);
}

void measureAndDraw(const Font& font, Picture& picture)
{
    benchmark::DoNotOptimize(font.getTextWidth(kLine));
    font.drawText(picture, PictureRect(0, 0, 480, 20), kLine, kColour, QX::UIA::kAlignLeft, 0);
}

void BM_FontWarmCache(benchmark::State& state)
{
    const Font font = makeFont();
    Picture picture;
    preparePicture(picture);
    measureAndDraw(font, picture);  // warm the cache
    for (auto _ : state) measureAndDraw(font, picture);
}
BENCHMARK(BM_FontWarmCache);

void BM_FreeTypeDirect(benchmark::State& state)
{
    DirectFreeType freeType;
    Picture picture;
    preparePicture(picture);
    for (auto _ : state) freeType.draw(picture, 14);
}
BENCHMARK(BM_FreeTypeDirect);

// Both in one loop; the counter tells how many times faster the cache is.
void BM_WarmCacheSpeedUp(benchmark::State& state)
{
    const Font font = makeFont();
    DirectFreeType freeType;
    Picture picture;
    preparePicture(picture);
    measureAndDraw(font, picture);
    using Clock = std::chrono::steady_clock;
    Clock::duration cached{}, direct{};
    for (auto _ : state) {
        const auto start = Clock::now();
        measureAndDraw(font, picture);
        const auto middle = Clock::now();
        freeType.draw(picture, 14);
        direct += Clock::now() - middle;
        cached += middle - start;
    }
    state.counters["freetype_over_cache"] = double(direct.count()) / double(std::max<Clock::rep>(cached.count(), 1));
}
BENCHMARK(BM_WarmCacheSpeedUp);

// Ours against pixman's glyph cache in one loop: ours is the reported
// time, "speedup" is pixman's time over ours (above 1: we are faster).
void BM_WarmCacheVsPixmanGlyphCache(benchmark::State& state)
{
    const Font font = makeFont();
    PixmanGlyphs pixman;
    Picture picture;
    preparePicture(picture);
    measureAndDraw(font, picture);
    using Clock = std::chrono::steady_clock;
    double ours = 0, peer = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        measureAndDraw(font, picture);
        const auto middle = Clock::now();
        pixman.measureAndDraw(14);
        const auto end = Clock::now();
        const double oursTime = std::chrono::duration<double>(middle - start).count();
        ours += oursTime;
        peer += std::chrono::duration<double>(end - middle).count();
        state.SetIterationTime(oursTime);
    }
    const double n = double(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["ours_ns"] = ours / n * 1e9;
    state.counters["peer_ns"] = peer / n * 1e9;
    state.counters["speedup"] = ours > 0 ? peer / ours : 0;
}
BENCHMARK(BM_WarmCacheVsPixmanGlyphCache)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
