#include <gtest/gtest.h>

#include "uia/AcceleratorManager.h"

using namespace QX::UIA;

namespace {

TEST(AcceleratorManagerTest, FindsExactKeysAndKeypadTwins) {
    auto manager = AcceleratorManagerImplMap::create();
    const std::uint32_t ctrlS = KeyBits::kControl | 'S';
    manager->setAccelerator(ctrlS, 7);
    manager->setAccelerator('5', 11);
    manager->setAccelerator(KeyBits::kKeypad | '8', 12);

    EXPECT_EQ(manager->findCommand(ctrlS), 7);
    EXPECT_EQ(manager->findCommand(ctrlS | KeyBits::kCapsLock), 0);  // Caps Lock stays in the word
    EXPECT_EQ(manager->findCommand(KeyBits::kKeypad | '5'), 11);       // keypad finds its twin
    EXPECT_EQ(manager->findCommand(KeyBits::kKeypad | '8'), 12);       // its own registration first
    EXPECT_EQ(manager->findCommand('8'), 0);
    EXPECT_EQ(manager->findCommand(KeyBits::kShift | 'S'), 0);
}

TEST(AcceleratorManagerTest, SecondRegistrationWinsAndClearEmpties) {
    auto manager = AcceleratorManagerImplMap::create();
    manager->setAccelerator(KeyBits::kFunctionKey | 1, 3);
    manager->setAccelerator(KeyBits::kFunctionKey | 1, 4);
    EXPECT_EQ(manager->findCommand(0x10001), 4);
    manager->clear();
    EXPECT_EQ(manager->findCommand(0x10001), 0);
}

}  // namespace
