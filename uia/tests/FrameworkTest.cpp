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

TEST_F(FrameworkTest, StartsWithItsVersionAndFlags) {
    EXPECT_TRUE(initializeLibraryOrThrow(kFrameworkVersion, kFrameworkFlags));
    EXPECT_TRUE(isLibraryInitialized());
    EXPECT_TRUE(areKeyTablesReady());
    EXPECT_TRUE(DETAIL::arePlatformWindowClassesRegistered());
    EXPECT_TRUE(DETAIL::isPlatformCursorTableLoaded());
}

TEST_F(FrameworkTest, MismatchesAreReportedWithTheirLines) {
    EXPECT_EQ(failedLine(0x4020000, kFrameworkFlags), 150);
    EXPECT_EQ(failedLine(kFrameworkVersion, 0xF0002), 153);
    EXPECT_EQ(failedLine(kFrameworkVersion, 0xE0001), 156);
}

TEST_F(FrameworkTest, FailedStartShutsDownAgain) {
    EXPECT_FALSE(initializeLibraryOrThrow(kFrameworkVersion, 0xF0002));
    EXPECT_FALSE(isLibraryInitialized());
    EXPECT_FALSE(areKeyTablesReady());
    EXPECT_FALSE(DETAIL::arePlatformWindowClassesRegistered());
    EXPECT_FALSE(DETAIL::isPlatformCursorTableLoaded());
}

TEST_F(FrameworkTest, ShutdownWithoutStartOrTwiceIsHarmless) {
    shutdownLibrary();
    shutdownLibrary();
    EXPECT_FALSE(isLibraryInitialized());
    EXPECT_TRUE(initializeLibraryOrThrow(kFrameworkVersion, kFrameworkFlags));
    shutdownLibrary();
    shutdownLibrary();
    EXPECT_FALSE(areKeyTablesReady());
    EXPECT_FALSE(DETAIL::arePlatformWindowClassesRegistered());
}

TEST_F(FrameworkTest, StartsAgainAfterAStop) {
    ASSERT_TRUE(initializeLibraryOrThrow(kFrameworkVersion, kFrameworkFlags));
    shutdownLibrary();
    ASSERT_TRUE(initializeLibraryOrThrow(kFrameworkVersion, kFrameworkFlags));
    EXPECT_TRUE(DETAIL::arePlatformWindowClassesRegistered());
    EXPECT_TRUE(DETAIL::isPlatformCursorTableLoaded());
}

}  // namespace
}  // namespace QX::UIA
