#include "WindowTestSupport.h"

#include "gp/Module.h"
#include "uia/Cursors.h"
#include "WindowProcedureWin32.h"

namespace QX::UIA::Test {
namespace {

TEST(FrameworkWin32Test, StopAndStartAgainSetsEverythingUpAgain) {
    WindowTest::SetUpTestSuite();
    shutdownLibrary();
    EXPECT_FALSE(areWindowClassesRegistered());
    EXPECT_EQ(getStandardCursor(0), nullptr);
    WNDCLASSW info{};
    EXPECT_FALSE(GetClassInfoW(static_cast<HINSTANCE>(GP::getModuleHandle()), getWindowClassName(0), &info));

    ASSERT_TRUE(initializeLibraryOrThrow(kFrameworkVersion, kFrameworkFlags));
    EXPECT_TRUE(areWindowClassesRegistered());
    EXPECT_TRUE(GetClassInfoW(static_cast<HINSTANCE>(GP::getModuleHandle()), getWindowClassName(4), &info));
    EXPECT_NE(getStandardCursor(0), nullptr);
    RecordingWindow window;
    EXPECT_TRUE(window.create(WindowOptions{}));
}

}  // namespace
}  // namespace QX::UIA::Test
