#pragma once
// The services each platform side (src/win32, src/posix) supplies to the
// portable code of the library.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "gp/MessageBox.h"
#include "gp/Resources.h"
#include "gp/SystemInfo.h"

namespace QX::GP::DETAIL {

// Trace lines: the debugger output (and the event log for errors and
// warnings) in the program build, standard error natively.
void writePlatformTrace(int level, std::string_view line);

// The real message box (no handler installed); the caption is filled in.
int showPlatformMessageBox(const MessageBoxRequest& request);

// Ends the process at once, without unwinding.
[[noreturn]] void terminateProcess(unsigned exitCode);

// Fills `buffer` from the system's cryptographic random source.
bool fillRandomBytes(void* buffer, std::size_t size);

std::uint64_t readPerformanceCounter();
std::uint64_t readPerformanceFrequency();

// File-system queries on UTF-8 path texts.
bool pathExists(const std::string& path);
bool isDirectory(const std::string& path);
bool readCurrentDirectory(std::string& path);

// An embedded resource of `module` (null: the program's module).
std::optional<ResourceBytes> findModuleResource(void* module, const ResourceId& id,
                                                const ResourceId& type);

// Resources supplied by `registerResource`.
std::optional<ResourceBytes> findRegisteredResource(const ResourceId& id, const ResourceId& type);

// The library's thread-local slot.
bool allocateThreadSlot();
void freeThreadSlot();
void* readThreadSlot();
void writeThreadSlot(void* value);

// The primary language of the user's default UI language (a Windows
// primary language id; 0 when unknown).
int readUserUILanguage();

// What the machine is.
void gatherSystemInfo(SystemInfo& info);

// The platform's share of start-up and shut-down: OLE and the hidden
// device-notification window. The start functions throw on failure.
void startOle();
void stopOle();
void createDeviceNotificationWindow();
void destroyDeviceNotificationWindow();

// "DEU", "SPA", "FRA", "ITA", "JPN" for the primary languages 7, 10, 12, 16
// and 17; "ENG" for any other.
const char* languageCodeForPrimaryLanguage(int primaryLanguage);

}  // namespace QX::GP::DETAIL
