#pragma once
#include "gp/Path.h"

namespace QX::GP {

// The handle of the module that holds the framework's code (an HMODULE in
// the program build), found once and cached; null natively.
void* getModuleHandle();

// The full file name of the program's executable (cached).
const Path& getModuleFilePath();

}  // namespace QX::GP
