#include <windows.h>

#include "uia/AsyncEvents.h"
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
bool createPlatformAsyncEventWindow() { return createAsyncEventWindow(false); }
void destroyPlatformAsyncEventWindow() { destroyAsyncEventWindow(); }

}  // namespace QX::UIA::DETAIL
