#include <gtest/gtest.h>

#include "gp/ShortenText.h"

using namespace QX::GP;

namespace {

// Every code point is 10 pixels wide.
int measure(std::string_view text)
{
    int points = 0;
    for (char c : text)
        points += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return points * 10;
}

bool fits(std::string_view text, int width) { return measure(text) <= width; }

TEST(ShortenText, LongestPrefixThatFitsWithEllipsis)
{
    NamedStringMap state;
    EXPECT_EQ(state.mode, 0u);
    EXPECT_EQ(shortenText(state, "Firmware", 80, measure, fits), "Firmware");
    EXPECT_EQ(shortenText(state, "Firmware", 79, measure, fits), "Firmw..");
    EXPECT_EQ(shortenText(state, "Firmware", 30, measure, fits), "F..");
    EXPECT_EQ(shortenText(state, "Firmware", 20, measure, fits), "..");
    EXPECT_EQ(shortenText(state, "Firmware", 19, measure, fits), "");
    EXPECT_EQ(shortenText(state, "", 0, measure, fits), "");
    // Whole code points only.
    EXPECT_EQ(shortenText(state, "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 35, measure, fits), "\xC3\xA9..");
    EXPECT_EQ(shortenText(state, "Firmware", -5, measure, fits), "");
}

TEST(ShortenText, MeasureAloneAndCache)
{
    NamedStringMap state;
    int calls = 0;
    auto counting = [&calls](std::string_view text) {
        ++calls;
        return measure(text);
    };
    EXPECT_EQ(shortenText(state, "Keyboard", 50, counting, nullptr), "Key..");
    const int first = calls;
    EXPECT_EQ(shortenText(state, "Keyboard", 50, counting, nullptr), "Key..");
    EXPECT_EQ(calls, first);  // answered from the cache
    EXPECT_EQ(shortenText(state, "Keyboard", 60, counting, nullptr), "Keyb..");
    EXPECT_EQ(shortenText(state, "text", 1, nullptr, nullptr), "text");
}

// Cached answers belong to the measure they were found with.
TEST(ShortenText, CacheIsKeptApartByMeasure)
{
    NamedStringMap state;
    auto doubleWidth = [](std::string_view text) { return 2 * measure(text); };
    EXPECT_EQ(shortenText(state, "Keyboard", 80, measure, nullptr, "narrow"), "Keyboard");
    EXPECT_EQ(shortenText(state, "Keyboard", 80, doubleWidth, nullptr, "wide"), "Ke..");
    EXPECT_EQ(shortenText(state, "Keyboard", 80, measure, nullptr, "narrow"), "Keyboard");
    // A key that ends in digits does not run into the width.
    EXPECT_EQ(shortenText(state, "Keyboard", 0, measure, nullptr, "wide8"), "");
    EXPECT_EQ(shortenText(state, "Keyboard", 80, doubleWidth, nullptr, "wide"), "Ke..");
}

}  // namespace
