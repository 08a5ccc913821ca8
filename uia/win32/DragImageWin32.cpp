#include "DragImageWin32.h"

#include <cstring>

#include "uia/picture/Picture.h"

namespace QX::UIA::DETAIL {
namespace {

constexpr COLORREF kColourKey = RGB(0xC0, 0xC0, 0xC0);

BITMAPV5HEADER topDownHeader(const Picture& picture) {
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof header;
    header.bV5Width = static_cast<LONG>(picture.getWidth());
    header.bV5Height = -static_cast<LONG>(picture.getHeight());
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    return header;
}

// A DIB section that keeps the picture's alpha.
HBITMAP makeAlphaBitmap(const Picture& picture) {
    BITMAPV5HEADER header = topDownHeader(picture);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                      &bits, nullptr, 0);
    if (bitmap && bits)
        std::memcpy(bits, picture.getPixels(),
                    std::size_t(picture.getWidth()) * picture.getHeight() * sizeof(std::uint32_t));
    return bitmap;
}

// A bitmap of the screen's format; the colour key marks what is see-through.
HBITMAP makeOpaqueBitmap(const Picture& picture) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, static_cast<int>(picture.getWidth()),
                                            static_cast<int>(picture.getHeight()));
    if (bitmap) {
        BITMAPV5HEADER header = topDownHeader(picture);
        SetDIBits(screen, bitmap, 0, picture.getHeight(), picture.getPixels(),
                  reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    }
    ReleaseDC(nullptr, screen);
    return bitmap;
}

}  // namespace

IDragSourceHelper* createDragImage(IDataObject* dataObject, const DragImage& image) {
    const Picture* picture = image.picture;
    if (!picture || !picture->hasPixels() || picture->getWidth() == 0 || picture->getHeight() == 0)
        return nullptr;
    IDragSourceHelper* helper = nullptr;
    if (FAILED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDragSourceHelper,
                                reinterpret_cast<void**>(&helper))) ||
        !helper)
        return nullptr;
    SHDRAGIMAGE dragImage{};
    dragImage.sizeDragImage = {static_cast<LONG>(picture->getWidth()), static_cast<LONG>(picture->getHeight())};
    dragImage.ptOffset = {image.offset.x, image.offset.y};
    const bool alpha = picture->getOption();
    dragImage.hbmpDragImage = alpha ? makeAlphaBitmap(*picture) : makeOpaqueBitmap(*picture);
    dragImage.crColorKey = alpha ? CLR_NONE : kColourKey;
    if (dragImage.hbmpDragImage && FAILED(helper->InitializeFromBitmap(&dragImage, dataObject)))
        DeleteObject(dragImage.hbmpDragImage);
    return helper;
}

}  // namespace QX::UIA::DETAIL
