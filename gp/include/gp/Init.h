#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace QX::GP {

// A four-character code as the multi-character literal 'QHV2' would make it,
// without the compiler's warning about such literals.
constexpr std::uint32_t fourCharCode(const char (&text)[5])
{
    return (std::uint32_t(std::uint8_t(text[0])) << 24) | (std::uint32_t(std::uint8_t(text[1])) << 16) |
           (std::uint32_t(std::uint8_t(text[2])) << 8) | std::uint32_t(std::uint8_t(text[3]));
}

// Starts the process-wide services: checks the caller's expected version,
// stores the application code and title, gathers the system information,
// starts OLE (program build) and creates the hidden device-notification
// window. A second call, or a version other than kVersion, is a fatal
// assertion. Returns true on success; failures inside are thrown.
bool init(std::uint32_t applicationCode, const char* title, std::uint32_t expectedVersion,
          std::uint32_t flags);

// Undoes `init` in reverse order; does nothing when not initialised.
void exit();

bool isInitialized();

// Asserts that the caller expects this foundation version (0x2030000) and
// passes the flags 0xF0001; reported with the source "init_gp".
void checkVersion(std::uint32_t expectedVersion, std::uint32_t flags);

// The four-character application code given to `init` (0 before).
std::uint32_t getApplicationCode();
// The title given to `init` (empty before).
const std::string& getApplicationTitle();

// The library's thread-local slot: allocated once, holds one pointer per
// thread for the library's own per-thread state.
void initThreadLocalSlot();
bool hasThreadLocalSlot();
void* getThreadLocalValue();
void setThreadLocalValue(void* value);

// Stores the given language code (at most 15 characters) and returns a copy
// of it; a null or empty code takes the user's default UI language: "DEU",
// "SPA", "FRA", "ITA", "JPN" or otherwise "ENG".
std::string getUserLanguageCode(const char* code);
// A copy of the stored code, "ENG" until one was set. A copy, because another
// thread may store a new code at any time.
std::string getUserLanguageCode();

// Preferences: the program keeps none, but a store can be installed.
inline constexpr int kPreferenceText = 2;

class IPreferenceStore {
public:
    virtual ~IPreferenceStore() = default;
    // Answers the text stored under `name`, or false when there is none.
    virtual bool readText(std::string_view name, std::string& out) = 0;
};

// Installs the process's preference store (null removes it); returns the
// previous one.
std::shared_ptr<IPreferenceStore> installPreferenceStore(std::shared_ptr<IPreferenceStore> store);

// Reads a named value under a lock; `kind` 2 is text. When the store has no
// such value (or there is no store) writes `defaultText` to `out` and returns
// false.
bool readPreference(const char* name, const char* defaultText, std::string& out, int kind);

}  // namespace QX::GP
