#include <windows.h>

#include <vector>

#include "gp/Text.h"
#include "uia/Library.h"

namespace QX::UIA {

void* loadLibrary(const char* utf8Name) {
    if (!utf8Name)
        return nullptr;
    const std::u16string name = GP::utf8ToWide(utf8Name);
    return LoadLibraryW(name.c_str());
}

void* getProcAddress(void* library, const char* name) {
    if (!library || !name)
        return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void freeLibrary(void* library) {
    if (library)
        FreeLibrary(static_cast<HMODULE>(library));
}

namespace {

// The module that holds this code: the program itself.
HMODULE getOwnModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&getOwnModule), &module);
    return module;
}

bool readFileVersion(std::string& out) {
    char16_t path[MAX_PATH] = {};
    if (GetModuleFileNameW(getOwnModule(), path, MAX_PATH) == 0)
        return false;
    const DWORD size = GetFileVersionInfoSizeW(path, nullptr);
    if (size == 0)
        return false;
    std::vector<char> block(size + 1);
    if (!GetFileVersionInfoW(path, 0, size, block.data()))
        return false;
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\StringFileInfo\\000004b0\\FileVersion",
                        reinterpret_cast<void**>(&value), &length) ||
        !value || length == 0)
        return false;
    // The length counts the terminating NUL.
    out.assign(value, value[length - 1] == '\0' ? length - 1 : length);
    return true;
}

}  // namespace

bool getFileVersionString(std::string& out) {
    if (readFileVersion(out))
        return true;
    out.append("?.??.???");
    return false;
}

}  // namespace QX::UIA
