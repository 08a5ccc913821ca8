#include <cmath>

#include "gp/Path.h"
#include "gp/Storage.h"
#include "gp/StorageIO.h"
#include "uia/picture/Picture.h"

namespace QX::UIA {

bool Picture::loadFromStream(GP::StorageIO& reader, bool detectAlpha) {
    const std::int64_t start = reader.tell();
    if (decodePng(reader, detectAlpha)) {
        return true;
    }
    reader.seek(start, GP::kSeekStart);
    if (decodeJpeg(reader, detectAlpha)) {
        return true;
    }
    reader.seek(start, GP::kSeekStart);
    return decodeTga(reader, detectAlpha);
}

GP::Path makeScaledPictureName(const GP::Path& path, float scale) {
    if (scale == 1.0f || std::isnan(scale)) {
        return path;
    }
    GP::Path scaled = path;
    scaled.setName(path.name() + "@2x");
    return scaled;
}

}  // namespace QX::UIA
