#pragma push_macro("_WIN32")
#undef _WIN32
#include <gtest/gtest.h>
#pragma pop_macro("_WIN32")
#include <windows.h>

#include "uia/Library.h"

namespace {

TEST(FileVersionTest, ReadsTheProgramsFileVersion) {
    std::string version = "kept only on failure";
    EXPECT_TRUE(QX::UIA::getFileVersionString(version));
    EXPECT_EQ(version, "3.1.4.15");
}

}  // namespace
