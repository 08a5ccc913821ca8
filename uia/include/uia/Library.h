#pragma once
#include <string>

namespace QX::UIA {

// Run-time loading of system libraries; handles are HMODULEs passed as
// opaque pointers.
void* loadLibrary(const char* utf8Name);  // null on failure
void* getProcAddress(void* library, const char* name);  // null when absent
void freeLibrary(void* library);

// The FileVersion text of the running program's version resource. Without
// one, appends "?.??.???" to `out` and answers false.
bool getFileVersionString(std::string& out);

}  // namespace QX::UIA
