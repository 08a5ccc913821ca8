#include <gtest/gtest.h>

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

TEST(Library, stoppingWhatWasNotStartedDoesNothing)
{
    // The region pool stays usable: no reference was dropped that was not taken.
    GP::acquireRegionPool();
    exit();
    exit();
    {
        GP::Region region(GP::Rect{0, 0, 4, 4});
        EXPECT_FALSE(region.isEmpty());
    }
    GP::releaseRegionPool();
    EXPECT_FALSE(isInitialized());
}

}  // namespace
}  // namespace QX::NWL
