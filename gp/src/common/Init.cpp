#include "gp/Init.h"

#include <algorithm>
#include <atomic>
#include <mutex>

#include "Platform.h"
#include "gp/Assertion.h"
#include "gp/Region.h"
#include "gp/SystemInfo.h"
#include "gp/Trace.h"
#include "gp/Version.h"

namespace QX::GP {
namespace {

// Failed start-up checks are reported under this name, as the library's
// start-up unit has always been known.
constexpr const char* kInitSource = "init_gp";

struct InitState {
    std::mutex mutex;
    bool initialized = false;
    std::uint32_t applicationCode = 0;
    std::string title;
    std::string languageCode = "ENG";  // guarded by `mutex`
    // Its own lock: `init` allocates the slot while holding `mutex`. The flag
    // is read without a lock by every thread that uses the slot.
    std::mutex slotMutex;
    std::atomic<bool> slotAllocated{false};
    std::mutex preferenceMutex;
    std::shared_ptr<IPreferenceStore> preferences;
};

InitState& state()
{
    static InitState* instance = new InitState;
    return *instance;
}

}  // namespace

namespace DETAIL {

const char* languageCodeForPrimaryLanguage(int primaryLanguage)
{
    switch (primaryLanguage) {
    case 0x07: return "DEU";
    case 0x0A: return "SPA";
    case 0x0C: return "FRA";
    case 0x10: return "ITA";
    case 0x11: return "JPN";
    default: return "ENG";
    }
}

}  // namespace DETAIL

void checkVersion(std::uint32_t expectedVersion, std::uint32_t flags)
{
    if (expectedVersion != kVersion)
        Assertion::fail(kInitSource, 213, "The foundation library's version does not match");
    if ((flags & 0xFFFF) != 1)
        Assertion::fail(kInitSource, 216, "The start-up flags do not match");
    if ((flags >> 16) != 0xF)
        Assertion::fail(kInitSource, 219, "The start-up flags do not match");
}

bool init(std::uint32_t applicationCode, const char* title, std::uint32_t expectedVersion, std::uint32_t flags)
{
    InitState& s = state();
    std::lock_guard lock(s.mutex);
    if (s.initialized)
        Assertion::fail(kInitSource, __LINE__, "The foundation library is already initialised");
    checkVersion(expectedVersion, flags);
    // Shut-down undoes these steps in reverse order.
    DETAIL::startOle();
    initThreadLocalSlot();
    acquireRegionPool();
    getSystemInfo();
    try {
        DETAIL::createDeviceNotificationWindow();
    } catch (...) {
        releaseRegionPool();
        DETAIL::stopOle();
        throw;
    }
    s.applicationCode = applicationCode;
    s.title = title ? title : "";
    s.initialized = true;
    return true;
}

void exit()
{
    InitState& s = state();
    std::lock_guard lock(s.mutex);
    if (!s.initialized)
        return;
    DETAIL::destroyDeviceNotificationWindow();
    releaseRegionPool();
    {
        std::lock_guard slotLock(s.slotMutex);
        if (s.slotAllocated.exchange(false))
            DETAIL::freeThreadSlot();
    }
    DETAIL::stopOle();
    s.initialized = false;
}

bool isInitialized()
{
    InitState& s = state();
    std::lock_guard lock(s.mutex);
    return s.initialized;
}

std::uint32_t getApplicationCode() { return state().applicationCode; }
const std::string& getApplicationTitle() { return state().title; }

void initThreadLocalSlot()
{
    InitState& s = state();
    std::lock_guard lock(s.slotMutex);
    if (!s.slotAllocated)
        s.slotAllocated = DETAIL::allocateThreadSlot();
}

bool hasThreadLocalSlot() { return state().slotAllocated; }

void* getThreadLocalValue() { return hasThreadLocalSlot() ? DETAIL::readThreadSlot() : nullptr; }

void setThreadLocalValue(void* value)
{
    if (hasThreadLocalSlot())
        DETAIL::writeThreadSlot(value);
}

std::string getUserLanguageCode(const char* code)
{
    if (!code || !*code)
        code = DETAIL::languageCodeForPrimaryLanguage(DETAIL::readUserUILanguage());
    constexpr std::size_t kMaxLength = 15;
    InitState& s = state();
    std::lock_guard lock(s.mutex);
    s.languageCode.assign(code, std::min(std::char_traits<char>::length(code), kMaxLength));
    return s.languageCode;
}

std::string getUserLanguageCode()
{
    InitState& s = state();
    std::lock_guard lock(s.mutex);
    return s.languageCode;
}

std::shared_ptr<IPreferenceStore> installPreferenceStore(std::shared_ptr<IPreferenceStore> store)
{
    InitState& s = state();
    std::lock_guard lock(s.preferenceMutex);
    std::swap(s.preferences, store);
    return store;
}

bool readPreference(const char* name, const char* defaultText, std::string& out, int kind)
{
    InitState& s = state();
    std::lock_guard lock(s.preferenceMutex);
    if (name && kind == kPreferenceText && s.preferences && s.preferences->readText(name, out))
        return true;
    out = defaultText ? defaultText : "";
    return false;
}

const SystemInfo& getSystemInfo()
{
    static const SystemInfo info = [] {
        SystemInfo gathered;
        DETAIL::gatherSystemInfo(gathered);
        return gathered;
    }();
    return info;
}

}  // namespace QX::GP
