#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "SimulatedSetup.h"
#include "gp/Trace.h"
#include "nhl2/USBDevice.h"
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
        "leave-ms = 9000\n"
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
    EXPECT_EQ(d->leaveMs, 9000u);
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

// A line "---" begins the next keyboard's description, from the defaults
// again; a file without one is one description, as before.
TEST(KeyboardDescription, ALineOfDashesBeginsTheNextKeyboard) {
    struct tCase {
        const char* text;
        std::vector<std::string> serials;  // one for each description
        std::vector<std::uint32_t> arrivals;
    };
    const tCase cases[] = {
        {"", {"HVX49-000001"}, {0}},
        {"serial = A\narrival-ms = 10\n", {"A"}, {10}},
        {"serial = A\narrival-ms = 10\n---\nserial = B\n", {"A", "B"}, {10, 0}},
        {"arrival-ms = 10\n  ---  \r\n---\narrival-ms = 30\n", {"HVX49-000001", "HVX49-000001", "HVX49-000001"},
         {10, 0, 30}},
        {"# ---\nserial = A\n", {"A"}, {0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string error;
        const auto descriptions = parseKeyboardDescriptions(c.text, error);
        ASSERT_TRUE(descriptions) << error;
        ASSERT_EQ(descriptions->size(), c.serials.size());
        for (std::size_t i = 0; i < c.serials.size(); ++i) {
            EXPECT_EQ((*descriptions)[i].serialNumber, c.serials[i]);
            EXPECT_EQ((*descriptions)[i].arrivalMs, c.arrivals[i]);
        }
    }
}

TEST(KeyboardDescription, ErrorsNameTheirLineAcrossDescriptions) {
    const std::pair<const char*, const char*> cases[] = {
        {"serial = A\n---\n\ncolour = red\n", "line 4: unknown key 'colour'"},
        {"---\nmodel = 25\n", "line 2: bad value '25' for 'model'"},
        {"---\n--\n", "line 2: expected key = value"},
    };
    for (const auto& [text, expected] : cases) {
        std::string error;
        EXPECT_FALSE(parseKeyboardDescriptions(text, error)) << text;
        EXPECT_EQ(error, expected);
    }
    // Where one keyboard is asked for, a second is an error.
    std::string error;
    EXPECT_FALSE(parseKeyboardDescription("serial = A\n---\nserial = B\n", error));
    EXPECT_EQ(error, "line 2: expected key = value");
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

// The keyboards of the second description follow those of the first: each
// with its own path, its number in the trace, and its own keys.
TEST_F(DriverSelection, AFileOfTwoDescriptionsGivesTheKeyboardsOfBoth) {
    const std::string fileName = testing::TempDir() + "nhl2_keyboards_" + std::to_string(::getpid()) + ".txt";
    std::ofstream(fileName) << "keyboards = 2\nserial = FIRST\n---\nserial = LATE\narrival-ms = 300\n"
                               "trace-requests = yes\n";
    setenv(kSimulatedKeyboardVariable, fileName.c_str(), 1);
    const auto clock = std::make_shared<VirtualClock>();
    const auto driver = std::dynamic_pointer_cast<SimulatedDriver>(createUSBDriver(clock));
    std::remove(fileName.c_str());
    ASSERT_NE(driver, nullptr);
    const USBDeviceFactory factory(driver);
    EXPECT_EQ(factory.enumerateDevices(TEST::makeNormalFilter()).size(), 2u);
    EXPECT_EQ(driver->getKeyboard(2).getPhase(), SimulatedKeyboard::Phase::Absent);
    clock->advance(300);
    const auto handles = factory.enumerateDevices(TEST::makeNormalFilter());
    ASSERT_EQ(handles.size(), 3u);
    std::vector<std::string> serials;
    for (const auto& handle : handles) {
        USBDevice device(driver, clock);
        ASSERT_TRUE(device.open(handle));
        serials.push_back(device.getInfo().serialNumber);
    }
    EXPECT_EQ(serials, (std::vector<std::string>{"FIRST", "FIRST-2", "LATE"}));
    EXPECT_NE(handles[2].devicePath, handles[0].devicePath);

    std::vector<std::string> lines;
    const auto previous = QX::GP::setTraceSink([&](std::string_view line) { lines.emplace_back(line); });
    DFUDevice late(driver, clock);
    const bool switched = late.open(handles[2]) && late.switchToUpdateMode();
    QX::GP::setTraceSink(previous);
    EXPECT_TRUE(switched);
    EXPECT_EQ(lines, (std::vector<std::string>{"SimulatedKeyboard: keyboard 3: switch to update mode: ok"}));
}

TEST_F(DriverSelection, WithoutAReadableDescriptionThePlatformDriverServes) {
    EXPECT_EQ(dynamic_cast<SimulatedDriver*>(createUSBDriver(getSystemClock()).get()), nullptr);
    setenv(kSimulatedKeyboardVariable, "/nonexistent/keyboard.txt", 1);
    EXPECT_EQ(dynamic_cast<SimulatedDriver*>(createUSBDriver(getSystemClock()).get()), nullptr);
}

}  // namespace
}  // namespace QX::NHL2
