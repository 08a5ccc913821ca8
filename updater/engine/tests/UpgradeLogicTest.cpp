#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>

#include "engine/FirmwareEntry.h"
#include "engine/HVXMK2UpdaterUpgradeLogic.h"
#include "gp/Trace.h"
#include "nhl2/DriverRequests.h"
#include "nhl2/simulated/SimulatedKeyboard.h"

namespace QX {
namespace {

using Logic = HVXMK2UpdaterUpgradeLogic;
using Switch = Logic::SwitchResult;

}  // namespace

// A failed comparison names the switch result instead of dumping its bytes.
void PrintTo(HVXMK2UpdaterUpgradeLogic::SwitchResult result, std::ostream* out) {
    static const char* const kNames[] = {"Switched", "Failed", "CannotBeToldApart"};
    *out << kNames[static_cast<int>(result)];
}

namespace {
using NHL2::tKeyboardDescription;

Logic::tResultCell makeResultCell() {
    return std::make_shared<std::atomic<std::int32_t>>(12345);
}

class UpgradeLogicTest : public testing::Test {
protected:
    void prepare(const tKeyboardDescription& description = {}) { prepareSeveral({description}); }

    // The keyboards of each description, one description after the other.
    void prepareSeveral(const std::vector<tKeyboardDescription>& descriptions) {
        logic.reset();
        clock = std::make_shared<NHL2::VirtualClock>();
        driver = std::make_shared<NHL2::SimulatedDriver>(descriptions, clock);
        logic = std::make_unique<Logic>(driver, clock);
    }

    NHL2::SimulatedKeyboard& keyboard() { return driver->getKeyboard(0); }

    struct tProbe {
        NHL2::USBDeviceInfo info;
        std::string installed;
        std::string newest;
        bool updateAvailable = false;
    };

    tProbe readDeviceInfo() {
        tProbe probe;
        logic->getDeviceInfo(probe.info, probe.installed, probe.newest, probe.updateAvailable);
        return probe;
    }

    // What the wizard does from its first probe to the worker's outcome;
    // `beforeUpdate` runs while the user looks at the page.
    std::int32_t runUpdate(const std::function<void()>& beforeUpdate = {}) {
        EXPECT_TRUE(logic->findDevice());
        readDeviceInfo();
        if (beforeUpdate) beforeUpdate();
        if (logic->enterUpdateMode() != Switch::Switched) return 0;
        const auto result = makeResultCell();
        EXPECT_TRUE(logic->startUpdate(result));
        logic->waitForWorker();
        return result->load();
    }

    // A start with no keyboard in update mode is refused and says so.
    void expectStartRefused() {
        const auto result = makeResultCell();
        EXPECT_FALSE(logic->startUpdate(result));
        EXPECT_EQ(result->load(), Logic::kResultNoDevice);
    }

    // Brings another keyboard to the carried revision, as a second updater
    // would: switch, download, close, and back in normal mode.
    void updateElsewhere(std::size_t index, bool waitForItsReturn = true) {
        NHL2::SimulatedKeyboard& other = driver->getKeyboard(index);
        NHL2::DFUDevice device(driver, clock);
        if (other.getPhase() == NHL2::SimulatedKeyboard::Phase::Normal) {
            ASSERT_TRUE(device.open({NHL2::USBDeviceKind::HID, other.getDevicePath()}));
            ASSERT_TRUE(device.switchToUpdateMode());
            clock->advance(1000);
        }
        ASSERT_TRUE(device.open({NHL2::USBDeviceKind::DriverInterface, other.getDevicePath()}));
        ASSERT_EQ(device.download(findFirmwareEntry(NHL2::kHVX49MK2)->images[0].getBytes()),
                  NHL2::DFUDevice::DownloadResult::Success);
        ASSERT_TRUE(device.sendClosingRequest());
        device.close();
        if (!waitForItsReturn) return;
        clock->advance(20000);
        ASSERT_EQ(other.getPhase(), NHL2::SimulatedKeyboard::Phase::Normal);
        ASSERT_EQ(other.getReleaseNumber(), 0x0059);
    }

    std::vector<std::uint32_t> requestCodes() {
        std::vector<std::uint32_t> codes;
        for (const auto& entry : keyboard().getRequestLog()) codes.push_back(entry.code);
        return codes;
    }

    std::shared_ptr<NHL2::VirtualClock> clock;
    std::shared_ptr<NHL2::SimulatedDriver> driver;
    std::unique_ptr<Logic> logic;
};

// The controller's trace lines while it lives.
class TraceLines {
public:
    TraceLines()
        : previous_(QX::GP::setTraceSink([this](std::string_view line) {
              if (line.starts_with("HVXMK2UpdaterUpgradeLogic: ")) {
                  const std::lock_guard lock(mutex_);
                  lines_.emplace_back(line);
              }
          })) {}
    ~TraceLines() { QX::GP::setTraceSink(previous_); }
    TraceLines(const TraceLines&) = delete;
    TraceLines& operator=(const TraceLines&) = delete;

