#pragma once
#include <string>

namespace QX::GP::DETAIL {

// Shows the system-modal error box for a crash, once per process; later
// calls do nothing.
void reportCrashOnce(const std::string& description);

}  // namespace QX::GP::DETAIL
