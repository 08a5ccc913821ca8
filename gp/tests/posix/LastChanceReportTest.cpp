#include <gtest/gtest.h>

#include <vector>

#include "gp/LastChanceFilter.h"
#include "gp/MessageBox.h"

using namespace QX::GP;

namespace {

TEST(LastChanceFilter, ReportsOnceAndContinuesSearch)
{
    std::vector<MessageBoxRequest> boxes;
    MessageHandler previous = setMessageHandler([&boxes](const MessageBoxRequest& request) {
        boxes.push_back(request);
        return 0;
    });
    reportUnhandledException("std::bad_alloc");
    EXPECT_EQ(lastChanceFilter(nullptr), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].systemModal);
    EXPECT_EQ(boxes[0].icon, kIconError);
    EXPECT_NE(boxes[0].text.find("std::bad_alloc"), std::string::npos);
    setMessageHandler(previous);
}

}  // namespace
