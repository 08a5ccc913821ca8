// The Win32 services behind the portable code: debugger output and the event
// log, the message box, the performance counter, the random source and file
// queries.
#include <windows.h>
#include <bcrypt.h>

#include <mutex>
#include <vector>

#include "../common/Platform.h"
#include "gp/Text.h"
#include "gp/Trace.h"

namespace QX::GP::DETAIL {
namespace {

HANDLE eventSource()
{
    static HANDLE source = RegisterEventSourceA(nullptr, kMakerName);
    return source;
}

UINT buttonFlags(int buttons)
{
    switch (buttons) {
    case kButtonsOkCancel: return MB_OKCANCEL;
    case kButtonsYesNo: return MB_YESNO;
    case kButtonsYesNoCancel: return MB_YESNOCANCEL;
    case kButtonsRetryCancel: return MB_RETRYCANCEL;
    case kButtonsAbortRetryIgnore: return MB_ABORTRETRYIGNORE;
    default: return MB_OK;
    }
}

// The default button is named by its answer; Windows wants its position.
UINT defaultButtonFlag(int buttons, int defaultButton)
{
    int position = 0;
    switch (buttons) {
    case kButtonsOkCancel: position = defaultButton == kResultCancel ? 1 : 0; break;
    case kButtonsYesNo: position = defaultButton == kResultNo ? 1 : 0; break;
    case kButtonsYesNoCancel:
        position = defaultButton == kResultNo ? 1 : defaultButton == kResultCancel ? 2 : 0;
        break;
    case kButtonsRetryCancel: position = defaultButton == kResultCancel ? 1 : 0; break;
    case kButtonsAbortRetryIgnore:
        position = defaultButton == kResultRetry ? 1 : defaultButton == kResultIgnore ? 2 : 0;
        break;
    default: break;
    }
    static const UINT flags[] = {MB_DEFBUTTON1, MB_DEFBUTTON2, MB_DEFBUTTON3};
    return flags[position];
}

UINT iconFlag(int icon)
{
    switch (icon) {
    case kIconInformation: return MB_ICONINFORMATION;
    case kIconWarning: return MB_ICONWARNING;
    case kIconQuestion: return MB_ICONQUESTION;
    case kIconError: return MB_ICONERROR;
    default: return 0;
    }
}

int answerOf(int id)
{
    switch (id) {
    case IDCANCEL: return kResultCancel;
    case IDYES: return kResultYes;
    case IDNO: return kResultNo;
    case IDABORT: return kResultAbort;
    case IDRETRY: return kResultRetry;
    case IDIGNORE: return kResultIgnore;
    default: return kResultNone;
    }
}

}  // namespace

void writePlatformTrace(int level, std::string_view line)
{
    std::string text(line);
    text.push_back('\n');
    OutputDebugStringA(text.c_str());
    if (level > kTraceWarning)
        return;
    if (HANDLE source = eventSource()) {
        const char* strings[] = {text.c_str()};
        ReportEventA(source, level == kTraceError ? EVENTLOG_ERROR_TYPE : EVENTLOG_WARNING_TYPE, 0, 0,
                     nullptr, 1, 0, strings, nullptr);
    }
}

int showPlatformMessageBox(const MessageBoxRequest& request)
{
    const std::u16string text = utf8ToWide(request.text);
    const std::u16string caption = utf8ToWide(request.caption);
    const UINT style = buttonFlags(request.buttons) | defaultButtonFlag(request.buttons, request.defaultButton) |
                       iconFlag(request.icon) | MB_SETFOREGROUND |
                       (request.systemModal ? MB_SYSTEMMODAL : MB_TASKMODAL);
    return answerOf(MessageBoxW(nullptr, text.c_str(), caption.c_str(), style));
}

void terminateProcess(unsigned exitCode)
{
    TerminateProcess(GetCurrentProcess(), exitCode);
    ExitProcess(exitCode);  // not reached
}

bool fillRandomBytes(void* buffer, std::size_t size)
{
    return BCryptGenRandom(nullptr, static_cast<PUCHAR>(buffer), static_cast<ULONG>(size),
                           BCRYPT_USE_SYSTEM_PREFERRED_RNG) == 0;
}

std::uint64_t readPerformanceCounter()
{
    LARGE_INTEGER value{};
    QueryPerformanceCounter(&value);
    return static_cast<std::uint64_t>(value.QuadPart);
}

std::uint64_t readPerformanceFrequency()
{
    LARGE_INTEGER value{};
    QueryPerformanceFrequency(&value);
    return static_cast<std::uint64_t>(value.QuadPart);
}

bool pathExists(const std::string& path)
{
    return GetFileAttributesW(utf8ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool isDirectory(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(utf8ToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool readCurrentDirectory(std::string& path)
{
    const DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0)
        return false;
    std::u16string buffer(needed, u'\0');
    const DWORD length = GetCurrentDirectoryW(needed, buffer.data());
    if (length == 0 || length >= needed)
        return false;
    buffer.resize(length);
    path = utf16ToUtf8(buffer);
    return true;
}

}  // namespace QX::GP::DETAIL
