#include "uia/picture/FaceCache.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include FT_FONT_FORMATS_H

#include "CompositeGlyphBounds.h"
#include "GlyphSpan.h"

namespace QX::UIA::DETAIL {
namespace {

// How many distinct glyphs the check below loads. The characters that draw
// nothing (controls, spaces, format characters, variation selectors, tags:
// about 500 in all of Unicode) come before the supplementary private use
// planes, so even an icon font there that gave each of them an empty glyph
// of its own reaches its first outline within the bound. It keeps a file
// whose glyphs are all empty (truncated, or made to draw nothing) from having
// each of them loaded whenever it is opened.
constexpr std::size_t kMaxGlyphsLoaded = 1024;

// How many mapped code points the check walks. A step costs a few
// nanoseconds, but a map may give one glyph to a range of up to 2^32 code
// points (half a minute of steps); no font that draws maps a whole plane's
// worth of code points to empty glyphs ahead of its first outline.
constexpr std::size_t kMaxCodePointsWalked = 0x10000;

// Whether some glyph that the Unicode map reaches has an outline that
// drawing renders. Glyph 0 is not reached: FreeType answers an unmapped code
// point with it, and drawing does not use it. Each glyph is loaded once,
// however many code points share it (runs of spaces and controls often do).
bool mapsAnOutline(FT_Face face)
{
    std::vector<bool> loaded(static_cast<std::size_t>(std::max<FT_Long>(face->num_glyphs, 0)));
    std::size_t loads = 0;
    FT_UInt index = 0;
    FT_ULong codePoint = FT_Get_First_Char(face, &index);
    for (std::size_t walked = 0; index != 0 && walked < kMaxCodePointsWalked; ++walked) {
        if (index < loaded.size() && !loaded[index]) {
            if (loads == kMaxGlyphsLoaded) return false;
            loaded[index] = true;
            ++loads;
            if (FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP) == 0 &&
                face->glyph->format == FT_GLYPH_FORMAT_OUTLINE && face->glyph->outline.n_points > 0 &&
                spansFewEms(face->glyph->outline, face->units_per_EM))
                return true;
        }
        codePoint = FT_Get_Next_Char(face, codePoint, &index);
    }
    return false;
}

// Whether FreeType reads the face as TrueType (from a collection or a web
// font too), as the program's fonts are. The other formats it opens draw
// their glyphs with charstring programs (Type 1, CFF, the CID fonts), whose
// subroutine calls can keep FreeType busy for a tenth of a second a glyph
// before it gives up, or compose TrueType glyphs out of reach of the
// composite walk (Type 42): nothing bounds what their glyphs cost before one
// is loaded.
bool isTrueType(FT_Face face)
{
    const char* format = FT_Get_Font_Format(face);
    return format && std::strcmp(format, "TrueType") == 0;
}

// Whether the bytes make a face that can draw text: FreeType opens them as a
// scalable TrueType face with a Unicode map that reaches an outlined glyph
// that drawing renders, at any code point (a symbol or icon font may have no
// ASCII glyph at all), among the first kMaxGlyphsLoaded distinct glyphs and
// kMaxCodePointsWalked code points of its map. A truncated file often opens
// with every glyph empty, and a font may make every glyph too large to be
// rendered: its fonts would measure text and draw none of it.
// No glyph of the face, mapped or not, nests composites deeper than
// kMaxCompositeDepth, expands to more than kMaxCompositeComponents components
// or is made of itself: such a glyph would keep the check, or later the
// drawing of the glyph, busy for minutes. That is known before any glyph is
// loaded, and a face refused as a whole leaves drawing with nothing to check.
bool isDrawableFace(FT_Library library, const std::vector<std::uint8_t>& bytes)
{
    FT_Face face = nullptr;
    if (!library || FT_New_Memory_Face(library, bytes.data(), static_cast<FT_Long>(bytes.size()), 0, &face) != 0)
        return false;
    const bool drawable = isTrueType(face) && FT_IS_SCALABLE(face) &&
                          FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0 && compositesStayWithinBounds(face) &&
                          mapsAnOutline(face);
    FT_Done_Face(face);
    return drawable;
}

FreeTypeLibrary initFreeType()
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return nullptr;
    return FreeTypeLibrary(library, [](FT_Library done) { FT_Done_FreeType(done); });
}

}  // namespace

std::size_t FaceKeyHash::operator()(const FaceKey& key) const noexcept
{
    const std::size_t valueHash = std::visit(
        [](const auto& value) { return std::hash<std::decay_t<decltype(value)>>{}(value); }, key);
    return valueHash * 31u + key.index();
}

std::size_t RenderCacheKeyHash::operator()(const tRenderCacheKey& key) const noexcept
{
    return (std::size_t(key.pixelSize) << 1) | std::size_t(key.hinting);
}

FaceHolder::FaceHolder(std::vector<std::uint8_t> bytes)
    : bytes_(std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes)))
{
}

std::shared_ptr<FTRenderCache> FaceHolder::getRenderCache(const FreeTypeLibrary& library, tRenderCacheKey key)
{
    const auto found = caches_.find(key);
    if (found != caches_.end()) {
        if (auto live = found->second.lock()) return live;
        caches_.erase(found);
    }
    auto cache = FTRenderCache::create(library, bytes_, key);
    if (cache) caches_.emplace(key, cache);
    return cache;
}

FaceCache::FaceCache() : library_(initFreeType()), holders_(8)
{
    holders_.max_load_factor(1.0f);
}

const std::shared_ptr<FaceCache>& FaceCache::getProcessCache()
{
    static const std::shared_ptr<FaceCache> cache = std::make_shared<FaceCache>();
    return cache;
}

std::shared_ptr<FaceHolder> FaceCache::getFaceHolder(const FaceKey& key, std::vector<std::uint8_t> bytes)
{
    const auto found = holders_.find(key);
    if (found != holders_.end()) return found->second;
    // Unusable bytes get no holder, so that a later font of the same key may
    // still bring usable ones.
    if (bytes.empty() || !isDrawableFace(library_.get(), bytes)) return nullptr;
    auto holder = std::make_shared<FaceHolder>(std::move(bytes));
    holders_.emplace(key, holder);
    return holder;
}

}  // namespace QX::UIA::DETAIL
