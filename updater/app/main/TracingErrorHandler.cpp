#include "TracingErrorHandler.h"

#include <string>

#include "gp/Trace.h"
#include "nwl/style/ErrorHandlers.h"

namespace QX {

void installTracingErrorHandler() {
    static const bool installed = [] {
        NWL::addErrorHandler([](const std::string& message) { GP::writeTrace(GP::kTraceWarning, "NWL", message); });
        return true;
    }();
    (void)installed;
}

}  // namespace QX
