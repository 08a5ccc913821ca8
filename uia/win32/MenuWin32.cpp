#include <windows.h>

#include "uia/ApplicationLink.h"
#include "uia/HMenu.h"
#include "WindowImplWin32.h"
#include "WindowProcedureWin32.h"

namespace QX::UIA {

bool HMenu::findItem(std::uint32_t commandId, HMenu& menu, std::uint32_t& position) const {
    auto handle = static_cast<HMENU>(handle_);
    const int count = handle != nullptr ? GetMenuItemCount(handle) : 0;
    for (int index = 0; index < count; ++index) {
        const UINT state = GetMenuState(handle, UINT(index), MF_BYPOSITION);
        if (state & MF_SEPARATOR) continue;
        if (state & MF_POPUP) {
            if (HMenu(GetSubMenu(handle, index)).findItem(commandId, menu, position)) return true;
            continue;
        }
        if (GetMenuItemID(handle, index) == commandId) {
            menu.setHandle(handle);
            position = std::uint32_t(index);
            return true;
        }
    }
    return false;
}

namespace DETAIL {

void WindowImplBaseWin32::setMenuBar(const HMenuBar& menuBar) {
    if (hwnd_ == nullptr || (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD)) return;
    auto newMenu = static_cast<HMENU>(menuBar.getHandle());
    WindowSize clientSize;
    getSize(clientSize, true);
    HMENU oldMenu = menuBar_;
    menuBar_ = newMenu;
    SetMenu(hwnd_, newMenu);
    DrawMenuBar(hwnd_);
    // Setting the installed menu again must not destroy it.
    if (oldMenu != nullptr && oldMenu != newMenu) DestroyMenu(oldMenu);
    if (oldMenu == nullptr) setSize(clientSize, true);
}

}  // namespace DETAIL

namespace {

using DETAIL::WindowImplWin32;

bool sendToOwnerThenApplication(WindowImplWin32& impl, std::uint32_t event, void* data) {
    return impl.sendEvent(event, data, true);
}

LRESULT handleCommand(WindowImplWin32& impl, WPARAM wParam, LPARAM lParam) {
    std::uint32_t command = LOWORD(wParam);
    if (sendToOwnerThenApplication(impl, EventId::kCommand, &command)) return 0;
    return impl.callDefaultProcedure(WM_COMMAND, wParam, lParam);
}

LRESULT handleSystemCommand(WindowImplWin32& impl, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case SystemMenuCommand::kZoomWindow:
        if (impl.isNormal()) impl.applyDefaultSize();
        return 0;
    case SystemMenuCommand::kShowToolbar: {
        std::uint32_t command = SystemMenuCommand::kShowToolbar;
        impl.sendEvent(EventId::kCommand, &command);
        return 0;
    }
    default:
        return impl.callDefaultProcedure(WM_SYSCOMMAND, wParam, lParam);
    }
}

// Menu states are asked for each time a popup opens, so they are never stale.
LRESULT handleInitMenuPopup(WindowImplWin32& impl, WPARAM wParam, LPARAM lParam) {
    auto menuHandle = reinterpret_cast<HMENU>(wParam);
    HMenu menu(menuHandle);
    MenuQuery query{-1, &menu};
    if (sendToOwnerThenApplication(impl, EventId::kMenuAboutToOpen, &query)) return 0;

    bool lastHandled = true;
    const int count = GetMenuItemCount(menuHandle);
    for (int index = 0; index < count; ++index) {
        if (GetMenuState(menuHandle, UINT(index), MF_BYPOSITION) & (MF_POPUP | MF_SEPARATOR)) continue;
        MenuItemQuery item{GetMenuItemID(menuHandle, index), &menu};
        lastHandled = sendToOwnerThenApplication(impl, EventId::kMenuItemStateQuery, &item);
        if (!lastHandled && item.commandId == SystemMenuCommand::kZoomWindow) {
            EnableMenuItem(menuHandle, SystemMenuCommand::kZoomWindow,
                           MF_BYCOMMAND | (impl.isNormal() ? MF_ENABLED : MF_GRAYED));
            lastHandled = true;
        }
    }
    return lastHandled ? 0 : impl.callDefaultProcedure(WM_INITMENUPOPUP, wParam, lParam);
}

}  // namespace

LRESULT handleMenuMessage(WindowImplWin32& impl, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: return handleCommand(impl, wParam, lParam);
    case WM_SYSCOMMAND: return handleSystemCommand(impl, wParam, lParam);
    case WM_INITMENUPOPUP: return handleInitMenuPopup(impl, wParam, lParam);
    default: return impl.callDefaultProcedure(message, wParam, lParam);
    }
}

}  // namespace QX::UIA
