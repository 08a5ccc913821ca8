#include <exception>

#include "gp/Assertion.h"
#include "gp/Init.h"
#include "uia/Framework.h"

namespace QX::UIA {
namespace {

constexpr std::uint32_t kFoundationVersion = 0x2030000;

bool gInitialized = false;
bool gKeyTablesReady = false;

// Reports a failed expectation with this unit's name and the given line.
void expect(bool condition, int line, const char* message) {
    if (!condition) GP::Assertion::fail("init_uia", line, message);
}

}  // namespace

bool initializeLibrary(std::uint32_t version, std::uint32_t flags) {
    GP::checkVersion(kFoundationVersion, kFrameworkFlags);
    expect(version == kFrameworkVersion, 150, "UIA: version mismatch");
    expect((flags & 0xFFFF) == 1, 153, "UIA: unexpected flags");
    expect((flags >> 16) == 0xF, 156, "UIA: unexpected flags");

    if (!gKeyTablesReady) gKeyTablesReady = DETAIL::buildPlatformKeyTables();
    if (!DETAIL::registerPlatformWindowClasses()) return false;
    if (!DETAIL::isPlatformCursorTableLoaded()) DETAIL::loadPlatformCursorTable();
    return DETAIL::createPlatformAsyncEventWindow();
}

bool initializeLibraryOrThrow(std::uint32_t version, std::uint32_t flags) {
    bool started = false;
    try {
        started = initializeLibrary(version, flags);
    } catch (...) {
        started = false;
    }
    if (!started) {
        shutdownLibrary();
        return false;
    }
    gInitialized = true;
    return true;
}

void shutdownLibrary() {
    DETAIL::destroyPlatformAsyncEventWindow();
    if (DETAIL::isPlatformCursorTableLoaded()) DETAIL::unloadPlatformCursorTable();
    if (DETAIL::arePlatformWindowClassesRegistered()) DETAIL::unregisterPlatformWindowClasses();
    gInitialized = false;
    gKeyTablesReady = false;
}

bool isLibraryInitialized() { return gInitialized; }

bool areKeyTablesReady() { return gKeyTablesReady; }

}  // namespace QX::UIA
