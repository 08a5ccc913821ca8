#include <atomic>

#include "LastChanceReport.h"
#include "gp/LastChanceFilter.h"
#include "gp/MessageBox.h"
#include "gp/Trace.h"

namespace QX::GP {

void DETAIL::reportCrashOnce(const std::string& description)
{
    static std::atomic<bool> reported{false};
    if (reported.exchange(true))
        return;
    writeTrace(kTraceError, "GP", description);
    MessageBoxRequest request;
    request.text = "The program has stopped because of an unexpected error.\n\n" + description;
    request.icon = kIconError;
    request.systemModal = true;
    showMessageBox(request);
}

void reportUnhandledException(const char* description)
{
    DETAIL::reportCrashOnce(std::string("Unhandled exception: ") + (description ? description : "unknown"));
}

}  // namespace QX::GP
