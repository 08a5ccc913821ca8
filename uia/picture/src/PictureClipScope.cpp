#include "uia/picture/PictureClipScope.h"

#include "uia/picture/Picture.h"

namespace QX::UIA {

PictureClipScope::PictureClipScope(Picture& picture, const PictureRect& rect)
    : picture_(picture),
      originX_(picture.getOriginX()),
      originY_(picture.getOriginY()),
      clipActive_(picture.isClipActive()),
      clip_(picture.getClipRect()) {
    picture_.setClipRect(clipActive_ ? clip_.intersected(rect) : rect);
}

PictureClipScope::~PictureClipScope() {
    picture_.setOrigin(originX_, originY_);
    if (clipActive_) {
        picture_.setClipRect(clip_);
    } else {
        picture_.resetClipRect();
    }
}

}  // namespace QX::UIA
