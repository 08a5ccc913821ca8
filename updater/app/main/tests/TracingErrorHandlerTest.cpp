#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TracingErrorHandler.h"
#include "gp/Trace.h"
#include "nwl/style/ErrorHandlers.h"

namespace QX {
namespace {

TEST(TracingErrorHandlerTest, ReportsOfTheWidgetLibraryReachTheTraceOnce) {
    std::vector<std::string> lines;
    const GP::TraceSink previous = GP::setTraceSink([&lines](std::string_view line) { lines.emplace_back(line); });
    installTracingErrorHandler();
    installTracingErrorHandler();  // a second start adds no second handler
    NWL::reportError("Stylesheet error: FirmwareUpdaterStyles.txt:3 - PARSER ERROR at line 3: x");
    GP::setTraceSink(previous);

    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "NWL: Stylesheet error: FirmwareUpdaterStyles.txt:3 - PARSER ERROR at line 3: x");
}

}  // namespace
}  // namespace QX
