#include "uia/WindowOptions.h"

#include <cstring>

namespace QX::UIA {

void WindowOptions::setTitle(const char* text) {
    if (text == nullptr) text = "";
    const std::size_t needed = std::strlen(text) + 1;
    if (title.size() < needed) title.resize(needed);
    std::memcpy(title.data(), text, needed);
    mask |= kTitleGiven;
}

void WindowOptions::setSize(std::int32_t width, std::int32_t height, bool client) {
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
    mask |= kSizeGiven;
    if (client) mask |= kClientSize; else mask &= ~std::uint32_t(kClientSize);
}

void WindowOptions::setPosition(std::int32_t x, std::int32_t y, bool client) {
    const std::int32_t width = rect.right - rect.left;
    const std::int32_t height = rect.bottom - rect.top;
    rect = GP::Rect{x, y, x + width, y + height};
    mask |= kPositionGiven;
    if (client) mask |= kClientPosition; else mask &= ~std::uint32_t(kClientPosition);
}

void WindowOptions::setBackgroundColour(std::uint32_t colour) {
    backgroundColour = colour;
    mask |= kBackgroundGiven;
}

void WindowOptions::setParent(WindowBase* window) {
    parent = window;
    mask |= kParentGiven;
}

}  // namespace QX::UIA
