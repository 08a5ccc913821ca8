#include <gtest/gtest.h>

#include "../../../gp/src/common/RegionPool.h"
#include "CoreTestSupport.h"
#include "gp/Assertion.h"
#include "gp/Region.h"
#include "nwl/core/Library.h"

namespace QX::NWL {
namespace {

class ThrowingAssertions {
public:
    ThrowingAssertions() : previous_(GP::Assertion::throwsExceptions()) { GP::Assertion::setThrowsExceptions(true); }
    ~ThrowingAssertions() { GP::Assertion::setThrowsExceptions(previous_); }
    ThrowingAssertions(const ThrowingAssertions&) = delete;
    ThrowingAssertions& operator=(const ThrowingAssertions&) = delete;

private:
    bool previous_;
};

TEST(Library, startsStopsAndStartsAgain)
{
    Testing::registerProgramFonts();
    ASSERT_FALSE(isInitialized());
    init();
    EXPECT_TRUE(isInitialized());
    ASSERT_NE(getManagerContainer(), nullptr);
    exit();
    EXPECT_FALSE(isInitialized());
    EXPECT_EQ(getManagerContainer(), nullptr);
    init();
    EXPECT_NE(getManagerContainer(), nullptr);
    exit();
}

TEST(Library, aSecondStartIsAnAssertion)
{
    ThrowingAssertions throwing;
    init();
    ManagerContainer* container = getManagerContainer();
    try {
        init();
        ADD_FAILURE() << "no assertion";
    } catch (const GP::Assertion::exception& failure) {
        EXPECT_EQ(failure.file(), "init_nwl");
        EXPECT_EQ(failure.line(), 27);
    }
    EXPECT_EQ(getManagerContainer(), container);
    exit();
}

// Stopping what was not started gives back no region-pool reference: were
// it to, the references held here (this test's and the test environment's)
// would run out and the pool would free its chunk at once.
TEST(Library, stoppingWhatWasNotStartedDoesNothing)
{
    GP::acquireRegionPool();
    { GP::Region region(GP::Rect{0, 0, 4, 4}); }
    ASSERT_GT(GP::DETAIL::regionPoolChunkCount(), 0u);
    for (int i = 0; i < 3; ++i)
        exit();
    EXPECT_GT(GP::DETAIL::regionPoolChunkCount(), 0u);
    EXPECT_FALSE(isInitialized());
    EXPECT_EQ(getManagerContainer(), nullptr);
    GP::releaseRegionPool();
}

}  // namespace
}  // namespace QX::NWL
