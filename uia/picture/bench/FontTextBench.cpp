// Measuring and drawing one line of a label with a warm glyph cache, against
// rendering the same glyphs with FreeType for every draw.
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

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

}  // namespace

BENCHMARK_MAIN();
