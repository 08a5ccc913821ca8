#pragma once
#include <windows.h>

namespace QX::UIA {

// WM_COMMAND delivers (word parameter = event id, long parameter = key) and
// answers 1; everything else goes to the default procedure.
LRESULT CALLBACK asyncEventWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace QX::UIA
