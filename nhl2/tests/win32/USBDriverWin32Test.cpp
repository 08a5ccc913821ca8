#define NOMINMAX
#pragma push_macro("_WIN32")
#undef _WIN32
#include <gtest/gtest.h>
#pragma pop_macro("_WIN32")
#include <windows.h>
#include <winioctl.h>

#include <chrono>
#include <string>

#include "../../src/win32/USBDriverWin32.h"
#include "gp/Thread.h"
#include "nhl2/USBDeviceFilter.h"

namespace QX::NHL2::DETAIL {
namespace {

TEST(USBDriverWin32, EnumeratesWithoutFailingAndOpensNothingThatIsNotThere) {
    USBDriverWin32 driver;
    USBDeviceFilter filter;
    filter.interfaceClass = kHidInterfaceClass;
    for (const auto& path : driver.enumerateInterfacePaths(filter)) EXPECT_FALSE(path.empty());
    filter.interfaceClass = kDriverInterfaceClass;
    filter.className = kDriverClassName;
    EXPECT_TRUE(driver.enumerateInterfacePaths(filter).empty());  // our kernel driver is not installed here
    filter.interfaceClass = "{not a guid}";
    EXPECT_TRUE(driver.enumerateInterfacePaths(filter).empty());
    EXPECT_EQ(driver.openPath(u"\\\\?\\hid#vid_3a7e&pid_0a10#none#{4d1e55b2-f16f-11cf-88cb-001111000030}"), nullptr);
}

// A message pipe stands in for the device: a transceive request stays
// pending until the other end answers, like a request the driver sits on.
class PipeDevice : public testing::Test {
protected:
    void SetUp() override {
        const std::u16string name = u"\\\\.\\pipe\\qx_nhl2_" + std::u16string(1, u'a' + GetCurrentProcessId() % 26);
        server_ = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT,
                                   1, 4096, 4096, 0, nullptr);
        ASSERT_NE(server_, INVALID_HANDLE_VALUE);
        HANDLE client = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OVERLAPPED, nullptr);
        ASSERT_NE(client, INVALID_HANDLE_VALUE);
        DWORD mode = PIPE_READMODE_MESSAGE;
        ASSERT_TRUE(SetNamedPipeHandleState(client, &mode, nullptr, nullptr));
        connection_ = std::make_unique<USBConnectionWin32>(client);
    }
    void TearDown() override {
        connection_.reset();
        if (server_ != INVALID_HANDLE_VALUE) CloseHandle(server_);
    }

    HANDLE server_ = INVALID_HANDLE_VALUE;
    std::unique_ptr<USBConnectionWin32> connection_;
};

TEST_F(PipeDevice, ARequestWithoutAnswerTimesOutAndIsCancelled) {
    const std::uint8_t request[] = {'p', 'i', 'n', 'g'};
    std::uint8_t reply[16] = {};
    const auto start = std::chrono::steady_clock::now();
    const tIoResult result = connection_->deviceIoControl(FSCTL_PIPE_TRANSCEIVE, request, reply, 300);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(result.status, IoStatus::TimedOut);
    EXPECT_GE(waited, std::chrono::milliseconds(250));
    EXPECT_LT(waited, std::chrono::seconds(5));
}

TEST_F(PipeDevice, AnAnsweredRequestCompletesWithItsBytes) {
    QX::GP::Thread answerer;
    answerer.start([this] {
        char buffer[16];
        DWORD bytes = 0;
        if (ReadFile(server_, buffer, sizeof(buffer), &bytes, nullptr)) WriteFile(server_, "pong!", 5, &bytes, nullptr);
    });
    const std::uint8_t request[] = {'p', 'i', 'n', 'g'};
    std::uint8_t reply[16] = {};
    const tIoResult result = connection_->deviceIoControl(FSCTL_PIPE_TRANSCEIVE, request, reply, 5000);
    answerer.join();
    ASSERT_EQ(result.status, IoStatus::Success);
    EXPECT_EQ(result.bytesReturned, 5u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(reply), 5), "pong!");
}

// The UI thread and the worker may wait on one device at once; each must be
// woken by its own request's completion only.
TEST_F(PipeDevice, TwoThreadsWaitOnTheirOwnRequests) {
    QX::GP::Thread answerer;
    answerer.start([this] {
        for (int i = 0; i < 2; ++i) {
            char buffer[16];
            DWORD bytes = 0;
            if (!ReadFile(server_, buffer, sizeof(buffer), &bytes, nullptr)) return;
            Sleep(150);
            WriteFile(server_, "pong!", 5, &bytes, nullptr);
        }
    });
    tIoResult results[2];
    auto ask = [this](tIoResult& result) {
        const std::uint8_t request[] = {'p', 'i', 'n', 'g'};
        std::uint8_t reply[16] = {};
        result = connection_->deviceIoControl(FSCTL_PIPE_TRANSCEIVE, request, reply, 5000);
    };
    QX::GP::Thread first;
    QX::GP::Thread second;
    first.start([&] { ask(results[0]); });
    Sleep(20);
    second.start([&] { ask(results[1]); });
    first.join();
    second.join();
    answerer.join();
    EXPECT_EQ(results[0].status, IoStatus::Success);
    EXPECT_EQ(results[1].status, IoStatus::Success);
}

}  // namespace
}  // namespace QX::NHL2::DETAIL
