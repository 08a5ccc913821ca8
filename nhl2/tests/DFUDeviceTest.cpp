#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "SimulatedSetup.h"
#include "gp/Trace.h"
#include "nhl2/DriverRequests.h"

namespace QX::NHL2 {
namespace {

using DownloadResult = DFUDevice::DownloadResult;
using TEST::SimulatedSetup;

struct DownloadRun {
    DownloadResult result;
    std::vector<tLoggedRequest> log;
    std::vector<std::uint8_t> received;
    std::vector<std::uint8_t> image;
    int pollViolations;
    std::uint64_t elapsedMs;
};

DownloadRun runDownload(const tKeyboardDescription& description, std::size_t payloadSize = 5000) {
    SimulatedSetup setup(description);
    DFUDevice device(setup.driver, setup.clock);
    EXPECT_TRUE(setup.openInUpdateMode(device));
    DownloadRun run;
    run.image = TEST::makeImage(description.modelProductId, 0x0059, payloadSize);
    const auto start = setup.clock->getMilliseconds();
    run.result = device.download(run.image);
    run.elapsedMs = setup.clock->getMilliseconds() - start;
    run.log = setup.keyboard().getRequestLog();
    run.received = setup.keyboard().getReceivedImage();
    run.pollViolations = setup.keyboard().getPollViolations();
    return run;
}

std::vector<std::uint32_t> codesFrom(const std::vector<tLoggedRequest>& log, std::uint32_t firstCode) {
    std::vector<std::uint32_t> codes;
    bool started = false;
    for (const auto& entry : log) {
        started = started || entry.code == firstCode;
        if (started) codes.push_back(entry.code);
    }
    return codes;
}

TEST(DFUDevice, DownloadsBlockByBlockWithStatusPollsAndManifests) {
    tKeyboardDescription description;
    description.transferSize = 1024;
    const auto run = runDownload(description, 2500);  // 2516 bytes: three blocks, the last one short
    ASSERT_EQ(run.result, DownloadResult::Success);
    EXPECT_EQ(run.received, run.image);
    const std::vector<std::uint32_t> expected = {
        kIoctlDfuGetStatus,
        kIoctlDfuDownload, kIoctlDfuGetStatus,
        kIoctlDfuDownload, kIoctlDfuGetStatus,
        kIoctlDfuDownload, kIoctlDfuGetStatus,
        kIoctlDfuDownload,                        // zero length: the end
        kIoctlDfuGetStatus, kIoctlDfuGetStatus};  // dfuMANIFEST, then dfuIDLE
    EXPECT_EQ(codesFrom(run.log, kIoctlDfuGetStatus), expected);

    std::uint16_t expectedBlock = 0;
    std::vector<std::uint8_t> reassembled;
    for (const auto& entry : run.log) {
        if (entry.code != kIoctlDfuDownload) continue;
        ASSERT_GE(entry.input.size(), 2u);
        EXPECT_EQ(entry.input[0] | (entry.input[1] << 8), expectedBlock++);
        EXPECT_LE(entry.input.size() - 2, 1024u);
        reassembled.insert(reassembled.end(), entry.input.begin() + 2, entry.input.end());
    }
    EXPECT_EQ(reassembled, run.image);
    EXPECT_EQ(run.log[run.log.size() - 3].input.size(), 2u);
}

TEST(DFUDevice, HonoursThePollTimeOutThroughALongBusyPhase) {
    tKeyboardDescription description;
    description.busyMs = 20000;
    description.pollTimeoutMs = 700;
    description.manifestMs = 1500;
    const auto run = runDownload(description, 3000);
    EXPECT_EQ(run.result, DownloadResult::Success);
    EXPECT_EQ(run.pollViolations, 0);
    EXPECT_EQ(run.received, run.image);
    EXPECT_GE(run.elapsedMs, 3u * 20000u);
}

TEST(DFUDevice, NonTolerantDeviceIsDoneAfterItsManifestationTime) {
    tKeyboardDescription description;
    description.manifestationTolerant = false;
    description.manifestMs = 800;
    const auto run = runDownload(description);
    EXPECT_EQ(run.result, DownloadResult::Success);
    EXPECT_EQ(run.log.back().code, kIoctlDfuGetStatus);
    EXPECT_EQ(run.pollViolations, 0);
}

TEST(DFUDevice, EachDeviceFaultIsAFailure) {
    struct tFaultCase {
        const char* name;
        void (*inject)(tKeyboardDescription&);
        DownloadResult expected;
    };
    const tFaultCase cases[] = {
        {"rejected block", [](tKeyboardDescription& d) { d.rejectAtBlock = 2; }, DownloadResult::DeviceError},
        {"error state", [](tKeyboardDescription& d) { d.errorStateAtBlock = 1; }, DownloadResult::DeviceError},
        {"error status", [](tKeyboardDescription& d) { d.errorStatusAtBlock = 1; }, DownloadResult::DeviceError},
        {"short status", [](tKeyboardDescription& d) { d.shortStatusAtBlock = 0; }, DownloadResult::BadStatusReply},
        {"removed", [](tKeyboardDescription& d) { d.removeAtBlock = 3; }, DownloadResult::RequestFailed},
        {"never completes", [](tKeyboardDescription& d) { d.hangAtBlock = 1; }, DownloadResult::RequestFailed},
        {"busy forever", [](tKeyboardDescription& d) { d.busyForever = true; d.pollTimeoutMs = 2000; },
         DownloadResult::BusyTooLong},
        {"absurd poll time-out", [](tKeyboardDescription& d) { d.busyMs = 10; d.pollTimeoutMs = 0xFFFFFF; },
         DownloadResult::PollTimeoutTooLong},
        {"every block busy for 50 s", [](tKeyboardDescription& d) { d.busyMs = 50000; d.pollTimeoutMs = 25000; },
         DownloadResult::DownloadTooLong},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tKeyboardDescription description;
        c.inject(description);
        const auto run = runDownload(description);
        EXPECT_EQ(run.result, c.expected);
        EXPECT_NE(run.received, run.image);
    }
}

TEST(DFUDevice, ARequestThatNeverCompletesIsCancelledAndTraced) {
    std::vector<std::string> lines;
    const auto previous = QX::GP::setTraceSink([&](std::string_view line) { lines.emplace_back(line); });
    tKeyboardDescription description;
    description.hangAtBlock = 2;
    const auto run = runDownload(description);
    QX::GP::setTraceSink(previous);
    EXPECT_EQ(run.result, DownloadResult::RequestFailed);
    ASSERT_FALSE(run.log.empty());
    EXPECT_TRUE(run.log.back().cancelled);
    EXPECT_EQ(run.log.back().status, IoStatus::TimedOut);
    EXPECT_GE(run.elapsedMs, USBDevice::kDefaultRequestTimeoutMs);
    // Each line carries its tag once.
    const auto traced = [&lines](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(traced("USBDevice: deviceIoControl timed out after 5000 ms)"));
    EXPECT_TRUE(traced("DFUDevice: download failed at block 2: request failed"));
}

TEST(DFUDevice, TracesEachRequestTheKeyboardAnswersWhenAsked) {
    std::vector<std::string> lines;
    const auto previous = QX::GP::setTraceSink([&](std::string_view line) {
        if (line.starts_with("SimulatedKeyboard: ")) lines.emplace_back(line);
    });
    tKeyboardDescription description;
    description.traceRequests = true;
    description.transferSize = 1024;
    const auto run = runDownload(description, 1500);  // 1516 bytes: two blocks
    QX::GP::setTraceSink(previous);
    ASSERT_EQ(run.result, DownloadResult::Success);
    ASSERT_EQ(lines.size(), run.log.size());
    for (const char* expected : {"keyboard 1: switch to update mode: ok", "keyboard 1: DNLOAD block 0 length 1024: ok",
                                 "keyboard 1: DNLOAD block 1 length 492: ok", "keyboard 1: DNLOAD block 2 length 0: ok",
                                 "keyboard 1: GETSTATUS: ok"}) {
        EXPECT_NE(std::find(lines.begin(), lines.end(), std::string("SimulatedKeyboard: ") + expected), lines.end())
            << expected;
    }
}

// ABORT where DFU takes it, CLRSTATUS in dfuERROR, nothing to a busy device;
// the simulated keyboard stalls whatever its state does not take.
TEST(DFUDevice, AbortSendsOnlyWhatTheStateTakes) {
    struct tCase {
        const char* name;
        void (*inject)(tKeyboardDescription&);
        std::uint32_t expectedRequest;  // 0: none
        bool expectedResult;
    };
    const tCase cases[] = {
        {"dfuERROR", [](tKeyboardDescription& d) { d.errorStateAtBlock = 0; }, kIoctlDfuClearStatus, true},
        {"dfuDNLOAD-IDLE", [](tKeyboardDescription&) {}, kIoctlDfuAbort, true},
        {"dfuDNBUSY", [](tKeyboardDescription& d) { d.busyForever = true; }, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tKeyboardDescription description;
        c.inject(description);
        SimulatedSetup setup(description);
        DFUDevice device(setup.driver, setup.clock);
        ASSERT_TRUE(setup.openInUpdateMode(device));
        const std::uint8_t block[] = {0, 0, 1, 2, 3};
        ASSERT_TRUE(device.deviceIoControl(kIoctlDfuDownload, block, {}).succeeded());
        tDFUStatus status;
        device.getStatus(status);
        EXPECT_EQ(device.abort(), c.expectedResult);
        const auto log = setup.keyboard().getRequestLog();
        for (const auto& entry : log) EXPECT_EQ(entry.status, entry.cancelled ? IoStatus::TimedOut : IoStatus::Success);
        const auto last = log.back().code;
        EXPECT_EQ(last == kIoctlDfuAbort || last == kIoctlDfuClearStatus ? last : 0u, c.expectedRequest);
    }
}

TEST(DFUDevice, AWrongImageFailsInManifestation) {
    tKeyboardDescription description;
    SimulatedSetup setup(description);
    DFUDevice device(setup.driver, setup.clock);
    ASSERT_TRUE(setup.openInUpdateMode(device));
    auto image = TEST::makeImage(kHVX49MK2, 0x0059, 4000);
    image[2000] ^= 0x40;
    EXPECT_EQ(device.download(image), DownloadResult::DeviceError);
    EXPECT_TRUE(device.abort());
    tDFUStatus status;
    ASSERT_TRUE(device.getStatus(status));
    EXPECT_EQ(status.getState(), DFUState::Idle);
}

// A device left in dfuERROR by a failed download takes the next one.
TEST(DFUDevice, ADownloadAfterAFailedOneStartsFromACleanState) {
    tKeyboardDescription description;
    SimulatedSetup setup(description);
    DFUDevice device(setup.driver, setup.clock);
    ASSERT_TRUE(setup.openInUpdateMode(device));
    auto broken = TEST::makeImage(kHVX49MK2, 0x0059, 4000);
    broken[100] ^= 0x01;
    ASSERT_EQ(device.download(broken), DownloadResult::DeviceError);
    const auto image = TEST::makeImage(kHVX49MK2, 0x0059, 4000);
    EXPECT_EQ(device.download(image), DownloadResult::Success);
    EXPECT_EQ(setup.keyboard().getReceivedImage(), image);
}

TEST(DFUDevice, RefusesWithoutUpdateModeOrTransferSize) {
    tKeyboardDescription description;
    SimulatedSetup setup(description);
    DFUDevice device(setup.driver, setup.clock);
    const auto image = TEST::makeImage(kHVX49MK2, 0x0059, 100);
    EXPECT_EQ(device.download(image), DownloadResult::NotReady);
    ASSERT_TRUE(USBDeviceFactory(setup.driver).openFirstMatching(TEST::makeNormalFilter(), device));
    EXPECT_EQ(device.download(image), DownloadResult::NotReady);

    description.transferSize = 0;
    SimulatedSetup zero(description);
    DFUDevice zeroDevice(zero.driver, zero.clock);
    ASSERT_TRUE(zero.openInUpdateMode(zeroDevice));
    EXPECT_EQ(zeroDevice.getTransferSize(), 0);
    EXPECT_EQ(zeroDevice.download(image), DownloadResult::NotReady);
}

}  // namespace
}  // namespace QX::NHL2
