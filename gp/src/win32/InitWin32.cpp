#include <windows.h>
#include <ole2.h>

#include <stdexcept>
#include <string>

#include "../common/Platform.h"

namespace QX::GP::DETAIL {
namespace {

DWORD slotIndex = TLS_OUT_OF_INDEXES;
bool oleStarted = false;

std::string describeWindowsVersion()
{
    // GetVersionEx lies to programs without a manifest; RtlGetVersion does not.
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    HMODULE ntdll = GetModuleHandleW(u"ntdll.dll");
    auto rtlGetVersion = ntdll ? reinterpret_cast<RtlGetVersionFunction>(
                                     reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
                               : nullptr;
    if (!rtlGetVersion || rtlGetVersion(&version) != 0)
        return "Windows";
    return "Windows " + std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion) +
           " build " + std::to_string(version.dwBuildNumber);
}

}  // namespace

bool allocateThreadSlot()
{
    slotIndex = TlsAlloc();
    return slotIndex != TLS_OUT_OF_INDEXES;
}

void freeThreadSlot()
{
    if (slotIndex != TLS_OUT_OF_INDEXES)
        TlsFree(slotIndex);
    slotIndex = TLS_OUT_OF_INDEXES;
}

void* readThreadSlot() { return slotIndex != TLS_OUT_OF_INDEXES ? TlsGetValue(slotIndex) : nullptr; }

void writeThreadSlot(void* value)
{
    if (slotIndex != TLS_OUT_OF_INDEXES)
        TlsSetValue(slotIndex, value);
}

int readUserUILanguage() { return PRIMARYLANGID(GetUserDefaultUILanguage()); }

void gatherSystemInfo(SystemInfo& info)
{
    SYSTEM_INFO system{};
    GetNativeSystemInfo(&system);
    info.processorCount = system.dwNumberOfProcessors;
    info.pageSize = system.dwPageSize;
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    if (GlobalMemoryStatusEx(&memory))
        info.physicalMemory = memory.ullTotalPhys;
    info.operatingSystem = describeWindowsVersion();
}

void startOle()
{
    if (FAILED(OleInitialize(nullptr)))
        throw std::runtime_error("OleInitialize failed");
    oleStarted = true;
}

void stopOle()
{
    if (oleStarted)
        OleUninitialize();
    oleStarted = false;
}

}  // namespace QX::GP::DETAIL
