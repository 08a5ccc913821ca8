// Native only: a death test forks, and a forked child that ends takes the
// parent's Wine process state with it.
#include <gtest/gtest.h>

#include <cstdio>

#include "gp/Assertion.h"
#include "gp/MessageBox.h"

using namespace QX::GP;

namespace {

TEST(AssertionDeathTest, WithoutExceptionsShowsTheBoxAndEnds)
{
    Assertion::setThrowsExceptions(false);
    EXPECT_EXIT(
        {
            setMessageHandler([](const MessageBoxRequest& request) {
                fprintf(stderr, "box<%s|%s|%d>\n", request.caption.c_str(), request.text.c_str(), request.icon);
                return 0;
            });
            Assertion::fail("x.cpp", 12, "broken");
        },
        testing::ExitedWithCode(3), "box<Harmova\\|Error x.cpp:12\n\nbroken\\|4>");
}

}  // namespace
