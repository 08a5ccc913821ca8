#pragma once
#include <cstdint>

// What the pane hands its widgets: mouse, wheel and key events in widget
// coordinates, and the ids of the widget mouse events.
namespace QX::NWL {

// Widget mouse event ids for the mouse button index b (the framework's button
// number: 1 left, 2 right, 4 middle). Besides these, widgets receive 1002
// (move), 1004 (enter), 1005 (leave or capture lost) and 1006 (raw motion).
namespace WidgetMouseId {
inline constexpr std::uint32_t kPress = 100001;
inline constexpr std::uint32_t kRelease = 100007;
inline constexpr std::uint32_t kClick = 100013;
inline constexpr std::uint32_t kDoubleClick = 100019;
inline constexpr std::uint32_t kDrag = 100025;
inline constexpr std::uint32_t kButtonCount = 5;
// The button that starts drags.
inline constexpr std::uint32_t kDragButton = 1;

inline constexpr std::uint32_t press(std::uint32_t b) { return kPress + b; }
inline constexpr std::uint32_t release(std::uint32_t b) { return kRelease + b; }
inline constexpr std::uint32_t click(std::uint32_t b) { return kClick + b; }
inline constexpr std::uint32_t doubleClick(std::uint32_t b) { return kDoubleClick + b; }
inline constexpr std::uint32_t drag(std::uint32_t b) { return kDrag + b; }
}  // namespace WidgetMouseId

// Kinds of a widget mouse event (the framework's button actions).
enum WidgetMouseKind : std::uint32_t { kMousePressed = 1, kMouseReleased = 2, kMouseDoubleClicked = 3 };

struct WidgetMouseEvent {
    std::int32_t x = 0;  // relative to the receiving widget
    std::int32_t y = 0;
    std::uint32_t modifiers = 0;
    std::uint32_t button = 0;
    std::uint32_t kind = 0;
    // Raw relative motion (event 1006 only).
    double dx = 0.0;
    double dy = 0.0;
};

struct WidgetWheelEvent {
    std::int32_t x = 0;  // relative to the receiving widget
    std::int32_t y = 0;
    std::uint32_t modifiers = 0;
    // Whole notches, positive when the wheel turns towards the user.
    std::int32_t notches = 0;
    bool vertical = true;
};

// A key event of ids 1100-1104: the key code word and key id for presses and
// releases, the UTF-8 text of typed characters and dead keys, the modifier
// word of a modifier change.
struct WidgetKeyEvent {
    std::uint32_t code = 0;
    std::uint32_t keyId = 0;
    bool firstPress = true;
    const char* text = nullptr;
    std::uint32_t modifiers = 0;
};

}  // namespace QX::NWL
