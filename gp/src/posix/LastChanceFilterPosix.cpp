#include "../common/LastChanceReport.h"
#include "gp/LastChanceFilter.h"

namespace QX::GP {

// Natively there are no structured exceptions: the pointer carries nothing
// that could be read, so every call is a crash.
long lastChanceFilter(void*)
{
    DETAIL::reportCrashOnce("Unexpected exception");
    return 0;
}

}  // namespace QX::GP
