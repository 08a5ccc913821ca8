#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "SimulatedSetup.h"
#include "nhl2/USBDriver.h"
#include "nhl2/simulated/KeyboardDescription.h"

namespace QX::NHL2 {
namespace {

TEST(KeyboardDescription, ReadsEveryKey) {
    const char* text =
        "# a late 88-key keyboard that rejects block 7\n"
        "model = 88\n"
        "release = 0x0057\n"
        "update-mode-release = 0x0102\n"
        "serial = HVX88-777\n"
        "strings = non-ascii\n"
        "present = yes\n"
        "arrival-ms = 2500\n"
        "keyboards = 2\n"
        "extra-path = \\\\?\\hid#vid_0f0f&pid_0001#1#{x}\n"
        "switch-fails = no\n"
        "reenumeration-ms = never\n"
        "transfer-size = 0x800\n"
        "manifestation-tolerant = false\n"
        "busy-ms = 300\n"
        "poll-timeout-ms = 50\n"
        "busy-forever = no\n"
        "manifest-ms = 900\n"
        "remove-at-block = 1\n"
        "reject-block = 7\n"
        "error-state-at-block = 2\n"
        "short-status-at-block = 3\n"
        "hang-at-block = 4\n"
        "after-close = old-revision\n"
        "trace-requests = yes\n"
        "keyboards-in-update-mode = 1\n"
        "same-serial = yes\n"
        "manifestation-fault = hang\n"
        "  return-ms   =   7000  \r\n";
    std::string error;
    const auto d = parseKeyboardDescription(text, error);
    ASSERT_TRUE(d) << error;
    EXPECT_EQ(d->modelProductId, kHVX88MK2);
    EXPECT_EQ(d->releaseNumber, 0x0057);
    EXPECT_EQ(d->updateModeRelease, 0x0102);
    EXPECT_EQ(d->serialNumber, "HVX88-777");
    EXPECT_EQ(d->strings, tKeyboardDescription::Strings::NonAscii);
    EXPECT_EQ(d->arrivalMs, 2500u);
    EXPECT_EQ(d->keyboardCount, 2);
    ASSERT_EQ(d->extraPaths.size(), 1u);
    EXPECT_EQ(d->extraPaths[0], u"\\\\?\\hid#vid_0f0f&pid_0001#1#{x}");
    EXPECT_FALSE(d->reenumerationMs);
    EXPECT_EQ(d->transferSize, 0x800);
    EXPECT_FALSE(d->manifestationTolerant);
    EXPECT_EQ(d->busyMs, 300u);
    EXPECT_EQ(d->pollTimeoutMs, 50u);
    EXPECT_EQ(d->manifestMs, 900u);
    EXPECT_EQ(d->removeAtBlock, 1);
    EXPECT_EQ(d->rejectAtBlock, 7);
    EXPECT_EQ(d->errorStateAtBlock, 2);
    EXPECT_EQ(d->shortStatusAtBlock, 3);
    EXPECT_EQ(d->hangAtBlock, 4);
    EXPECT_EQ(d->afterClose, tKeyboardDescription::AfterClose::OldRevision);
    EXPECT_EQ(d->returnMs, 7000u);
    EXPECT_TRUE(d->traceRequests);
    EXPECT_EQ(d->keyboardsInUpdateMode, 1);
    EXPECT_TRUE(d->sameSerial);
    EXPECT_EQ(d->manifestationFault, tKeyboardDescription::ManifestationFault::Hang);
}

TEST(KeyboardDescription, RejectsWhatItDoesNotKnow) {
    for (const char* text : {"model = 25\n", "colour = red\n", "release\n", "release = 0x10000\n",
                             "transfer-size = -1\n", "present = maybe\n", "poll-timeout-ms = 0x1000000\n",
                             "after-close = later\n", "serial =\n", "busy-ms = 12ms\n",
                             "keyboards = 0\n", "keyboards = 9\n", "manifestation-fault = late\n"}) {
        std::string error;
        EXPECT_FALSE(parseKeyboardDescription(text, error)) << text;
        EXPECT_FALSE(error.empty());
    }
    std::string error;
    EXPECT_TRUE(parseKeyboardDescription("", error));
}

class DriverSelection : public testing::Test {
protected:
    void TearDown() override { unsetenv(kSimulatedKeyboardVariable); }
};

TEST_F(DriverSelection, TheVariableNamingADescriptionSelectsTheSimulatedKeyboard) {
    const std::string fileName = testing::TempDir() + "nhl2_keyboard_" + std::to_string(::getpid()) + ".txt";
    std::ofstream(fileName) << "model = 61\nserial = FROM-FILE\n";
    setenv(kSimulatedKeyboardVariable, fileName.c_str(), 1);
    const auto driver = createUSBDriver(std::make_shared<VirtualClock>());
    auto* simulated = dynamic_cast<SimulatedDriver*>(driver.get());
    ASSERT_NE(simulated, nullptr);
    EXPECT_EQ(simulated->getKeyboard(0).getPhase(), SimulatedKeyboard::Phase::Normal);
    std::remove(fileName.c_str());
}

TEST_F(DriverSelection, WithoutAReadableDescriptionThePlatformDriverServes) {
    EXPECT_EQ(dynamic_cast<SimulatedDriver*>(createUSBDriver(getSystemClock()).get()), nullptr);
    setenv(kSimulatedKeyboardVariable, "/nonexistent/keyboard.txt", 1);
    EXPECT_EQ(dynamic_cast<SimulatedDriver*>(createUSBDriver(getSystemClock()).get()), nullptr);
}

}  // namespace
}  // namespace QX::NHL2
