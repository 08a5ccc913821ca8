#pragma once
#include <cstdint>
#include <vector>

#include "gp/Geometry.h"

namespace QX::UIA {

class WindowBase;

// How a native window is to be created.
struct WindowOptions {
    enum Mask : std::uint32_t {
        kSizeGiven = 0x1,
        kPositionGiven = 0x2,
        kClientSize = 0x4,
        kClientPosition = 0x8,
        kTitleGiven = 0x10,
        kBackgroundGiven = 0x20,
        kParentGiven = 0x40,
    };
    enum Style : std::uint32_t {
        kFixedSize = 0x1,
        kFramelessPopup = 0x80,
        kAcceptDrops = 0x400,
        kLayered = 0x1000,
        kDeferredErase = 0x4000,
        kZoomMenuItem = 0x20000,
        kToolbarMenuItem = 0x40000,
    };

    std::uint32_t mask = 0;
    std::uint32_t style = 0;
    GP::Rect rect;            // the size is right - left by bottom - top
    std::vector<char> title;  // NUL-terminated UTF-8 once set
    std::uint32_t backgroundColour = 0;  // a COLORREF; 0 is the system window colour
    WindowBase* parent = nullptr;

    // Copies the text with its terminator and marks the title as given.
    void setTitle(const char* text);
    const char* getTitle() const { return title.empty() ? "" : title.data(); }
    void setSize(std::int32_t width, std::int32_t height, bool client);
    void setPosition(std::int32_t x, std::int32_t y, bool client);
    void setBackgroundColour(std::uint32_t colour);
    void setParent(WindowBase* window);
};

// A storable description of a window's place on the screen.
struct WindowPlacement {
    enum ShowState : std::int32_t { kHidden = 0, kNormal = 1, kMinimized = 2, kMaximized = 3 };
    // A position at or below this value is not set.
    static constexpr std::int32_t kUnset = -10000;

    std::int32_t showState = kHidden;
    std::int32_t x = kUnset;       // restored frame's top-left corner
    std::int32_t y = kUnset;
    std::int32_t width = 0;        // restored client size
    std::int32_t height = 0;
    std::int32_t minimizedX = -1;  // below 0: none
    std::int32_t minimizedY = -1;
    std::int32_t layer = 0;        // 0 normal, 4 topmost, 3 MDI child, 5 tool popup, 10 non-activating tool popup
    std::int32_t layerIndex = 0;

    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

}  // namespace QX::UIA
