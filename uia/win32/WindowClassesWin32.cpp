#include <windows.h>

#include <cinttypes>
#include <cstdio>
#include <string>

#include "gp/Module.h"
#include "WindowProcedureWin32.h"

namespace QX::UIA {
namespace {

struct ClassDescription {
    const char* pattern;
    WNDPROC procedure;
    UINT style;
};

const ClassDescription kClasses[kWindowClassCount] = {
    {"QXNormalWindow", normalWindowProcedure, CS_DBLCLKS},
    {"QXFramelessWindow", framelessWindowProcedure, CS_DBLCLKS},
    {"QXChildWindow", normalWindowProcedure, CS_DBLCLKS},
    {"QXVSTChildWindow", normalWindowProcedure, CS_DBLCLKS | CS_OWNDC},
    {"QXOverlayWindow", overlayWindowProcedure, CS_DBLCLKS},
};

std::u16string gClassNames[kWindowClassCount];
bool gClassesRegistered = false;

// The pattern followed by the module handle as the platform's wide printf
// writes a pointer: upper-case hexadecimal digits, zero-padded.
std::u16string formatClassName(const char* pattern) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%s%0*" PRIXPTR, pattern, int(sizeof(void*) * 2),
                  reinterpret_cast<std::uintptr_t>(frameworkInstance()));
    return std::u16string(buffer, buffer + std::char_traits<char>::length(buffer));
}

void unregisterFirst(int count) {
    for (int index = count - 1; index >= 0; --index)
        UnregisterClassW(gClassNames[index].c_str(), frameworkInstance());
}

}  // namespace

HINSTANCE frameworkInstance() { return static_cast<HINSTANCE>(GP::getModuleHandle()); }

const char16_t* getWindowClassName(int classIndex) {
    if (classIndex < 0 || classIndex >= kWindowClassCount) classIndex = 0;
    if (gClassNames[classIndex].empty()) gClassNames[classIndex] = formatClassName(kClasses[classIndex].pattern);
    return gClassNames[classIndex].c_str();
}

bool registerWindowClasses() {
    if (gClassesRegistered) return true;
    for (int index = 0; index < kWindowClassCount; ++index) {
        WNDCLASSW windowClass{};
        windowClass.style = kClasses[index].style;
        windowClass.lpfnWndProc = kClasses[index].procedure;
        windowClass.hInstance = frameworkInstance();
        windowClass.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        windowClass.lpszClassName = getWindowClassName(index);
        if (RegisterClassW(&windowClass) == 0) {
            unregisterFirst(index);
            return false;
        }
    }
    gClassesRegistered = true;
    return true;
}

void unregisterWindowClasses() {
    if (!gClassesRegistered) return;
    gClassesRegistered = false;
    for (int index = 0; index < kWindowClassCount; ++index)
        UnregisterClassW(getWindowClassName(index), frameworkInstance());
}

bool areWindowClassesRegistered() { return gClassesRegistered; }

}  // namespace QX::UIA
