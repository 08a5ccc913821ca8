#pragma once
#include <cstdint>

// The bits of a widget's flag word.
namespace QX::NWL::WidgetFlag {

inline constexpr std::uint32_t kVisible = 0x1;        // own visibility
inline constexpr std::uint32_t kShown = 0x2;          // shown in a pane
inline constexpr std::uint32_t kParentVisible = 0x4;  // every ancestor visible
inline constexpr std::uint32_t kDrawn = 0x8;          // painted and hit by the mouse
inline constexpr std::uint32_t kEnabled = 0x10;       // own enabled state
inline constexpr std::uint32_t kParentEnabled = 0x20;
inline constexpr std::uint32_t kSelected = 0x40;
inline constexpr std::uint32_t kTracksHover = 0x80;
inline constexpr std::uint32_t kFocusable = 0x100;
inline constexpr std::uint32_t kHoverFollowsPointer = 0x200;  // while pressed
inline constexpr std::uint32_t kTakesKeys = 0x400;
inline constexpr std::uint32_t kExplicitlyPlaced = 0x800;
inline constexpr std::uint32_t kLayoutRelevant = 0x1000;
inline constexpr std::uint32_t kPaintsBackground = 0x2000;
inline constexpr std::uint32_t kPaintsForeground = 0x4000;
inline constexpr std::uint32_t kGeometryChangedInPass = 0x8000;
inline constexpr std::uint32_t kOpaque = 0x20000;
inline constexpr std::uint32_t kOpaqueInsideMargins = 0x40000;
inline constexpr std::uint32_t kStylePending = 0x80000;
inline constexpr std::uint32_t kWantsGeometryNotifications = 0x100000;
inline constexpr std::uint32_t kGeometryChanged = 0x200000;

inline constexpr std::uint32_t kVisibleBoth = kVisible | kParentVisible;
inline constexpr std::uint32_t kEnabledBoth = kEnabled | kParentEnabled;

// A new widget: visible, enabled, drawn, layout-relevant, painting its
// background and waiting for its style.
inline constexpr std::uint32_t kInitial = kStylePending | kPaintsBackground | kLayoutRelevant |
                                          kParentEnabled | kEnabled | kDrawn | kParentVisible | kVisible;
static_assert(kInitial == 0x8303D);

}  // namespace QX::NWL::WidgetFlag
