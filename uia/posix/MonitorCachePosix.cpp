#include "uia/Monitors.h"

// The native build has no screen: a refill leaves the cache without monitors.
namespace QX::UIA {

void refreshMonitorCache() { DETAIL::storeMonitors({}); }

}  // namespace QX::UIA
