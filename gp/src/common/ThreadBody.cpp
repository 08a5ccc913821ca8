#include "ThreadBody.h"

#include <exception>
#include <string>

#include "gp/Trace.h"

namespace QX::GP::DETAIL {

void runThreadFunction(const std::function<void()>& function)
{
    try {
        if (function)
            function();
    } catch (const std::exception& e) {
        writeTrace(kTraceError, "Thread", std::string("uncaught exception: ") + e.what());
    } catch (...) {
        writeTrace(kTraceError, "Thread", "uncaught exception");
    }
}

}  // namespace QX::GP::DETAIL
