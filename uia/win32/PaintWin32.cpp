#include <windows.h>

#include <vector>

#include "uia/DeviceContext.h"
#include "uia/picture/Picture.h"
#include "WindowImplWin32.h"
#include "WindowProcedureWin32.h"

namespace QX::UIA {
namespace {

BITMAPINFOHEADER bitmapHeader(std::int32_t width, std::int32_t height, bool topDown) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = topDown ? -height : height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = DWORD(width) * DWORD(height) * 4;
    header.biXPelsPerMeter = topDown ? 1000 : 0;
    header.biYPelsPerMeter = topDown ? 1000 : 0;
    return header;
}

// Layered windows take premultiplied pixels, bottom row first.
void copyPremultiplied(const Picture& picture, std::uint8_t* target) {
    const std::uint32_t width = picture.getWidth();
    const std::uint32_t height = picture.getHeight();
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint32_t* source = picture.getRow(y);
        std::uint8_t* row = target + std::size_t(height - 1 - y) * width * 4;
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint32_t pixel = source[x];
            const std::uint32_t alpha = pixel >> 24;
            row[4 * x + 0] = std::uint8_t((pixel & 0xFF) * alpha / 255);
            row[4 * x + 1] = std::uint8_t(((pixel >> 8) & 0xFF) * alpha / 255);
            row[4 * x + 2] = std::uint8_t(((pixel >> 16) & 0xFF) * alpha / 255);
            row[4 * x + 3] = std::uint8_t(alpha);
        }
    }
}

using DETAIL::WindowImplWin32;

LRESULT handlePaint(WindowImplWin32& impl, WPARAM wParam, LPARAM lParam) {
    // The paint handler may destroy the window: the implementation keeps
    // its device context and drop target until it is deleted, but forgets
    // its handle.
    HWND hwnd = impl.getHandle();
    DETAIL::DropTargetImplWin32* dropTarget = impl.getDropTarget();
    const bool dragImageHidden = dropTarget != nullptr && dropTarget->showDragImage(false);
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(hwnd, &paint);
    DeviceContext* context = impl.getDeviceContext();
    bool handled = false;
    if (context != nullptr) {
        context->beginPainting(dc, &paint, float(impl.getScaleFactor()));
        handled = impl.sendEvent(EventId::kWindowPaint, &context);
        context->endPainting();
    }
    EndPaint(hwnd, &paint);
    const LRESULT answer = handled ? 0 : impl.callDefaultProcedure(WM_PAINT, wParam, lParam);
    if (dragImageHidden) dropTarget->showDragImage(true);
    return answer;
}

LRESULT handleEraseBackground(WindowImplWin32& impl, WPARAM wParam) {
    if (HBRUSH brush = impl.getBackgroundBrush(); brush != nullptr) {
        auto dc = reinterpret_cast<HDC>(wParam);
        RECT clip{};
        GetClipBox(dc, &clip);
        FillRect(dc, &clip, brush);
    }
    return 1;
}

}  // namespace

void DeviceContext::beginPainting(void* handle, void* paintStruct, float scale) {
    handle_ = handle;
    paintStruct_ = paintStruct;
    scale_ = scale;
    monitorScale_ = 1.0f;
}

void DeviceContext::endPainting() {
    paintStruct_ = nullptr;
    handle_ = nullptr;
}

void DeviceContext::drawPicture(const Picture& picture, bool) {
    if (handle_ == nullptr || !picture.hasPixels()) return;
    const auto width = std::int32_t(picture.getWidth());
    const auto height = std::int32_t(picture.getHeight());
    RECT area{0, 0, width, height};
    if (paintStruct_ != nullptr) area = static_cast<const PAINTSTRUCT*>(paintStruct_)->rcPaint;
    if (area.right == 0 || area.bottom == 0) {
        area.right = width;
        area.bottom = height;
    }
    const int areaWidth = area.right - area.left;
    const int areaHeight = area.bottom - area.top;
    BITMAPINFO info{};
    info.bmiHeader = bitmapHeader(width, height, true);
    SetDIBitsToDevice(static_cast<HDC>(handle_), area.left, area.top, DWORD(areaWidth), DWORD(areaHeight),
                      area.left, height - area.top - areaHeight, 0, UINT(height), picture.getPixels(), &info,
                      DIB_RGB_COLORS);
}

PictureDC::PictureDC(std::int32_t width, std::int32_t height) {
    HDC memory = CreateCompatibleDC(nullptr);
    if (memory == nullptr) return;
    BITMAPINFO info{};
    info.bmiHeader = bitmapHeader(width, height, true);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) {
        DeleteDC(memory);
        return;
    }
    handle_ = memory;
    bitmap_ = bitmap;
    pixels_ = static_cast<std::uint8_t*>(bits);
    previousBitmap_ = SelectObject(memory, bitmap);
}

PictureDC::~PictureDC() {
    if (handle_ == nullptr) return;
    SelectObject(static_cast<HDC>(handle_), static_cast<HGDIOBJ>(previousBitmap_));
    DeleteDC(static_cast<HDC>(handle_));
    DeleteObject(static_cast<HGDIOBJ>(bitmap_));
}

LRESULT handlePaintMessage(WindowImplWin32& impl, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) return handlePaint(impl, wParam, lParam);
    if (message == WM_ERASEBKGND) return handleEraseBackground(impl, wParam);
    return impl.callDefaultProcedure(message, wParam, lParam);
}

namespace DETAIL {

bool WindowImplBaseWin32::presentLayered(const Picture& picture) {
    if (!picture.hasPixels()) return true;
    const auto width = std::int32_t(picture.getWidth());
    const auto height = std::int32_t(picture.getHeight());
    HDC memory = CreateCompatibleDC(nullptr);
    if (memory == nullptr) return false;
    BITMAPINFO info{};
    info.bmiHeader = bitmapHeader(width, height, false);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr || bits == nullptr) {
        // Nothing to present into: the window keeps its last image.
        if (bitmap != nullptr) DeleteObject(bitmap);
        DeleteDC(memory);
        return false;
    }
    HGDIOBJ previous = SelectObject(memory, bitmap);
    GdiFlush();
    copyPremultiplied(picture, static_cast<std::uint8_t*>(bits));
    SIZE size{width, height};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    const BOOL presented = UpdateLayeredWindow(hwnd_, nullptr, nullptr, &size, memory, &source, 0, &blend, ULW_ALPHA);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return presented != FALSE;
}

}  // namespace DETAIL
}  // namespace QX::UIA