    bool contains(std::string_view text) {
        const std::lock_guard lock(mutex_);
        return std::any_of(lines_.begin(), lines_.end(),
                           [text](const std::string& line) { return line.find(text) != std::string::npos; });
    }

private:
    std::mutex mutex_;
    std::vector<std::string> lines_;
    QX::GP::TraceSink previous_;
};

TEST_F(UpgradeLogicTest, ConstructionOpensNothingAndStartsNothing) {
    prepare();
    EXPECT_EQ(logic->getMode(), Logic::kModeNone);
    EXPECT_EQ(logic->getTransferSize(), 0);
    EXPECT_FALSE(logic->isUpdateRunning());
    EXPECT_TRUE(keyboard().getRequestLog().empty());
}

TEST(UpgradeLogic, TheProgramsControllerTakesTheKeyboardNamedByTheEnvironment) {
    const std::string fileName = testing::TempDir() + "engine_keyboard_" + std::to_string(::getpid()) + ".txt";
    std::ofstream(fileName) << "model = 88\nrelease = 0x0042\nserial = FROM-ENVIRONMENT\n";
    setenv(NHL2::kSimulatedKeyboardVariable, fileName.c_str(), 1);
    Logic logic;
    unsetenv(NHL2::kSimulatedKeyboardVariable);
    std::remove(fileName.c_str());
    ASSERT_TRUE(logic.findDevice());
    NHL2::USBDeviceInfo info;
    std::string installed, newest;
    bool updateAvailable = false;
    logic.getDeviceInfo(info, installed, newest, updateAvailable);
    EXPECT_EQ(info.productId, NHL2::kHVX88MK2);
    EXPECT_EQ(info.serialNumber, "FROM-ENVIRONMENT");
    EXPECT_EQ(installed, "0.4.2");
    EXPECT_TRUE(updateAvailable);
}

TEST_F(UpgradeLogicTest, WholeUpdate) {
    prepare();
    ASSERT_TRUE(logic->findDevice());
    EXPECT_EQ(logic->getMode(), Logic::kModeNormal);
    const auto before = readDeviceInfo();
    EXPECT_EQ(before.info.vendorId, NHL2::kHarmovaVendorId);
    EXPECT_EQ(before.info.productId, NHL2::kHVX49MK2);
    EXPECT_EQ(before.info.serialNumber, "HVX49-000001");
    EXPECT_EQ(before.installed, "0.5.8");
    EXPECT_EQ(before.newest, "0.5.9");
    EXPECT_TRUE(before.updateAvailable);

    ASSERT_EQ(logic->enterUpdateMode(), Switch::Switched);
    EXPECT_EQ(logic->getMode(), Logic::kModeUpdate);
    EXPECT_EQ(logic->getTransferSize(), 1024);
    EXPECT_EQ(logic->isDeviceReady(), Switch::Switched);

    const auto result = makeResultCell();
    // Read before the worker starts: it may advance the clock at once.
    const auto started = clock->getMilliseconds();
    ASSERT_TRUE(logic->startUpdate(result));
    logic->waitForWorker();
    EXPECT_EQ(result->load(), Logic::kResultSuccess);
    EXPECT_GE(clock->getMilliseconds() - started, Logic::kSettleTimeMs);

    const auto& image = findFirmwareEntry(NHL2::kHVX49MK2)->images[0];
    const auto expectedImage = std::vector<std::uint8_t>(image.data, image.data + image.size);
    EXPECT_EQ(keyboard().getReceivedImage(), expectedImage);

    // Switch, attach (descriptors and strings), status, blocks, end, manifestation, closing.
    std::vector<std::uint32_t> expected = {NHL2::kIoctlSwitchToUpdateMode, NHL2::kIoctlGetDeviceDescriptor,
                                           NHL2::kIoctlGetStringDescriptor, NHL2::kIoctlGetStringDescriptor,
                                           NHL2::kIoctlGetStringDescriptor, NHL2::kIoctlGetConfigurationDescriptor,
                                           NHL2::kIoctlDfuGetStatus};
    const std::size_t blocks = (image.size + 1023) / 1024;
    for (std::size_t i = 0; i < blocks; ++i) {
        expected.push_back(NHL2::kIoctlDfuDownload);
        expected.push_back(NHL2::kIoctlDfuGetStatus);
    }
    for (const auto code : {NHL2::kIoctlDfuDownload, NHL2::kIoctlDfuGetStatus, NHL2::kIoctlDfuGetStatus,
                            NHL2::kIoctlCloseUpdate})
        expected.push_back(code);
    EXPECT_EQ(requestCodes(), expected);
    EXPECT_EQ(keyboard().getPollViolations(), 0);

    EXPECT_EQ(logic->getMode(), Logic::kModeNone);
    ASSERT_TRUE(logic->findDevice());
    const auto after = readDeviceInfo();
    EXPECT_EQ(after.installed, "0.5.9");
    EXPECT_EQ(after.installed, after.newest);
    EXPECT_FALSE(after.updateAvailable);
    EXPECT_EQ(after.info.serialNumber, "HVX49-000001");
}

TEST_F(UpgradeLogicTest, EveryModelGetsItsOwnImage) {
    for (const std::uint16_t model : {NHL2::kHVX61MK2, NHL2::kHVX88MK2}) {
        tKeyboardDescription description;
        description.modelProductId = model;
        description.transferSize = 4096;
        prepare(description);
        EXPECT_EQ(runUpdate(), Logic::kResultSuccess);
        const auto bytes = findFirmwareEntry(model)->images[0].getBytes();
        EXPECT_EQ(keyboard().getReceivedImage(), std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    }
}

TEST_F(UpgradeLogicTest, WithoutAKeyboard) {
    tKeyboardDescription description;
    description.present = false;
    prepare(description);
    EXPECT_FALSE(logic->findDevice());
    tProbe probe;
    probe.installed = "untouched";
    probe.info.releaseNumber = 0x1234;
    probe.updateAvailable = true;
    logic->getDeviceInfo(probe.info, probe.installed, probe.newest, probe.updateAvailable);
    EXPECT_EQ(probe.newest, "0.5.9");
    EXPECT_EQ(probe.installed, "untouched");
    EXPECT_EQ(probe.info.releaseNumber, 0);
    EXPECT_FALSE(probe.updateAvailable);
    EXPECT_EQ(logic->enterUpdateMode(), Switch::Failed);
    EXPECT_EQ(logic->isDeviceReady(), Switch::Failed);
    expectStartRefused();
    EXPECT_FALSE(logic->isUpdateRunning());
}

TEST_F(UpgradeLogicTest, LateArrivalIsFoundOnTheNextSearch) {
    tKeyboardDescription description;
    description.arrivalMs = 4000;
    prepare(description);
    EXPECT_FALSE(logic->findDevice());
    clock->advance(4000);
    EXPECT_TRUE(logic->findDevice());
}

TEST_F(UpgradeLogicTest, ForeignPathsAndASecondKeyboardAreNotTaken) {
    tKeyboardDescription description;
    description.keyboardCount = 2;
    description.extraPaths = {u"\\\\?\\hid#vid_0f0f&pid_0a10#1#{4d1e55b2-f16f-11cf-88cb-001111000030}",
                              u"\\\\?\\hid#vid_3a7e&pid_#2#{4d1e55b2-f16f-11cf-88cb-001111000030}",
                              u"\\\\?\\hid#vid_3a7e&pid_0a11#3#{4d1e55b2-f16f-11cf-88cb-001111000030}",
                              u""};
    prepare(description);
    ASSERT_TRUE(logic->findDevice());
    EXPECT_EQ(readDeviceInfo().info.serialNumber, "HVX49-000001");
    EXPECT_EQ(runUpdate(), Logic::kResultSuccess);
    EXPECT_EQ(driver->getKeyboard(1).getReleaseNumber(), 0x0058);
    EXPECT_EQ(keyboard().getReleaseNumber(), 0x0059);
}

TEST_F(UpgradeLogicTest, OddStringsDoNotStopTheUpdate) {
    for (const auto strings : {tKeyboardDescription::Strings::Failing, tKeyboardDescription::Strings::NonAscii,
                               tKeyboardDescription::Strings::InvalidUtf16}) {
        tKeyboardDescription description;
        description.strings = strings;
        prepare(description);
        EXPECT_EQ(runUpdate(), Logic::kResultSuccess);
    }
}

// A keyboard that does not switch, never comes back after the switch, or
// has no transfer size never becomes ready: the update cannot start.
TEST_F(UpgradeLogicTest, KeyboardsThatNeverReachUpdateModeAreNotReady) {
    const std::pair<const char*, std::function<void(tKeyboardDescription&)>> cases[] = {
        {"switch fails", [](auto& d) { d.switchFails = true; }},
        {"no re-enumeration", [](auto& d) { d.reenumerationMs.reset(); }},
        {"transfer size 0", [](auto& d) { d.transferSize = 0; }},
    };
    for (const auto& [name, inject] : cases) {
        SCOPED_TRACE(name);
        tKeyboardDescription description;
        inject(description);
        prepare(description);
        ASSERT_TRUE(logic->findDevice());
        EXPECT_EQ(logic->enterUpdateMode(), Switch::Failed);
        EXPECT_EQ(logic->isDeviceReady(), Switch::Failed);
        expectStartRefused();
        if (!description.reenumerationMs) {
            EXPECT_GE(clock->getMilliseconds(), Logic::kReattachTimeoutMs);
            EXPECT_FALSE(logic->findDevice());
        }
    }
}

TEST_F(UpgradeLogicTest, LateReenumerationIsReadyOnRetry) {
    tKeyboardDescription description;
    description.reenumerationMs = 15000;
    prepare(description);
    ASSERT_TRUE(logic->findDevice());
    readDeviceInfo();
    EXPECT_EQ(logic->enterUpdateMode(), Switch::Failed);
    EXPECT_EQ(logic->isDeviceReady(), Switch::Failed);
    clock->advance(5000);
    ASSERT_EQ(logic->isDeviceReady(), Switch::Switched);
    EXPECT_EQ(logic->enterUpdateMode(), Switch::Switched);  // already in update mode
    const auto result = makeResultCell();
    ASSERT_TRUE(logic->startUpdate(result));
    logic->waitForWorker();
    EXPECT_EQ(result->load(), Logic::kResultSuccess);
    // What was read before the switch still holds for the keyboard switched.
    EXPECT_FALSE(keyboard().getReceivedImage().empty());
}

std::vector<std::uint8_t> imageOf(std::uint16_t model) {
    const auto bytes = findFirmwareEntry(model)->images[0].getBytes();
    return {bytes.begin(), bytes.end()};
}

// After a switch that failed, RETRY at 30 s. Firmware goes at once only into
// our keyboard proven back in update mode (the same model and serial number,
// see LateReenumerationIsReadyOnRetry). Another keyboard there (ours tells no
// serial number, or it has another model or serial number) is written only
// once a search found it and its page (installed "-") was confirmed. While
// the switch waits, a lone keyboard that tells no serial number is taken for
// ours only with our model.
TEST_F(UpgradeLogicTest, AfterAFailedSwitchOnlyTheProvenKeyboardIsWrittenAtOnce) {
    const struct {
        const char* name;
        bool oursTellsASerial;
        std::uint16_t otherModel;
        const char* otherSerial;
        std::uint32_t otherArrivalMs;
    } cases[] = {
        {"ours tells none, a newer stranger", false, NHL2::kHVX49MK2, "HVX49-000009", 25000},
        {"ours tells none, a stranger that tells none", false, NHL2::kHVX49MK2, "", 25000},
        {"ours tells none, a 61-key keyboard", false, NHL2::kHVX61MK2, "HVX61-000009", 25000},
        {"ours never back, a 61-key keyboard with our serial", true, NHL2::kHVX61MK2, "HVX49-000001", 25000},
        {"ours tells none, one of another model during the wait", false, NHL2::kHVX61MK2, "", 2000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tKeyboardDescription ours;
        if (!c.oursTellsASerial) ours.strings = tKeyboardDescription::Strings::Failing;
        ours.reenumerationMs.reset();
        tKeyboardDescription other;
        other.modelProductId = c.otherModel;
        other.serialNumber = c.otherSerial;
        if (!*c.otherSerial) other.strings = tKeyboardDescription::Strings::Failing;
        other.releaseNumber = 0x0060;
        other.keyboardsInUpdateMode = 1;
        other.arrivalMs = c.otherArrivalMs;
        prepareSeveral({ours, other});
        ASSERT_TRUE(logic->findDevice());
        ASSERT_TRUE(readDeviceInfo().updateAvailable);
        ASSERT_EQ(logic->enterUpdateMode(), Switch::Failed);
        clock->advance(20000);
        EXPECT_EQ(logic->isDeviceReady(), Switch::Failed);
        expectStartRefused();
        ASSERT_TRUE(logic->findDevice());
        const auto page = readDeviceInfo();
        EXPECT_EQ(page.installed + " " + page.info.serialNumber, std::string("- ") + c.otherSerial);
        EXPECT_TRUE(driver->getKeyboard(1).getReceivedImage().empty());
        ASSERT_EQ(logic->enterUpdateMode(), Switch::Switched);
        ASSERT_TRUE(logic->startUpdate(makeResultCell()));
        logic->waitForWorker();
        EXPECT_EQ(driver->getKeyboard(1).getReceivedImage(), imageOf(c.otherModel));
        EXPECT_TRUE(keyboard().getReceivedImage().empty());
    }
}

// The user's keyboard comes back in update mode only after the switch gave
// up, and RETRY found the other keyboard (newer, so its page is final). A
// later search, or a new start, takes the keyboard in update mode before the
// other one and offers it; the search forgot the confirmation, so it is
// written only after its page was confirmed.
TEST_F(UpgradeLogicTest, AKeyboardLeftInUpdateModeIsOfferedAgain) {
    for (const bool newStart : {false, true}) {
        SCOPED_TRACE(newStart ? "a new start" : "a later search");
        tKeyboardDescription ours;
        ours.reenumerationMs = 15000;
        tKeyboardDescription other;
        other.serialNumber = "HVX49-000002";
        other.releaseNumber = 0x0060;
        prepareSeveral({ours, other});
        ASSERT_TRUE(logic->findDevice());
        ASSERT_TRUE(readDeviceInfo().updateAvailable);
        ASSERT_EQ(logic->enterUpdateMode(), Switch::Failed);
        ASSERT_EQ(logic->isDeviceReady(), Switch::Failed);
        ASSERT_TRUE(logic->findDevice());
        ASSERT_EQ(readDeviceInfo().info.serialNumber, "HVX49-000002");
        clock->advance(6000);
        if (newStart) logic = std::make_unique<Logic>(driver, clock);
        ASSERT_TRUE(logic->findDevice());
        const auto page = readDeviceInfo();
        EXPECT_EQ(page.installed + " " + page.info.serialNumber, "- HVX49-000001");
        EXPECT_EQ(logic->isDeviceReady(), Switch::Failed);
        expectStartRefused();
        EXPECT_EQ(logic->enterUpdateMode(), Switch::Switched);
    }
}

// Each download fault ends in -2, sends the abort and the closing request,
// and leaves the keyboard's revision as it was.
TEST_F(UpgradeLogicTest, DownloadFaultsAreReportedAsFailures) {
    const std::pair<const char*, std::function<void(tKeyboardDescription&)>> faults[] = {
        {"removed during the download", [](auto& d) { d.removeAtBlock = 7; }},
        {"block rejected", [](auto& d) { d.rejectAtBlock = 11; }},
        {"error state", [](auto& d) { d.errorStateAtBlock = 0; }},
        {"short status reply", [](auto& d) { d.shortStatusAtBlock = 5; }},
        {"request never completes", [](auto& d) { d.hangAtBlock = 3; }},
        {"busy for ever", [](auto& d) { d.busyForever = true; d.pollTimeoutMs = 1000; }},
        {"absurd poll time-out", [](auto& d) { d.busyMs = 100; d.pollTimeoutMs = 0xFFFFFF; }},
        {"every block busy for 50 s", [](auto& d) { d.busyMs = 50000; d.pollTimeoutMs = 25000; }},
        {"removed during the manifestation", [](auto& d) { d.manifestationFault = decltype(d.manifestationFault)::Remove; }},
        {"no answer in the manifestation", [](auto& d) { d.manifestationFault = decltype(d.manifestationFault)::Hang; }},
    };
    for (const auto& [name, inject] : faults) {
        SCOPED_TRACE(name);
        tKeyboardDescription description;
        inject(description);
        prepare(description);
        EXPECT_EQ(runUpdate(), Logic::kResultDownloadFailed);
        // Each request went out in a state that takes it.
        for (const auto& entry : keyboard().getRequestLog()) {
            if (entry.code == NHL2::kIoctlDfuAbort || entry.code == NHL2::kIoctlDfuClearStatus) {
                EXPECT_EQ(entry.status, NHL2::IoStatus::Success);
            }
        }
        const bool removed = description.removeAtBlock >= 0 ||
                             description.manifestationFault == tKeyboardDescription::ManifestationFault::Remove;
        if (!removed) {
            EXPECT_EQ(requestCodes().back(), NHL2::kIoctlCloseUpdate);
        }
        clock->advance(60000);
        EXPECT_NE(keyboard().getReleaseNumber(), 0x0059);
    }
}

// Legal but slow devices: a 15 s poll time-out, a long manifestation, and a
// device that is not manifestation tolerant. The check after the update
// finds the new revision.
TEST_F(UpgradeLogicTest, SlowAndNonTolerantDevicesAreUpdated) {
    const std::pair<const char*, std::function<void(tKeyboardDescription&)>> cases[] = {
        {"15 s erase", [](auto& d) { d.busyMs = 15000; d.pollTimeoutMs = 15000; }},
        {"8 s busy, polled every 250 ms", [](auto& d) { d.busyMs = 8000; d.pollTimeoutMs = 250; d.manifestMs = 3000; }},
        {"15 s manifestation", [](auto& d) { d.manifestMs = 15000; }},
        {"not manifestation tolerant", [](auto& d) { d.manifestationTolerant = false; d.manifestMs = 2000; }},
    };
    for (const auto& [name, adapt] : cases) {
        SCOPED_TRACE(name);
        tKeyboardDescription description;
        adapt(description);
        prepare(description);
        EXPECT_EQ(runUpdate(), Logic::kResultSuccess);
        EXPECT_EQ(keyboard().getPollViolations(), 0);
        clock->advance(1000);
        ASSERT_TRUE(logic->findDevice());
        EXPECT_EQ(readDeviceInfo().installed, "0.5.9");
    }
}

TEST_F(UpgradeLogicTest, AKeyboardAlreadyInUpdateModeIsFoundAndUpdated) {
    tKeyboardDescription description;
    description.keyboardsInUpdateMode = 1;
    prepare(description);
    ASSERT_TRUE(logic->findDevice());
    EXPECT_EQ(logic->getMode(), Logic::kModeUpdate);
    const auto probe = readDeviceInfo();
    EXPECT_EQ(probe.installed, "-");
    EXPECT_EQ(probe.newest, "0.5.9");
    EXPECT_TRUE(probe.updateAvailable);
    EXPECT_EQ(runUpdate(), Logic::kResultSuccess);
    ASSERT_TRUE(logic->findDevice());
    EXPECT_EQ(readDeviceInfo().installed, "0.5.9");
}

// Two keyboards, the second in update mode before the switch (it arrives
// while the user looks at the page): the user's keyboard (the first) is
// switched, updated and checked, whether the two tell different serial
// numbers or the same one.
TEST_F(UpgradeLogicTest, TheSwitchedKeyboardIsTheOneUpdated) {
    for (const char* otherSerial : {"HVX49-000002", "HVX49-000001"}) {
        SCOPED_TRACE(otherSerial);
        tKeyboardDescription other;
        other.serialNumber = otherSerial;
        other.keyboardsInUpdateMode = 1;
        other.arrivalMs = 1000;
        prepareSeveral({{}, other});
        ASSERT_TRUE(logic->findDevice());
        EXPECT_EQ(logic->getMode(), Logic::kModeNormal);
        EXPECT_EQ(runUpdate([&] { clock->advance(1000); }), Logic::kResultSuccess);
        EXPECT_TRUE(driver->getKeyboard(1).getReceivedImage().empty());
        clock->advance(1000);
        EXPECT_EQ(keyboard().getReleaseNumber(), 0x0059);
    }
}

// Two keyboards that tell the same serial number, or none: after the update
// either might be read back as the updated one. Whether the other one goes
// into update mode at the same time (and comes first there, or second) or
// stays in normal mode (perhaps already with the carried revision, while the
// user's keyboard would come back late), no update starts, nothing is written
// to either, and the refusal says why; so it stays when the user tries again
// with both connected.
TEST_F(UpgradeLogicTest, TwoKeyboardsThatCannotBeToldApartAreRefused) {
    enum class Other { SwitchedToo, SwitchedFirst, StaysWithItsRevision, StaysWithTheNewRevision };
    struct tCase {
        const char* name;
        bool sameSerial;  // else neither tells a serial number
        Other other;
        std::function<void(tKeyboardDescription&)> adapt;
    };
    const tCase cases[] = {
        {"same serial, both switched", true, Other::SwitchedToo, [](auto&) {}},
        {"no serials, both switched", false, Other::SwitchedToo, [](auto&) {}},
        {"same serial, both switched, the other first in update mode", true, Other::SwitchedFirst, [](auto&) {}},
        {"no serials, both switched, the other first in update mode", false, Other::SwitchedFirst, [](auto&) {}},
        {"same serial, twin in normal mode", true, Other::StaysWithItsRevision, [](auto&) {}},
        {"same serial, updated twin, back late", true, Other::StaysWithTheNewRevision,
         [](auto& d) { d.returnMs = 7000; }},
        {"no serials, updated twin, back late", false, Other::StaysWithTheNewRevision,
         [](auto& d) { d.returnMs = 7000; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tKeyboardDescription description;
        description.keyboardCount = 2;
        description.sameSerial = c.sameSerial;
        if (!c.sameSerial) description.strings = tKeyboardDescription::Strings::Failing;
        c.adapt(description);
        prepare(description);
        if (c.other == Other::StaysWithTheNewRevision) updateElsewhere(1);
        // The other one is switched by another program, before our search
        // (so that it comes back first) or after it.
        const std::size_t ours = c.other == Other::SwitchedFirst ? 1 : 0;
        const auto switchOther = [&] {
            NHL2::DFUDevice other(driver, clock);
            ASSERT_TRUE(other.open({NHL2::USBDeviceKind::HID, driver->getKeyboard(1 - ours).getDevicePath()}));
            ASSERT_TRUE(other.switchToUpdateMode());
        };
        if (c.other == Other::SwitchedFirst) switchOther();
        const std::size_t requestsBefore[] = {driver->getKeyboard(0).getRequestLog().size(),
                                              driver->getKeyboard(1).getRequestLog().size()};
        ASSERT_TRUE(logic->findDevice());
        ASSERT_EQ(readDeviceInfo().installed, "0.5.8");
        if (c.other == Other::SwitchedToo) switchOther();
        EXPECT_EQ(logic->enterUpdateMode(), Switch::CannotBeToldApart);
        const bool switched = c.other == Other::SwitchedToo || c.other == Other::SwitchedFirst;
        if (!switched) {
            EXPECT_TRUE(keyboard().getRequestLog().empty());
            EXPECT_EQ(driver->getKeyboard(1).getRequestLog().size(), requestsBefore[1]);
        }
        // What the user may try next, with both still connected, is refused
        // the same way, whichever of them the search takes.
        EXPECT_EQ(logic->isDeviceReady(), Switch::CannotBeToldApart);
        expectStartRefused();
        ASSERT_TRUE(logic->findDevice());
        EXPECT_EQ(logic->getMode(), switched ? Logic::kModeUpdate : Logic::kModeNormal);
        EXPECT_EQ(logic->isDeviceReady(), Switch::CannotBeToldApart);
        EXPECT_EQ(logic->enterUpdateMode(), Switch::CannotBeToldApart);
        expectStartRefused();
        if (!switched) {
            EXPECT_TRUE(keyboard().getRequestLog().empty());
        }
        for (std::size_t i = 0; i < 2; ++i) {
            const auto log = driver->getKeyboard(i).getRequestLog();
            for (auto entry = log.begin() + requestsBefore[i]; entry != log.end(); ++entry)
                EXPECT_NE(entry->code, NHL2::kIoctlDfuDownload) << "keyboard " << i + 1;
        }
    }
}

// The worker writes a keyboard only when its revision was read as older
// since a search found it, or when it was found in update mode: not one that
// a search finds after the keyboard read before (the user unplugged that
// one) until it is read itself, and never one read as newer.
TEST_F(UpgradeLogicTest, AKeyboardIsWrittenOnlyWhenReadAsOlderSinceItWasFound) {
    struct tCase {
        const char* name;
        std::uint16_t release;  // of the keyboard found second
        bool inUpdateMode;
        bool read;
        bool written;
    };
    const tCase cases[] = {
        {"older, not read", 0x0057, false, false, false},
        {"older, read", 0x0057, false, true, true},
        {"newer, read", 0x0060, false, true, false},
        {"in update mode, not read", 0x0060, true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tKeyboardDescription first;  // read as older, then unplugged
        first.leaveMs = 1000;
        tKeyboardDescription second;
        second.serialNumber = "HVX49-000002";
        second.releaseNumber = c.release;
        second.keyboardsInUpdateMode = c.inUpdateMode ? 1 : 0;
        prepareSeveral({first, second});
        ASSERT_TRUE(logic->findDevice());
        ASSERT_TRUE(readDeviceInfo().updateAvailable);
        clock->advance(1000);
        ASSERT_TRUE(logic->findDevice());
        if (c.read) readDeviceInfo();
        ASSERT_EQ(logic->enterUpdateMode(), Switch::Switched);
        const auto result = makeResultCell();
        ASSERT_TRUE(logic->startUpdate(result));
        logic->waitForWorker();
        EXPECT_EQ(result->load(), Logic::kResultSuccess);
        EXPECT_EQ(driver->getKeyboard(1).getReceivedImage().empty(), !c.written);
    }
}

// A keyboard found already in update mode (an interrupted update) while its
// twin was away: when the twin is back in normal mode, the update does not
// start.
TEST_F(UpgradeLogicTest, AnInterruptedUpdateWithATwinInNormalModeDoesNotStart) {
    tKeyboardDescription description;
    description.keyboardCount = 2;
    description.keyboardsInUpdateMode = 1;
    description.sameSerial = true;
    prepare(description);
    updateElsewhere(0, false);  // away until it restarts with the carried revision
    ASSERT_TRUE(logic->findDevice());
    ASSERT_EQ(logic->getMode(), Logic::kModeUpdate);
    readDeviceInfo();
    clock->advance(1000);
    ASSERT_EQ(keyboard().getPhase(), NHL2::SimulatedKeyboard::Phase::Normal);
    EXPECT_EQ(logic->enterUpdateMode(), Switch::CannotBeToldApart);
    expectStartRefused();
    EXPECT_TRUE(driver->getKeyboard(1).getReceivedImage().empty());
}

// A keyboard that tells no serial number is known after the update only while
// it is alone. Beside any other keyboard, in normal or in update mode, it is
// refused before anything reaches it that changes it: before the switch, or,
// found already in update mode, before the download. Alone it is updated.
TEST_F(UpgradeLogicTest, AKeyboardWithoutASerialNumberIsUpdatedOnlyAlone) {
    enum class Outcome { Updated, UpdatedButNotConfirmed, RefusedBeforeTheSwitch, RefusedInUpdateMode };
    struct tCase {
        const char* name;
        bool oursInUpdateMode;
        std::function<void(std::vector<tKeyboardDescription>&)> addOthers;
        Outcome outcome;
    };
    // Another keyboard; one in update mode beside ours in normal mode comes
    // after the search, which would take it first.
    const auto other = [](const char* serial, bool inUpdateMode, bool oursInUpdateMode = false) {
        tKeyboardDescription keyboard;
        keyboard.serialNumber = serial;
        if (!*serial) keyboard.strings = tKeyboardDescription::Strings::Failing;
        keyboard.keyboardsInUpdateMode = inUpdateMode ? 1 : 0;
        if (inUpdateMode && !oursInUpdateMode) keyboard.arrivalMs = 1000;
        return keyboard;
    };
    const auto withSerial = [&](bool inUpdateMode, bool oursInUpdateMode = false) {
        return other("HVX49-000777", inUpdateMode, oursInUpdateMode);
    };
    const tCase cases[] = {
        {"alone", false, [](auto&) {}, Outcome::Updated},
        {"alone, already in update mode", true, [](auto&) {}, Outcome::Updated},
        {"beside a keyboard that tells one", false, [&](auto& d) { d.push_back(withSerial(false)); },
         Outcome::RefusedBeforeTheSwitch},
        {"beside a keyboard in update mode that tells one", false, [&](auto& d) { d.push_back(withSerial(true)); },
         Outcome::RefusedBeforeTheSwitch},
        {"beside a keyboard in update mode that tells none", false, [&](auto& d) { d.push_back(other("", true)); },
         Outcome::RefusedBeforeTheSwitch},
        {"in update mode, beside another in update mode", true,
         [&](auto& d) { d.push_back(withSerial(true, true)); }, Outcome::RefusedInUpdateMode},
        {"alone, another plugged in during the download", false,
         [&](auto& d) {
             d.front().busyMs = 1000;  // a block a second: the download takes about 40 s
             d.front().pollTimeoutMs = 100;
             d.push_back(withSerial(false));
             d.back().arrivalMs = 10000;
         },
         Outcome::UpdatedButNotConfirmed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<tKeyboardDescription> descriptions(1);
        descriptions.front().strings = tKeyboardDescription::Strings::Failing;
        descriptions.front().keyboardsInUpdateMode = c.oursInUpdateMode ? 1 : 0;
        c.addOthers(descriptions);
        prepareSeveral(descriptions);
        TraceLines trace;
        ASSERT_TRUE(logic->findDevice());
        ASSERT_EQ(logic->getMode(), c.oursInUpdateMode ? Logic::kModeUpdate : Logic::kModeNormal);
        ASSERT_EQ(readDeviceInfo().info.serialNumber, "");
        clock->advance(1000);
        if (c.outcome == Outcome::Updated || c.outcome == Outcome::UpdatedButNotConfirmed) {
            ASSERT_EQ(logic->enterUpdateMode(), Switch::Switched);
            const auto result = makeResultCell();
            ASSERT_TRUE(logic->startUpdate(result));
            logic->waitForWorker();
            EXPECT_EQ(result->load(), Logic::kResultSuccess);
            clock->advance(1000);
            if (c.outcome == Outcome::UpdatedButNotConfirmed) {
                EXPECT_FALSE(logic->findDevice());
                EXPECT_TRUE(trace.contains("the updated keyboard tells no serial number, and 2 keyboards are connected"));
                continue;
            }
            ASSERT_TRUE(logic->findDevice());
            EXPECT_EQ(readDeviceInfo().installed, "0.5.9");
            continue;
        }
        EXPECT_EQ(logic->enterUpdateMode(), Switch::CannotBeToldApart);
        EXPECT_EQ(logic->isDeviceReady(), Switch::CannotBeToldApart);
        expectStartRefused();
        if (c.outcome == Outcome::RefusedBeforeTheSwitch) {
            EXPECT_TRUE(keyboard().getRequestLog().empty());
        }
        EXPECT_TRUE(trace.contains("tells no serial number and is not the only keyboard connected"));
        for (std::size_t i = 0; i < 2; ++i) {
            for (const auto& entry : driver->getKeyboard(i).getRequestLog()) {
                EXPECT_NE(entry.code, NHL2::kIoctlSwitchToUpdateMode);
                EXPECT_NE(entry.code, NHL2::kIoctlDfuDownload);
            }
        }
    }
}

// While the updated keyboard is still in update mode, a keyboard in normal
// mode that tells its serial number cannot be it. One that arrives during
// the download is not taken for it when ours is slow to come back, comes back
// with its old revision or never comes back: the download was good (the
// outcome stays 1), but the check after the update, at once and 5 s later as
// the wizard looks, finds no keyboard. A newcomer that tells another serial
// number changes nothing.
TEST_F(UpgradeLogicTest, AKeyboardThatArrivesDuringTheUpdateIsNotTakenForTheUpdatedOne) {
    using AfterClose = tKeyboardDescription::AfterClose;
    struct tCase {
        const char* name;
        AfterClose afterClose;
        std::uint32_t returnMs;
        const char* newcomerSerial;
        bool confirmed;
    };
    const tCase cases[] = {
        {"ours back after 7 s", AfterClose::NewRevision, 7000, "HVX49-000001", false},
        {"ours back after 7 s with its old revision", AfterClose::OldRevision, 7000, "HVX49-000001", false},
        {"ours never back", AfterClose::Never, 0, "HVX49-000001", false},
        {"a newcomer with another serial number", AfterClose::NewRevision, 7000, "HVX49-000777", true},
    };
    const auto bytes = findFirmwareEntry(NHL2::kHVX49MK2)->images[0].getBytes();
    const std::vector<std::uint8_t> image(bytes.begin(), bytes.end());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tKeyboardDescription ours;
        ours.busyMs = 1000;  // a block a second: the download takes about 40 s
        ours.pollTimeoutMs = 100;
        ours.afterClose = c.afterClose;
        ours.returnMs = c.returnMs;
        tKeyboardDescription newcomer;
        newcomer.serialNumber = c.newcomerSerial;
        newcomer.releaseNumber = 0x0059;
        newcomer.arrivalMs = 10000;
        prepareSeveral({ours, newcomer});
        TraceLines trace;
        ASSERT_EQ(runUpdate(), Logic::kResultSuccess);
        NHL2::SimulatedKeyboard& other = driver->getKeyboard(1);
        ASSERT_EQ(other.getPhase(), NHL2::SimulatedKeyboard::Phase::Normal);
        EXPECT_TRUE(other.getRequestLog().empty());
        EXPECT_EQ(keyboard().getReceivedImage(), image);
        EXPECT_EQ(trace.contains("the update cannot be confirmed"), !c.confirmed);

        EXPECT_FALSE(logic->findDevice());  // ours is not back yet
        EXPECT_EQ(trace.contains("takes no keyboard: another keyboard told the updated keyboard's serial number"),
                  !c.confirmed);
        clock->advance(5000);
        if (!c.confirmed) {
            EXPECT_FALSE(logic->findDevice());
            continue;
        }
        ASSERT_TRUE(logic->findDevice());
        const auto probe = readDeviceInfo();
        EXPECT_EQ(probe.info.serialNumber, "HVX49-000001");
        EXPECT_EQ(probe.installed, "0.5.9");
    }
}

// After an update left unconfirmed by a late twin the controller takes no
// keyboard: a search finds none, and a keyboard that comes in update mode
// later (another one, never switched nor read) is not ready for an update.
TEST_F(UpgradeLogicTest, AfterAnUnconfirmedUpdateNoKeyboardIsTaken) {
    tKeyboardDescription ours;
    ours.keyboardsInUpdateMode = 1;  // nothing switched: nothing to narrow the next attach
    ours.busyMs = 1000;
    ours.pollTimeoutMs = 100;
    tKeyboardDescription twin;
    twin.releaseNumber = 0x0059;
    twin.arrivalMs = 10000;
    tKeyboardDescription another;
    another.serialNumber = "HVX49-000777";
    another.keyboardsInUpdateMode = 1;
    another.arrivalMs = 120000;
    prepareSeveral({ours, twin, another});
    ASSERT_EQ(runUpdate(), Logic::kResultSuccess);
    ASSERT_FALSE(logic->findDevice());

    clock->advance(120000);
    EXPECT_EQ(logic->isDeviceReady(), Switch::Failed);
    expectStartRefused();
    EXPECT_FALSE(logic->findDevice());
    EXPECT_TRUE(driver->getKeyboard(2).getReceivedImage().empty());
}

// After the update the check looks at the updated keyboard only, even when
// another one is there first.
TEST_F(UpgradeLogicTest, TheCheckAfterTheUpdateLooksAtTheUpdatedKeyboard) {
    tKeyboardDescription description;
    description.keyboardCount = 2;
    description.returnMs = 7000;
    prepare(description);
    ASSERT_EQ(runUpdate(), Logic::kResultSuccess);
    EXPECT_FALSE(logic->findDevice());
    clock->advance(5000);
    ASSERT_TRUE(logic->findDevice());
    const auto probe = readDeviceInfo();
    EXPECT_EQ(probe.info.serialNumber, "HVX49-000001");
    EXPECT_EQ(probe.installed, "0.5.9");

    // A twin that was in update mode at the switch, and so was told apart,
    // comes back in normal mode from an update of its own: which one is ours?
    tKeyboardDescription twin;
    twin.keyboardsInUpdateMode = 1;
    twin.arrivalMs = 1000;  // after the search, which would take it first
    prepareSeveral({{}, twin});
    ASSERT_EQ(runUpdate([&] { clock->advance(1000); }), Logic::kResultSuccess);
    updateElsewhere(1);
    EXPECT_EQ(keyboard().getPhase(), NHL2::SimulatedKeyboard::Phase::Normal);
    EXPECT_FALSE(logic->findDevice());

    // Ours stays away; a keyboard of another model that tells its serial
    // number and the carried revision is not ours.
    tKeyboardDescription gone;
    gone.afterClose = tKeyboardDescription::AfterClose::Never;
    tKeyboardDescription stranger;
    stranger.modelProductId = NHL2::kHVX61MK2;
    stranger.releaseNumber = 0x0059;
    stranger.arrivalMs = 120000;
    prepareSeveral({gone, stranger});
    ASSERT_EQ(runUpdate(), Logic::kResultSuccess);
    clock->advance(120000);
    ASSERT_EQ(driver->getKeyboard(1).getPhase(), NHL2::SimulatedKeyboard::Phase::Normal);
    EXPECT_FALSE(logic->findDevice());
}

TEST_F(UpgradeLogicTest, WhatHappensAfterTheClosingRequest) {
    struct tCase {
        const char* name;
        tKeyboardDescription::AfterClose afterClose;
        std::uint32_t returnMs;
        bool foundAtOnce;
        bool foundFiveSecondsLater;
        const char* installed;
    };
    const tCase cases[] = {
        {"back quickly", tKeyboardDescription::AfterClose::NewRevision, 300, true, true, "0.5.9"},
        {"back after 7 s", tKeyboardDescription::AfterClose::NewRevision, 7000, false, true, "0.5.9"},
        {"back after 12 s", tKeyboardDescription::AfterClose::NewRevision, 12000, false, false, ""},
        {"never back", tKeyboardDescription::AfterClose::Never, 0, false, false, ""},
        {"old revision", tKeyboardDescription::AfterClose::OldRevision, 300, true, true, "0.5.8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tKeyboardDescription description;
        description.afterClose = c.afterClose;
        description.returnMs = c.returnMs;
        prepare(description);
        ASSERT_EQ(runUpdate(), Logic::kResultSuccess);
        // The wizard looks at once and once more after 5 s.
        EXPECT_EQ(logic->findDevice(), c.foundAtOnce);
        clock->advance(5000);
        ASSERT_EQ(logic->findDevice(), c.foundFiveSecondsLater);
        if (c.foundFiveSecondsLater) {
            EXPECT_EQ(readDeviceInfo().installed, c.installed);
        }
    }
}

// The newest revision or a later one installed: no update is offered, and a
// started one sends no block.
TEST_F(UpgradeLogicTest, CurrentOrNewerRevisionIsNoUpdate) {
    for (const auto& [release, installed] : {std::pair<std::uint16_t, const char*>{0x0059, "0.5.9"}, {0x0100, "1.0.0"}}) {
        SCOPED_TRACE(installed);
        tKeyboardDescription description;
        description.releaseNumber = release;
        prepare(description);
        ASSERT_TRUE(logic->findDevice());
        const auto probe = readDeviceInfo();
        EXPECT_EQ(probe.installed, installed);
        EXPECT_EQ(probe.newest, "0.5.9");
        EXPECT_FALSE(probe.updateAvailable);
        ASSERT_EQ(logic->enterUpdateMode(), Switch::Switched);
        const auto result = makeResultCell();
        ASSERT_TRUE(logic->startUpdate(result));
        logic->waitForWorker();
        EXPECT_EQ(result->load(), Logic::kResultSuccess);
        for (const auto code : requestCodes()) EXPECT_NE(code, NHL2::kIoctlDfuDownload);
        EXPECT_EQ(requestCodes().back(), NHL2::kIoctlCloseUpdate);
    }
}

TEST_F(UpgradeLogicTest, RunUpdateWithoutUpdateModeStoresMinusOneAtOnce) {
    prepare();
    const auto result = makeResultCell();
    logic->runUpdate(result);
    EXPECT_EQ(result->load(), Logic::kResultNoDevice);
    ASSERT_TRUE(logic->findDevice());
    logic->runUpdate(result);
    EXPECT_EQ(result->load(), Logic::kResultNoDevice);
    EXPECT_EQ(clock->getMilliseconds(), 0u);
    EXPECT_TRUE(keyboard().getRequestLog().empty());
}

using Milliseconds = std::chrono::milliseconds;

Milliseconds measure(const std::function<void()>& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration_cast<Milliseconds>(std::chrono::steady_clock::now() - start);
}

TEST_F(UpgradeLogicTest, TimedJoinsKeepARunningWorkerJoinable) {
    prepare();
    ASSERT_TRUE(logic->findDevice());
    readDeviceInfo();
    ASSERT_EQ(logic->enterUpdateMode(), Switch::Switched);
    clock->holdSleeps();
    auto result = makeResultCell();
    ASSERT_TRUE(logic->startUpdate(result));

    bool running = false;
    EXPECT_GE(measure([&] { running = logic->isUpdateRunning(); }), Milliseconds(450));
    EXPECT_TRUE(running);
    EXPECT_GE(measure([&] { logic->stopWorker(); }), Milliseconds(450));
    EXPECT_EQ(result->load(), Logic::kResultRunning);

    // The caller lets go of its cell first; the worker still holds it.
    const std::weak_ptr<std::atomic<std::int32_t>> watched = result;
    result.reset();
    EXPECT_FALSE(watched.expired());

    clock->releaseSleeps();
    logic->waitForWorker();
    EXPECT_FALSE(logic->isUpdateRunning());
    EXPECT_TRUE(watched.expired());
}

TEST_F(UpgradeLogicTest, AWorkerThatEndsInTimeIsJoined) {
    prepare();
    ASSERT_TRUE(logic->findDevice());
    readDeviceInfo();
    ASSERT_EQ(logic->enterUpdateMode(), Switch::Switched);
    const auto result = makeResultCell();
    ASSERT_TRUE(logic->startUpdate(result));
    while (result->load() == Logic::kResultRunning) std::this_thread::yield();
    EXPECT_FALSE(logic->isUpdateRunning());
    EXPECT_FALSE(logic->isUpdateRunning());
    EXPECT_EQ(result->load(), Logic::kResultSuccess);
}

// The UI thread's calls must not close or read the device under the worker.
TEST_F(UpgradeLogicTest, TheWorkersDeviceIsLeftAloneUntilItIsDone) {
    tKeyboardDescription description;
    description.busyMs = 1000;
    description.pollTimeoutMs = 100;
    prepare(description);
    ASSERT_TRUE(logic->findDevice());
    readDeviceInfo();
    ASSERT_EQ(logic->enterUpdateMode(), Switch::Switched);
    clock->holdSleeps();
    const auto result = makeResultCell();
    ASSERT_TRUE(logic->startUpdate(result));
    while (!clock->hasBlockedSleeper()) std::this_thread::yield();  // busy after its first block

    EXPECT_FALSE(logic->findDevice());
    EXPECT_EQ(logic->enterUpdateMode(), Switch::Failed);
    EXPECT_EQ(logic->isDeviceReady(), Switch::Failed);
    tProbe probe;
    probe.installed = "untouched";
    probe.newest = "untouched";
    logic->getDeviceInfo(probe.info, probe.installed, probe.newest, probe.updateAvailable);
    EXPECT_EQ(probe.installed, "untouched");
    EXPECT_EQ(probe.newest, "untouched");
    EXPECT_EQ(probe.info.productId, 0);

    clock->releaseSleeps();
    logic->waitForWorker();
    EXPECT_EQ(result->load(), Logic::kResultSuccess);
    EXPECT_EQ(keyboard().getReleaseNumber(), 0x0059);
    clock->advance(60000);
    EXPECT_TRUE(logic->findDevice());
}

TEST_F(UpgradeLogicTest, DestructionWaitsForARunningWorker) {
    prepare();
    ASSERT_TRUE(logic->findDevice());
    readDeviceInfo();
    ASSERT_EQ(logic->enterUpdateMode(), Switch::Switched);
    clock->holdSleeps();
    const auto result = makeResultCell();
    ASSERT_TRUE(logic->startUpdate(result));
    logic->stopWorker();
    std::thread releaser([this] {
        while (!clock->hasBlockedSleeper()) std::this_thread::yield();
        std::this_thread::sleep_for(Milliseconds(100));
        clock->releaseSleeps();
    });
    logic.reset();  // must not destroy the device under the worker
    releaser.join();
    EXPECT_EQ(result->load(), Logic::kResultSuccess);
}

}  // namespace
}  // namespace QX
