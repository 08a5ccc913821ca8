#pragma once

namespace QX::UIA::DETAIL {

class WindowImplWin32;

// Raw mouse input is registered once for the whole process, not per window:
// the window whose capture registered it last holds it, and only that
// window gives it up. UI thread only, like all window code.
void registerRawMouseInput(const WindowImplWin32& window);
// Removes the registration if `window` holds it.
void unregisterRawMouseInput(const WindowImplWin32& window);

}  // namespace QX::UIA::DETAIL
