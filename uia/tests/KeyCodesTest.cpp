#include <gtest/gtest.h>

#include "uia/KeyCodes.h"
#include "uia/WindowOptions.h"

namespace QX::UIA {
namespace {

TEST(KeyCodesTest, ScanCodesNameUsKeyPositions) {
    EXPECT_EQ(Key::keyIdForScanCode(1, false), Key::kEscape);
    EXPECT_EQ(Key::keyIdForScanCode(2, false), std::uint32_t('1'));
    EXPECT_EQ(Key::keyIdForScanCode(11, false), std::uint32_t('0'));
    EXPECT_EQ(Key::keyIdForScanCode(16, false), std::uint32_t('Q'));
    EXPECT_EQ(Key::keyIdForScanCode(28, false), Key::kEnter);
    EXPECT_EQ(Key::keyIdForScanCode(40, false), std::uint32_t('"'));
    EXPECT_EQ(Key::keyIdForScanCode(41, false), std::uint32_t('~'));
    EXPECT_EQ(Key::keyIdForScanCode(43, false), std::uint32_t('\\'));
    EXPECT_EQ(Key::keyIdForScanCode(53, false), std::uint32_t('/'));
    EXPECT_EQ(Key::keyIdForScanCode(57, false), std::uint32_t(' '));
    EXPECT_EQ(Key::keyIdForScanCode(68, false), Key::kF1 + 9);
    EXPECT_EQ(Key::keyIdForScanCode(88, false), Key::kF1 + 11);
    EXPECT_EQ(Key::keyIdForScanCode(71, false), Key::kHome);
    EXPECT_EQ(Key::keyIdForScanCode(29, false), Key::kUnknown);  // Control has no id
}

TEST(KeyCodesTest, KeypadKeysAreMarked) {
    EXPECT_EQ(Key::keyIdForScanCode(71, true), Key::kKeypad | '7');
    EXPECT_EQ(Key::keyIdForScanCode(83, true), Key::kKeypad | ',');
    EXPECT_EQ(Key::keyIdForScanCode(53, true), Key::kKeypad | '/');
    EXPECT_EQ(Key::keyIdForScanCode(69, true), Key::kNumLock);
}

TEST(KeyCodesTest, IndexPastTheTableGivesNoKeyId) {
    EXPECT_EQ(Key::keyIdForScanCode(128, true), Key::kUnknown);
    EXPECT_EQ(Key::keyIdForScanCode(255, true), Key::kUnknown);
    EXPECT_EQ(Key::keyIdForScanCode(0xFFFFFFFF, true), Key::kUnknown);
    EXPECT_EQ(Key::keyIdForScanCode(300, false), Key::kUnknown);
}

TEST(KeyCodesTest, WindowsKeyCountsOnlyWithAnotherModifier) {
    EXPECT_EQ(Key::combineModifiers(false, false, false, false, true), 0u);
    EXPECT_EQ(Key::combineModifiers(true, false, false, false, true), 0x11000000u);
    EXPECT_EQ(Key::combineModifiers(false, true, true, false, false), Key::kControl | Key::kAlt);
    EXPECT_EQ(Key::combineModifiers(false, false, false, true, true), Key::kCapsLock | Key::kWindowsKey);
}

TEST(WindowOptionsTest, TitleGrowsTheBufferAndMarksTheMask) {
    WindowOptions options;
    EXPECT_STREQ(options.getTitle(), "");
    options.setTitle("Short");
    EXPECT_STREQ(options.getTitle(), "Short");
    EXPECT_EQ(options.mask, std::uint32_t(WindowOptions::kTitleGiven));
    options.setTitle("A much longer title than before");
    EXPECT_STREQ(options.getTitle(), "A much longer title than before");
    options.setTitle("Hi");
    EXPECT_STREQ(options.getTitle(), "Hi");
}

TEST(WindowOptionsTest, SizeAndPositionKeepEachOther) {
    WindowOptions options;
    options.setSize(627, 335, true);
    options.setPosition(10, 20, false);
    EXPECT_EQ(options.rect, (GP::Rect{10, 20, 637, 355}));
    EXPECT_EQ(options.mask, std::uint32_t(WindowOptions::kSizeGiven | WindowOptions::kClientSize |
                                           WindowOptions::kPositionGiven));
}

}  // namespace
}  // namespace QX::UIA
