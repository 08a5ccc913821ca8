#pragma push_macro("_WIN32")
#undef _WIN32
#include <gtest/gtest.h>
#pragma pop_macro("_WIN32")
#include <windows.h>

#include "uia/AppModule.h"

using namespace QX::UIA;

namespace {

LONG WINAPI earlierFilter(EXCEPTION_POINTERS*) { return EXCEPTION_CONTINUE_SEARCH; }

TEST(RunnerTest, RunsTheRegisteredModuleAndRestoresTheEarlierFilter) {
    // The test program's module attaches no application unless told to.
    ASSERT_NE(AppModule::getInstance(), nullptr);
    LPTOP_LEVEL_EXCEPTION_FILTER before = SetUnhandledExceptionFilter(&earlierFilter);
    runApplication();
    EXPECT_EQ(SetUnhandledExceptionFilter(before), &earlierFilter);
    EXPECT_EQ(AppModule::getInstance()->getApplication(), nullptr);
}

}  // namespace
