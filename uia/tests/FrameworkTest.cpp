#include <gtest/gtest.h>

#include "gp/Assertion.h"
#include "uia/Framework.h"

namespace QX::UIA {
namespace {

class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        GP::Assertion::setThrowsExceptions(true);
        shutdownLibrary();
    }
    void TearDown() override { shutdownLibrary(); }

    // The line that a failed start reports.
    static int failedLine(std::uint32_t version, std::uint32_t flags) {
        try {
            initializeLibrary(version, flags);
        } catch (const GP::Assertion::exception& failure) {
            EXPECT_EQ(failure.file(), "init_uia");
            return failure.line();
        }
        return 0;
    }
};

// What a start sets up, a stop takes down again, however often either runs.
TEST_F(FrameworkTest, StartStopAndStartAgain) {
    shutdownLibrary();  // harmless without a start
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(initializeLibraryOrThrow(kFrameworkVersion, kFrameworkFlags)) << round;
        EXPECT_TRUE(isLibraryInitialized());
        EXPECT_TRUE(areKeyTablesReady());
        EXPECT_TRUE(DETAIL::arePlatformWindowClassesRegistered());
        EXPECT_TRUE(DETAIL::isPlatformCursorTableLoaded());
        shutdownLibrary();
        shutdownLibrary();
        EXPECT_FALSE(isLibraryInitialized());
        EXPECT_FALSE(areKeyTablesReady());
        EXPECT_FALSE(DETAIL::arePlatformWindowClassesRegistered());
        EXPECT_FALSE(DETAIL::isPlatformCursorTableLoaded());
    }
}

TEST_F(FrameworkTest, MismatchesAreReportedWithTheirLinesAndUndone) {
    EXPECT_EQ(failedLine(0x4020000, kFrameworkFlags), 150);
    EXPECT_EQ(failedLine(kFrameworkVersion, 0xF0002), 153);
    EXPECT_EQ(failedLine(kFrameworkVersion, 0xE0001), 156);
    EXPECT_FALSE(initializeLibraryOrThrow(kFrameworkVersion, 0xF0002));
    EXPECT_FALSE(isLibraryInitialized());
    EXPECT_FALSE(areKeyTablesReady());
    EXPECT_FALSE(DETAIL::arePlatformWindowClassesRegistered());
    EXPECT_FALSE(DETAIL::isPlatformCursorTableLoaded());
}

}  // namespace
}  // namespace QX::UIA
