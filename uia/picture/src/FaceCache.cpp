#include "uia/picture/FaceCache.h"

#include <functional>

namespace QX::UIA::DETAIL {
namespace {

// How many mapped code points the check below looks at. In a font that
// draws, only controls and spaces (a few dozen) come before its first
// outlined glyph, whatever its script or use (text, CJK, icons). The bound
// keeps a file whose glyphs are all empty (truncated, or made to draw
// nothing, which may map every code point) from having each of them looked
// at whenever it is opened.
constexpr int kMaxCodePointsTried = 1024;

// Whether some glyph that the Unicode map reaches has an outline. Glyph 0 is
// not reached: FreeType answers an unmapped code point with it, and drawing
// does not use it.
bool mapsAnOutline(FT_Face face)
{
    FT_UInt index = 0;
    FT_UInt previous = 0;
    FT_ULong codePoint = FT_Get_First_Char(face, &index);
    for (int tried = 0; index != 0 && tried < kMaxCodePointsTried; ++tried) {
        // Runs of code points often share one glyph (spaces, controls).
        if (index != previous && FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP) == 0 &&
            face->glyph->format == FT_GLYPH_FORMAT_OUTLINE && face->glyph->outline.n_points > 0)
            return true;
        previous = index;
        codePoint = FT_Get_Next_Char(face, codePoint, &index);
    }
    return false;
}

// Whether the bytes make a face that can draw text: FreeType opens them as a
// scalable face with a Unicode map that reaches an outlined glyph, at any
// code point (a symbol or icon font may have no ASCII glyph at all). A
// truncated file often opens with every glyph empty: its fonts would measure
// text and draw none of it.
bool isDrawableFace(FT_Library library, const std::vector<std::uint8_t>& bytes)
{
    FT_Face face = nullptr;
    if (!library || FT_New_Memory_Face(library, bytes.data(), static_cast<FT_Long>(bytes.size()), 0, &face) != 0)
        return false;
    const bool drawable =
        FT_IS_SCALABLE(face) && FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0 && mapsAnOutline(face);
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
