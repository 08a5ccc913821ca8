#pragma once

namespace QX::GP {

// The structured-exception filter under which the program runs: ignores the
// exception code 0xC0000008 and otherwise, once per process, shows a
// system-modal error message box; always answers 0 (continue search), so
// the process ends. `exceptionPointers` is an EXCEPTION_POINTERS pointer.
long lastChanceFilter(void* exceptionPointers);

// The same report for a C++ exception that nothing caught (Winelib's C++
// exceptions are not structured exceptions): shows the error box once.
void reportUnhandledException(const char* description);

}  // namespace QX::GP
