#include "AsyncEventWindow.h"

#include <cstdio>

#include "GuardedCall.h"
#include "gp/Text.h"
#include "uia/AsyncEvents.h"
#include "uia/WindowImpl.h"

namespace QX::UIA {

namespace {

HWND asyncWindow = nullptr;
ATOM asyncClass = 0;
DWORD asyncThreadId = 0;

}  // namespace

std::u16string getAsyncEventWindowClassName() {
    char name[256];
    std::snprintf(name, sizeof(name), "QXAsyncEventTargetWndClass%p", static_cast<void*>(&asyncWindow));
    return GP::utf8ToWide(name);
}

bool createAsyncEventWindow(bool skip) {
    if (skip)
        return true;
    if (asyncWindow)
        return true;
    const std::u16string className = getAsyncEventWindowClassName();
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &asyncEventWindowProc;
    windowClass.lpszClassName = className.c_str();
    asyncClass = RegisterClassW(&windowClass);
    if (!asyncClass)
        return false;
    asyncWindow = CreateWindowExW(0, className.c_str(), u"AsyncEventTargetWindow", 0, 0, 0, 1, 1,
                                  HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!asyncWindow) {
        UnregisterClassW(reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(asyncClass)), nullptr);
        asyncClass = 0;
        return false;
    }
    asyncThreadId = GetCurrentThreadId();
    return true;
}

void destroyAsyncEventWindow() {
    if (!asyncWindow)
        return;
    DestroyWindow(asyncWindow);
    UnregisterClassW(reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(asyncClass)), nullptr);
    asyncWindow = nullptr;
    asyncClass = 0;
    asyncThreadId = 0;
}

void* getAsyncEventWindowHandle() { return asyncWindow; }

std::uint32_t getAsyncEventThreadId() { return asyncThreadId; }

LRESULT CALLBACK asyncEventWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COMMAND)
        return DefWindowProcW(window, message, wParam, lParam);
    DETAIL::callGuarded([&] {
        DETAIL::DeliveryScope delivery;
        dispatchAsyncEvent(static_cast<std::uint32_t>(wParam), static_cast<std::uint32_t>(lParam));
    });
    return 1;
}

}  // namespace QX::UIA
