#include <windows.h>

#include <cstdio>

#include "../common/LastChanceReport.h"
#include "gp/LastChanceFilter.h"

namespace QX::GP {
namespace {

// An invalid handle closed under a debugger: not worth ending the program.
constexpr DWORD kInvalidHandleCode = 0xC0000008;

}  // namespace

long lastChanceFilter(void* exceptionPointers)
{
    const auto* pointers = static_cast<const EXCEPTION_POINTERS*>(exceptionPointers);
    const EXCEPTION_RECORD* record = pointers ? pointers->ExceptionRecord : nullptr;
    const DWORD code = record ? record->ExceptionCode : 0;
    if (code == kInvalidHandleCode)
        return EXCEPTION_CONTINUE_SEARCH;
    char description[96];
    std::snprintf(description, sizeof description, "Exception 0x%08lX at %p", static_cast<unsigned long>(code),
                  record ? record->ExceptionAddress : nullptr);
    DETAIL::reportCrashOnce(description);
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace QX::GP
