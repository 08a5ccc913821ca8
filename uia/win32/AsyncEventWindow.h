#pragma once
#include <windows.h>

#include <string>

namespace QX::UIA {

// WM_COMMAND delivers (word parameter = event id, long parameter = key) and
// answers 1; everything else goes to the default procedure.
LRESULT CALLBACK asyncEventWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// "QXAsyncEventTargetWndClass" and the address of the slot that holds the
// window: unique per copy of the framework in the process.
std::u16string getAsyncEventWindowClassName();

}  // namespace QX::UIA
