#pragma once
#include <cstdint>

#include "uia/EventIds.h"

// The records that native windows send with their events (ids in
// EventIds.h). They live in the sender's frame and are valid only during the
// call.
namespace QX::UIA {

class HMenu;

struct WindowSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const WindowSize&, const WindowSize&) = default;
};

// Mouse buttons and actions of the mouse button event.
enum MouseButton : std::uint32_t { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum MouseAction : std::uint32_t { kPressed = 1, kReleased = 2, kDoubleClicked = 3 };

struct MouseButtonEvent {
    std::int32_t x = 0;  // client coordinates
    std::int32_t y = 0;
    std::uint32_t modifiers = 0;
    std::uint32_t button = 0;
    std::uint32_t action = 0;
};

// Moves (captured or not), entering and leaving.
struct MousePositionEvent {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint32_t modifiers = 0;
};

struct MouseWheelEvent {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint32_t modifiers = 0;
    std::int32_t delta = 0;      // 120 per notch
    std::uint32_t vertical = 1;  // 0 while Shift turns the wheel horizontal
};

struct RawMouseMotionEvent {
    std::int32_t x = 0;  // the last position
    std::int32_t y = 0;
    std::uint32_t modifiers = 0;
    std::uint32_t reserved = 0;
    double dx = 0.0;
    double dy = 0.0;
};

struct KeyPressEvent {
    std::uint32_t code = 0;
    std::uint32_t keyId = 0;
    std::uint32_t firstPress = 1;  // 0 for an auto-repeat
};

struct KeyReleaseEvent {
    std::uint32_t code = 0;
    std::uint32_t keyId = 0;
};

struct ModifiersEvent {
    std::uint32_t modifiers = 0;
    std::uint32_t reserved = 0;
};

// Typed text and dead keys point to the character as NUL-terminated UTF-8
// text (a `const char` array).

// A menu item's state is asked for while its menu opens.
struct MenuItemQuery {
    std::uint32_t commandId = 0;
    HMenu* menu = nullptr;
};

// A menu is about to open; the id is always -1.
struct MenuQuery {
    std::int32_t id = -1;
    HMenu* menu = nullptr;
};

}  // namespace QX::UIA
