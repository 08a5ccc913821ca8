#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "gp/Text.h"

using namespace QX::GP;

namespace {

TEST(Text, RoundTripsEveryPlane)
{
    const std::string text = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB9";  // A é € 🎹
    const std::u16string wide = utf8ToWide(text);
    ASSERT_EQ(wide, (std::u16string{u'A', 0xE9, 0x20AC, 0xD83C, 0xDFB9}));
    EXPECT_EQ(utf16ToUtf8(wide), text);
    EXPECT_EQ(wideToUtf8(wide.c_str()), text);
    EXPECT_EQ(narrowFromWide(wide), text);
    EXPECT_EQ(toWideString("x"), u"x");
    EXPECT_EQ(utf8ToWide("\xF4\x8F\xBF\xBF"), (std::u16string{0xDBFF, 0xDFFF}));  // U+10FFFF
}

// Each ill-formed byte becomes one U+FFFD when converted and one '?' when
// cleaned in place.
TEST(Text, IllFormedUtf8)
{
    struct Case {
        std::string input;
        std::u16string wide;
        std::string cleaned;
    };
    const Case cases[] = {
        {"\x80", u"\uFFFD", "?"},                                // lone continuation
        {"\xC0\xAF", u"\uFFFD\uFFFD", "??"},                     // overlong slash
        {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD", "???"},          // overlong, three bytes
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", "???"},          // encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", "????"},  // above U+10FFFF
        {"\xFF", u"\uFFFD", "?"},
        {"a\xE2\x82", u"a\uFFFD\uFFFD", "a??"},                  // truncated at the end
        {"\xE2\x82" "b", u"\uFFFD\uFFFD" "b", "??b"},            // truncated before ASCII
        {std::string("\0x", 2), std::u16string(u"\0x", 2), std::string("\0x", 2)},
        {"\xEF\xBF\xBD\xF0\x9F\x8E\xB9", u"\uFFFD\U0001F3B9", "\xEF\xBF\xBD\xF0\x9F\x8E\xB9"},  // well-formed stays
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8ToWide(c.input), c.wide) << testing::PrintToString(c.input);
        EXPECT_EQ(replaceInvalidUtf8(c.input), c.cleaned) << testing::PrintToString(c.input);
    }
}

TEST(Text, LoneSurrogatesBecomeReplacement)
{
    const char16_t highAtEnd[] = {u'a', 0xD83C};
    EXPECT_EQ(utf16ToUtf8(highAtEnd, 2), "a\xEF\xBF\xBD");
    const char16_t lowAlone[] = {0xDFB9, u'b'};
    EXPECT_EQ(utf16ToUtf8(lowAlone, 2), "\xEF\xBF\xBD" "b");
    const char16_t reversed[] = {0xDFB9, 0xD83C};
    EXPECT_EQ(utf16ToUtf8(reversed, 2), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(wideToUtf8(nullptr), "");
    EXPECT_EQ(utf16ToUtf8(nullptr, 5), "");
}

TEST(Text, DecodeStepsAndEnds)
{
    const std::string text = "\xC3\xA9\x80z";
    std::size_t offset = 0;
    EXPECT_EQ(decodeUtf8(text, offset), U'\u00E9');
    EXPECT_EQ(offset, 2u);
    EXPECT_EQ(decodeUtf8(text, offset), U'\uFFFD');
    EXPECT_EQ(offset, 3u);
    EXPECT_EQ(decodeUtf8(text, offset), U'z');
    EXPECT_EQ(decodeUtf8(text, offset), static_cast<char32_t>(-1));
    std::string out;
    appendUtf8(out, 0x110000);
    appendUtf8(out, 0xD800);
    EXPECT_EQ(out, "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Text, CopyIfAscii)
{
    EXPECT_EQ(copyIfAscii("Locale"), "Locale");
    EXPECT_EQ(copyIfAscii("caf\xC3\xA9"), "");
    EXPECT_EQ(copyIfAscii(std::string("a\0b", 3)), "");
    EXPECT_EQ(copyIfAscii(""), "");
}

TEST(Text, FindStringCountsMatchedBytes)
{
    EXPECT_EQ(findString("--update C:\\x", "--update", 0, false), 8u);
    EXPECT_EQ(findString("--UPDATE", "--update", 0, false), 0u);
    EXPECT_EQ(findString("--UPDATE", "--update", 0, true), 8u);
    EXPECT_EQ(findString("x\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\x89", 1, true), 5u);
    EXPECT_EQ(findString("abc", "abcd", 0, false), 0u);  // haystack used up first
    EXPECT_EQ(findString("abc", "c", 2, false), 1u);
    EXPECT_EQ(findString("abc", "c", 99, false), 0u);
    EXPECT_EQ(findString("abc", "", 0, false), 0u);
}

}  // namespace
