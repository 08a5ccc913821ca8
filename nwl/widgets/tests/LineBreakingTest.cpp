#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nwl/widgets/LineBreaking.h"

using QX::NWL::DETAIL::breakLines;
using QX::NWL::DETAIL::kNoCodePoint;
using QX::NWL::DETAIL::tLineBreak;

namespace {

// Every character is 10 logical pixels wide, 'W' 50; a line 35 wide holds three.
std::vector<tLineBreak> wrap(const std::string& text, int width, float scale = 1.0f)
{
    std::vector<tLineBreak> breaks;
    breakLines(text, width, scale, [scale](char32_t c) { return int((c == U'W' ? 50 : 10) * scale); }, breaks);
    return breaks;
}

constexpr char32_t none = kNoCodePoint;

TEST(LineBreaking, BreaksLikeAReaderExpects)
{
    struct Case {
        const char* what;
        std::string text;
        int width;
        float scale;
        std::vector<tLineBreak> expected;
    };
    const Case cases[] = {
        {"empty text: one empty line", "", 35, 1.0f, {{0, none}, {0, none}}},
        {"fits", "abc", 35, 1.0f, {{0, none}, {3, none}}},
        {"fits exactly", "abc", 30, 1.0f, {{0, none}, {3, none}}},
        {"one pixel short", "abc", 29, 1.0f, {{0, none}, {2, U'c'}, {3, none}}},
        {"long word breaks before each overflow", "abcdefg", 35, 1.0f, {{0, none}, {3, U'd'}, {6, U'g'}, {7, none}}},
        {"after the blank", "ab cd", 35, 1.0f, {{0, none}, {3, none}, {5, none}}},
        {"after punctuation", "ab,cd", 35, 1.0f, {{0, none}, {3, none}, {5, none}}},
        {"after a hyphen", "a-bcd", 35, 1.0f, {{0, none}, {2, none}, {5, none}}},
        {"the last blank wins", "a b cde", 55, 1.0f, {{0, none}, {4, none}, {7, none}}},
        {"double line feed: empty line between", "a\n\nb", 35, 1.0f, {{0, none}, {2, none}, {3, none}, {4, none}}},
        {"line feed resets the width", "abc\nabc", 35, 1.0f, {{0, none}, {4, none}, {7, none}}},
        {"a too wide first character keeps its line", "Wab", 35, 1.0f, {{0, none}, {1, U'a'}, {3, none}}},
        {"a too wide character after a blank", "a bW", 35, 1.0f, {{0, none}, {2, none}, {3, U'W'}, {4, none}}},
        {"no width yet: only line feeds", "abcdef\nab", 0, 1.0f, {{0, none}, {7, none}, {9, none}}},
        {"negative width", "abcdef", -5, 1.0f, {{0, none}, {6, none}}},
        {"scale 2: widths in logical pixels", "abcd", 35, 2.0f, {{0, none}, {3, U'd'}, {4, none}}},
        {"multi-byte code points", "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 35, 1.0f, {{0, none}, {6, U'\u00E9'}, {8, none}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wrap(c.text, c.width, c.scale), c.expected) << c.what;
}

}  // namespace
