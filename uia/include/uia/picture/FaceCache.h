#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include "uia/picture/FTRenderCache.h"

namespace QX::UIA::DETAIL {

// A font is known by its resource id or by its name.
using FaceKey = std::variant<std::int32_t, std::string>;

struct FaceKeyHash {
    std::size_t operator()(const FaceKey& key) const noexcept;
};

struct RenderCacheKeyHash {
    std::size_t operator()(const tRenderCacheKey& key) const noexcept;
};

// The bytes of one font and the render caches made from them, held weakly:
// a cache lives as long as some font holds it.
class FaceHolder {
public:
    explicit FaceHolder(std::vector<std::uint8_t> bytes);

    // The live cache for the key, or a new one; null when the face cannot be
    // opened or sized.
    std::shared_ptr<FTRenderCache> getRenderCache(const FreeTypeLibrary& library, tRenderCacheKey key);
    const std::vector<std::uint8_t>& getBytes() const { return *bytes_; }

private:
    FontBytes bytes_;
    std::unordered_map<tRenderCacheKey, std::weak_ptr<FTRenderCache>, RenderCacheKeyHash> caches_;
};

// The process-wide faces: the FreeType library and one holder per font.
class FaceCache {
public:
    FaceCache();
    FaceCache(const FaceCache&) = delete;
    FaceCache& operator=(const FaceCache&) = delete;

    // The one cache of the process, made on first use.
    static const std::shared_ptr<FaceCache>& getProcessCache();

    // The holder of the key; a new one taking over `bytes` when there is none
    // and the bytes make a face that draws text; else null.
    std::shared_ptr<FaceHolder> getFaceHolder(const FaceKey& key, std::vector<std::uint8_t> bytes = {});
    const FreeTypeLibrary& getLibrary() const { return library_; }

private:
    FreeTypeLibrary library_;
    std::unordered_map<FaceKey, std::shared_ptr<FaceHolder>, FaceKeyHash> holders_;
};

}  // namespace QX::UIA::DETAIL
