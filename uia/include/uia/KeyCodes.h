#pragma once
#include <array>
#include <cstdint>

// Key codes of the key events, which are also the key words of the
// accelerator table: the low 16 bits hold the key's upper-case character or
// a special code, the high bits the function-key and keypad marks and the
// modifiers.
namespace QX::UIA::Key {

inline constexpr std::uint32_t kEscape = 1;
inline constexpr std::uint32_t kBackspace = 2;
inline constexpr std::uint32_t kTab = 3;
inline constexpr std::uint32_t kEnter = 5;
inline constexpr std::uint32_t kInsert = 8;
inline constexpr std::uint32_t kDelete = 9;
inline constexpr std::uint32_t kHome = 10;
inline constexpr std::uint32_t kEnd = 11;
inline constexpr std::uint32_t kPageUp = 12;
inline constexpr std::uint32_t kPageDown = 13;
inline constexpr std::uint32_t kUp = 14;
inline constexpr std::uint32_t kDown = 15;
inline constexpr std::uint32_t kLeft = 16;
inline constexpr std::uint32_t kRight = 17;
inline constexpr std::uint32_t kNumLock = 18;

inline constexpr std::uint32_t kKeyMask = 0xFFFF;
inline constexpr std::uint32_t kFunctionKey = 0x10000;
inline constexpr std::uint32_t kF1 = kFunctionKey | 1;  // up to F12 = 0x1000C

inline constexpr std::uint32_t kKeypad = 0x00800000;
inline constexpr std::uint32_t kWindowsKey = 0x01000000;
inline constexpr std::uint32_t kCapsLock = 0x02000000;
inline constexpr std::uint32_t kShift = 0x10000000;
inline constexpr std::uint32_t kControl = 0x20000000;
inline constexpr std::uint32_t kAlt = 0x40000000;
inline constexpr std::uint32_t kModifierMask = kWindowsKey | kCapsLock | kShift | kControl | kAlt;
// Variant bits (17 to 23) that an accelerator lookup may ignore, so that a
// keypad key finds its main-keyboard twin.
inline constexpr std::uint32_t kVariantMask = 0xFE0000;

// A table entry with all bits set: no key id, or not yet known.
inline constexpr std::uint32_t kUnknown = 0xFFFFFFFF;

using KeyTable = std::array<std::uint32_t, 256>;

// Key ids by hardware scan code (plus 128 for keypad keys): the US-layout
// names of the key positions.
const KeyTable& getScanCodeTable();
// The key id of a scan code, or kUnknown; an index past the table gives none.
std::uint32_t keyIdForScanCode(std::uint32_t scanCode, bool keypad);

// Combines the modifier keys' states into a modifier word. The Windows key
// counts only together with another modifier.
std::uint32_t combineModifiers(bool shift, bool control, bool alt, bool capsLock, bool windowsKey);

}  // namespace QX::UIA::Key
