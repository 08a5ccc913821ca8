#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "uia/picture/Utf8Decoder.h"

namespace QX::UIA {
namespace {

std::vector<char32_t> decodeAll(const std::string& text)
{
    std::vector<char32_t> codePoints;
    for (std::size_t offset = 0; offset < text.size();) codePoints.push_back(decodeUtf8CodePoint(text, offset));
    return codePoints;
}

TEST(Utf8Decoder, DecodesEveryLength)
{
    EXPECT_EQ(decodeAll("A"), std::vector<char32_t>{U'A'});
    EXPECT_EQ(decodeAll("\xC3\xA9"), std::vector<char32_t>{0xE9});
    EXPECT_EQ(decodeAll("\xE2\x82\xAC"), std::vector<char32_t>{0x20AC});
    EXPECT_EQ(decodeAll("\xF0\x9F\x98\x80"), std::vector<char32_t>{0x1F600});
    EXPECT_EQ(decodeAll("\xF4\x8F\xBF\xBF"), std::vector<char32_t>{0x10FFFF});
    EXPECT_EQ(decodeAll("a\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80z"),
              (std::vector<char32_t>{U'a', 0x80, 0x800, 0x10000, U'z'}));
    EXPECT_EQ(decodeAll("\xEF\xBF\xBF"), std::vector<char32_t>{0xFFFF});
}

TEST(Utf8Decoder, RejectsIllFormedSequencesWithTheOneMessage)
{
    const std::vector<std::string> invalid = {
        "\x80",              // lone continuation byte
        "\xBF",              // lone continuation byte
        "\xC0\x80",          // overlong NUL
        "\xC1\xBF",          // overlong 2-byte form
        "\xE0\x9F\xBF",      // overlong 3-byte form
        "\xF0\x8F\xBF\xBF",  // overlong 4-byte form
        "\xED\xA0\x80",      // high surrogate
        "\xED\xBF\xBF",      // low surrogate
        "\xF4\x90\x80\x80",  // above U+10FFFF
        "\xF7\xBF\xBF\xBF",  // far above U+10FFFF
        "\xC3\x41",          // continuation byte missing
        "\xE2\x82\x41",      // last continuation byte missing
        "\xC3",              // text ends inside a sequence
        "\xF0\x9F\x98",      // text ends inside a sequence
        "\xF8\x80\x80\x80\x80",  // five-byte lead
        "\xFF",              // never a lead byte
    };
    for (const auto& text : invalid) {
        std::size_t offset = 0;
        try {
            decodeUtf8CodePoint(text, offset);
            ADD_FAILURE() << "accepted " << ::testing::PrintToString(text);
        } catch (const std::out_of_range& error) {
            EXPECT_STREQ(error.what(), "Invalid UTF-8 sequence encountered while trying to encode UTF-32 character");
        }
    }
}

}  // namespace
}  // namespace QX::UIA
