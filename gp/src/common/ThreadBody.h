#pragma once
#include <functional>

namespace QX::GP::DETAIL {

// Runs a worker's function; an exception that escapes it is traced rather
// than left to end the process from a thread nobody watches.
void runThreadFunction(const std::function<void()>& function);

}  // namespace QX::GP::DETAIL
