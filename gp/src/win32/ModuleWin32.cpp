#include <windows.h>

#include "gp/Module.h"

namespace QX::GP {
namespace {

HMODULE findOwnModule()
{
    // The module that holds this very function holds the framework's code.
    HMODULE module = nullptr;
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(&findOwnModule), &module) &&
        module)
        return module;
    return GetModuleHandleW(nullptr);
}

Path readExecutablePath()
{
    std::u16string buffer(MAX_PATH, u'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return Path();
        if (length < buffer.size()) {
            buffer.resize(length);
            return Path(std::u16string_view(buffer));
        }
        if (buffer.size() > 32768)
            return Path();
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

void* getModuleHandle()
{
    static HMODULE module = findOwnModule();
    return module;
}

const Path& getModuleFilePath()
{
    static const Path path = readExecutablePath();
    return path;
}

}  // namespace QX::GP
