#pragma once
#include <cstdint>

// The framework's event ids, shared by every sender and receiver. Ids are
// grouped: 2 timer; 1000-1099 mouse; 1100-1199 keyboard; 1200-1299 commands
// and menus; 1300-1399 drag and drop; from 10000 application-wide events;
// from 1000000 native window events. The comment after each id names its
// data.
namespace QX::UIA::EventId {

inline constexpr std::uint32_t kTimer = 2;  // TimerEventData*

inline constexpr std::uint32_t kMouseButton = 1000;        // mouse event record
inline constexpr std::uint32_t kMouseMoveCaptured = 1001;  // mouse event record
inline constexpr std::uint32_t kMouseMove = 1002;          // mouse event record
inline constexpr std::uint32_t kMouseWheel = 1003;         // mouse event record, 120 units a notch
inline constexpr std::uint32_t kMouseEntered = 1004;       // mouse event record
inline constexpr std::uint32_t kMouseLeft = 1005;          // mouse event record
inline constexpr std::uint32_t kMouseRawMotion = 1006;     // the two deltas as doubles

inline constexpr std::uint32_t kKeyPressed = 1100;        // key record
inline constexpr std::uint32_t kKeyReleased = 1101;       // key record
inline constexpr std::uint32_t kTextTyped = 1102;         // the character as UTF-8 text
inline constexpr std::uint32_t kModifiersChanged = 1103;  // the new modifier word and 0
inline constexpr std::uint32_t kDeadKey = 1104;           // the character as UTF-8 text

inline constexpr std::uint32_t kCommand = 1200;             // std::uint32_t* command number
inline constexpr std::uint32_t kMenuItemStateQuery = 1201;  // command id, then HMenu*
inline constexpr std::uint32_t kMenuAboutToOpen = 1202;     // menu record

inline constexpr std::uint32_t kDragOver = 1300;      // drag record
inline constexpr std::uint32_t kDrop = 1301;          // drag record with the drop modifiers
inline constexpr std::uint32_t kDragLeave = 1303;     // drag record
inline constexpr std::uint32_t kOwnDragEnded = 1304;  // std::uint32_t* result effect

inline constexpr std::uint32_t kApplicationActivated = 10000;
inline constexpr std::uint32_t kApplicationDeactivated = 10001;
inline constexpr std::uint32_t kQuitRequest = 10002;            // Answer*, preset to kAllowed
inline constexpr std::uint32_t kPathFromSecondInstance = 10003;  // record whose first field points to the path
inline constexpr std::uint32_t kDisplayChanged = 10005;

inline constexpr std::uint32_t kWindowCreated = 1000000;
inline constexpr std::uint32_t kWindowDestroyed = 1000001;
inline constexpr std::uint32_t kWindowPaint = 1000002;     // pointer to the DeviceContext pointer
inline constexpr std::uint32_t kWindowResized = 1000003;   // std::uint32_t* size state
inline constexpr std::uint32_t kWindowRaised = 1000004;
inline constexpr std::uint32_t kWindowActivated = 1000005;
inline constexpr std::uint32_t kWindowDeactivated = 1000006;
inline constexpr std::uint32_t kWindowCaptureLost = 1000007;
inline constexpr std::uint32_t kWindowFocusGained = 1000008;
inline constexpr std::uint32_t kWindowFocusLost = 1000009;
inline constexpr std::uint32_t kWindowSizeLimitsWanted = 1000010;   // SizeLimitsEventData*
inline constexpr std::uint32_t kWindowDefaultSizeWanted = 1000011;  // DefaultSizeEventData*
inline constexpr std::uint32_t kWindowCloseRequest = 1000012;       // Answer*, preset to kAllowed
inline constexpr std::uint32_t kWindowAboutToShow = 1000013;
inline constexpr std::uint32_t kWindowDpiChanged = 1000015;

}  // namespace QX::UIA::EventId

namespace QX::UIA::CommandId {

// Command numbers carried by EventId::kCommand that the framework itself
// gives meaning to; programs add their own.
inline constexpr std::uint32_t kQuit = 30002;

}  // namespace QX::UIA::CommandId

namespace QX::UIA::SystemMenuCommand {

// The two items that creation options can add to a window's system menu,
// also framework commands: the zoom item applies the window's default size
// (as an accelerator it switches full screen); the tool bar item comes back
// as EventId::kCommand.
inline constexpr std::uint32_t kZoomWindow = 30301;
inline constexpr std::uint32_t kShowToolbar = 30311;

}  // namespace QX::UIA::SystemMenuCommand

namespace QX::UIA {

// The one-byte answer of an event that asks a question: the sender presets
// it, the handler overwrites it, the sender reads it back whatever the
// handled result was. A vetoable request is preset to kAllowed.
using Answer = std::uint8_t;
inline constexpr Answer kVetoed = 0;
inline constexpr Answer kAllowed = 1;

// Data of EventId::kWindowResized.
inline constexpr std::uint32_t kSizeRestored = 0;
inline constexpr std::uint32_t kSizeMaximised = 1;
inline constexpr std::uint32_t kSizeMinimised = 2;

// Result effects of EventId::kOwnDragEnded besides the system's drop effects.
inline constexpr std::uint32_t kDragCancelled = 64;
inline constexpr std::uint32_t kDragNothingDropped = 128;

// Data of EventId::kWindowSizeLimitsWanted, zeroed by the sender; sizes are
// client sizes in pixels.
struct SizeLimitsEventData {
    static constexpr std::uint32_t kMinimumGiven = 1;
    static constexpr std::uint32_t kMaximumGiven = 2;
    std::uint32_t flags = 0;
    std::int32_t minimumWidth = 0;
    std::int32_t minimumHeight = 0;
    std::int32_t maximumWidth = 0;
    std::int32_t maximumHeight = 0;
};

// Data of EventId::kWindowDefaultSizeWanted, zeroed by the sender; a handler
// that has a default client size fills it and answers true.
struct DefaultSizeEventData {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

}  // namespace QX::UIA
