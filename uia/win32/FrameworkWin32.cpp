#include <windows.h>

#include "uia/Framework.h"
#include "CursorsWin32.h"
#include "KeyboardWin32.h"
#include "WindowProcedureWin32.h"

namespace QX::UIA::DETAIL {

bool buildPlatformKeyTables() { return buildKeyTables(); }
bool registerPlatformWindowClasses() { return registerWindowClasses(); }
bool arePlatformWindowClassesRegistered() { return areWindowClassesRegistered(); }
void unregisterPlatformWindowClasses() { unregisterWindowClasses(); }
bool isPlatformCursorTableLoaded() { return isCursorTableLoaded(); }
void loadPlatformCursorTable() { loadCursorTable(); }
void unloadPlatformCursorTable() { unloadCursorTable(); }
bool createPlatformAsyncEventWindow() { return true; }
void destroyPlatformAsyncEventWindow() {}

}  // namespace QX::UIA::DETAIL
