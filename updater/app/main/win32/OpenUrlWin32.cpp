#include <windows.h>
#include <shellapi.h>

#include <cstdint>

#include "../FirmwareUpdaterApp.h"

namespace QX {

bool FirmwareUpdaterApp::openUrl(const char* url) {
    if (!url)
        return false;
    const HINSTANCE result = ShellExecuteA(nullptr, "open", url, nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<std::intptr_t>(result) > 32;
}

}  // namespace QX
