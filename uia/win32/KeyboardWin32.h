#pragma once
#include <windows.h>

#include <cstdint>

#include "uia/KeyCodes.h"

namespace QX::UIA {

namespace DETAIL {
class WindowImplWin32;
}

// Builds the key tables once per process; true.
bool buildKeyTables();
// Refills the layout-dependent part of the virtual-key table.
void fillLayoutKeyCodes();
// The key code of a virtual key in the current layout, or kUnknown.
std::uint32_t getLayoutKeyCode(UINT virtualKey);
std::uint32_t getModifiers();
// Key code (modifiers, character or special code, keypad mark) and key id of
// a key message.
std::uint32_t translateKey(UINT virtualKey, LPARAM lParam, std::uint32_t& keyId, bool useTable);
bool reportModifierChange(DETAIL::WindowImplWin32& impl);
// In host mode 1 a pressed key may stand for a command of the application's
// accelerator table; answers whether the key was used up that way.
bool runAccelerator(DETAIL::WindowImplWin32& impl, std::uint32_t keyCode, std::uint32_t hostMode);
bool reportKeyPressed(DETAIL::WindowImplWin32& impl, WPARAM wParam, LPARAM lParam);

}  // namespace QX::UIA
