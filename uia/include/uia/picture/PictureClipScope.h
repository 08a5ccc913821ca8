#pragma once
#include <cstdint>

#include "uia/picture/PictureRect.h"

namespace QX::UIA {

class Picture;

// Narrows a picture's clip to a rectangle for the lifetime of the scope and
// then restores the origin and the clip as they were.
class PictureClipScope {
public:
    PictureClipScope(Picture& picture, const PictureRect& rect);
    ~PictureClipScope();
    PictureClipScope(const PictureClipScope&) = delete;
    PictureClipScope& operator=(const PictureClipScope&) = delete;

private:
    Picture& picture_;
    std::int32_t originX_;
    std::int32_t originY_;
    bool clipActive_;
    PictureRect clip_;
};

}  // namespace QX::UIA
