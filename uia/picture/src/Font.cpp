#include "uia/picture/Font.h"

#include <cmath>

#include "gp/Stream.h"

namespace QX::UIA {
namespace {

// The whole stream, or nothing when it cannot be read in full.
std::vector<std::uint8_t> readAllBytes(GP::Stream& stream)
{
    if (!stream.seek(0, GP::kSeekEnd)) return {};
    const std::int64_t size = stream.tell();
    if (size <= 0 || !stream.seek(0, GP::kSeekStart)) return {};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (stream.read(bytes.data(), bytes.size()) != bytes.size()) return {};
    return bytes;
}

}  // namespace

Font::Font(const std::shared_ptr<GP::Stream>& reader, const FontDescription& description)
{
    initialise(description, [&reader] { return reader ? readAllBytes(*reader) : std::vector<std::uint8_t>{}; });
}

Font::Font(const FontDescription& description)
{
    initialise(description, [&description] {
        std::vector<std::uint8_t> bytes;
        if (description.resourceId != 0) {
            if (const auto stream =
                    GP::createResourceStream(GP::ResourceId(description.resourceId), kFontResourceType, 1))
                bytes = readAllBytes(*stream);
        }
        return bytes;
    });
}

void Font::initialise(const FontDescription& description,
                      const std::function<std::vector<std::uint8_t>()>& readBytes)
{
    faceCache_ = description.faceCache ? description.faceCache : DETAIL::FaceCache::getProcessCache();
    resourceId_ = description.resourceId;
    name_ = description.name;
    baseSize_ = description.baseSize;
    underline_ = (description.styleFlags & kFontUnderline) != 0;
    hinting_ = (description.styleFlags & kFontHinting) != 0;
    scale_ = 1.0f;
    // A font is looked up by its id (or, without one, its name) alone; its
    // bytes are read only while no font of that key has brought a face that
    // draws.
    auto holder = findFaceHolder();
    if (!holder) holder = findFaceHolder(readBytes());
    if (!holder) return;
    const long pixelSize = std::lroundf(static_cast<float>(baseSize_) * scale_);
    if (pixelSize < 1) return;
    if (auto cache =
            holder->getRenderCache(faceCache_->getLibrary(), {static_cast<std::uint32_t>(pixelSize), hinting_}))
        caches_.emplace(scale_, std::move(cache));
}

std::shared_ptr<DETAIL::FaceHolder> Font::findFaceHolder(std::vector<std::uint8_t> bytes) const
{
    const DETAIL::FaceKey key =
        resourceId_ != 0 ? DETAIL::FaceKey(resourceId_) : DETAIL::FaceKey(name_);
    return faceCache_->getFaceHolder(key, std::move(bytes));
}

bool Font::isUsable() const { return faceCache_ && findFaceHolder(); }

void Font::setScale(float scale)
{
    // NaN cannot be a key of the ordered map of caches: such a scale is ignored.
    if (scale == scale_ || std::isnan(scale)) return;
    scale_ = scale;
    if (caches_.count(scale) != 0) return;
    const long pixelSize = std::lroundf(static_cast<float>(baseSize_) * scale);
    if (pixelSize < 1) return;
    if (const auto holder = findFaceHolder()) {
        if (auto cache = holder->getRenderCache(faceCache_->getLibrary(),
                                                {static_cast<std::uint32_t>(pixelSize), hinting_}))
            caches_.emplace(scale, std::move(cache));
    }
}

// Glyphs of another scale would have the wrong size: without a cache for the
// current scale one is made now, or there is none.
const std::shared_ptr<DETAIL::FTRenderCache>& Font::getRenderCache() const
{
    static const std::shared_ptr<DETAIL::FTRenderCache> none;
    if (const auto current = caches_.find(scale_); current != caches_.end()) return current->second;
    if (!faceCache_) return none;
    const long pixelSize = std::lroundf(static_cast<float>(baseSize_) * scale_);
    const auto holder = pixelSize >= 1 ? findFaceHolder() : nullptr;
    if (!holder) return none;
    auto cache = holder->getRenderCache(faceCache_->getLibrary(), {static_cast<std::uint32_t>(pixelSize), hinting_});
    if (!cache) return none;
    return caches_.emplace(scale_, std::move(cache)).first->second;
}

std::int32_t roundAdvance(std::int32_t advance26Dot6)
{
    const std::int32_t whole = advance26Dot6 >> 6;  // floor
    const std::int32_t fraction = advance26Dot6 & 63;
    if (fraction > 32) return whole + 1;
    if (fraction == 32) return whole + (whole & 1);
    return whole;
}

}  // namespace QX::UIA
