#pragma push_macro("_WIN32")
#undef _WIN32
#include <gtest/gtest.h>
#pragma pop_macro("_WIN32")
#include <windows.h>

#include "uia/AppModule.h"
#include "uia/Library.h"

using namespace QX::UIA;

namespace {

TEST(LibraryTest, LoadsSystemLibrariesAndFindsTheirEntryPoints) {
    void* library = loadLibrary("kernel32.dll");
    ASSERT_NE(library, nullptr);
    EXPECT_NE(getProcAddress(library, "GetTickCount"), nullptr);
    EXPECT_EQ(getProcAddress(library, "NoSuchEntryPoint"), nullptr);
    freeLibrary(library);
    EXPECT_EQ(loadLibrary("no-such-library-here.dll"), nullptr);
    EXPECT_EQ(getProcAddress(nullptr, "GetTickCount"), nullptr);
    freeLibrary(nullptr);
}

TEST(LibraryTest, MissingVersionResourceAppendsThePlaceholder) {
    std::string version = "v";
    EXPECT_FALSE(getFileVersionString(version));
    EXPECT_EQ(version, "v?.??.???");
}

}  // namespace
