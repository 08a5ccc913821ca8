#include "uia/Cursors.h"
#include "uia/Framework.h"
#include "uia/HMenu.h"
#include "uia/KeyCodes.h"
#include "uia/WindowImpl.h"

// The native build has no windows: the platform steps of the framework's
// start succeed without doing anything, and windows are never created.
namespace QX::UIA::DETAIL {
namespace {
bool gClassesRegistered = false;
bool gCursorTableLoaded = false;
}  // namespace

bool buildPlatformKeyTables() {
    Key::getScanCodeTable();
    return true;
}
bool registerPlatformWindowClasses() { return gClassesRegistered = true; }
bool arePlatformWindowClassesRegistered() { return gClassesRegistered; }
void unregisterPlatformWindowClasses() { gClassesRegistered = false; }
bool isPlatformCursorTableLoaded() { return gCursorTableLoaded; }
void loadPlatformCursorTable() { gCursorTableLoaded = true; }
void unloadPlatformCursorTable() { gCursorTableLoaded = false; }
bool createPlatformAsyncEventWindow() { return true; }
void destroyPlatformAsyncEventWindow() {}

bool createStandaloneWindowImpl(StandaloneWindow&, const WindowOptions&) { return false; }

}  // namespace QX::UIA::DETAIL

namespace QX::UIA {
void* getStandardCursor(int) { return nullptr; }
void setCursorPosition(const GP::Point&) {}
bool HMenu::findItem(std::uint32_t, HMenu&, std::uint32_t&) const { return false; }
}  // namespace QX::UIA
