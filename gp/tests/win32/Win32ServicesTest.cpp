#pragma push_macro("_WIN32")
#undef _WIN32
#include <gtest/gtest.h>
#pragma pop_macro("_WIN32")
#include <windows.h>
#include <dbt.h>

#include <cstring>
#include <thread>
#include <vector>

#include "gp/Assertion.h"
#include "gp/DeviceNotification.h"
#include "gp/Init.h"
#include "gp/LastChanceFilter.h"
#include "gp/MessageBox.h"
#include "gp/Module.h"
#include "gp/Stream.h"
#include "gp/Thread.h"
#include "gp/Version.h"
#include "gp/win32/ThreadEventMap.h"

using namespace QX::GP;

namespace {

TEST(EmbeddedResource, ReadsTheLinkedResource)
{
    auto stream = createResourceStream("hello.txt", "TestData");
    ASSERT_NE(stream, nullptr);
    std::string text(static_cast<std::size_t>(stream->getSize()), '\0');
    EXPECT_EQ(stream->read(text.data(), text.size()), text.size());
    EXPECT_EQ(text, "embedded test resource\n");

    auto font = createResourceStream(1, "TTFd");
    ASSERT_NE(font, nullptr);
    std::uint8_t bytes[8] = {};
    EXPECT_EQ(font->read(bytes, sizeof bytes), 4u);
    EXPECT_EQ(bytes[3], 0xFF);

    ResourceStream byName;
    EXPECT_TRUE(byName.openByName(getModuleHandle(), "HELLO.TXT", "TESTDATA"));
    EXPECT_EQ(createResourceStream("hello.txt", "PICTURE"), nullptr);
    EXPECT_EQ(createResourceStream(2, "TTFD"), nullptr);
}

TEST(Module, HandleHoldsTheCode)
{
    HMODULE module = static_cast<HMODULE>(getModuleHandle());
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(getModuleHandle(), module);
    EXPECT_NE(FindResourceW(module, u"HELLO.TXT", u"TESTDATA"), nullptr);
    // The executable's path as Windows names it: a drive and backslashes.
    EXPECT_EQ(getModuleFilePath().separator(), '\\');
    EXPECT_EQ(getModuleFilePath().extension(), "exe");
}

TEST(InitWin32, CreatesAndDestroysTheDeviceNotificationWindow)
{
    Assertion::setThrowsExceptions(true);
    ASSERT_TRUE(init(fourCharCode("QHV2"), "HARMOVA VI2 FIRMWARE UPDATER", kVersion, kStartupFlags));
    HWND window = static_cast<HWND>(getDeviceNotificationWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(GetWindowThreadProcessId(window, nullptr), GetCurrentThreadId());

    // The window hands device-interface changes to the listeners.
    std::vector<std::u16string> arrived;
    const int id = addDeviceChangeListener([&arrived](int change, const std::u16string& path) {
        if (change == kDeviceArrived)
            arrived.push_back(path);
    });
    std::vector<std::uint8_t> buffer(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) + 64);
    auto* device = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(buffer.data());
    device->dbcc_size = static_cast<DWORD>(buffer.size());
    device->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    std::memcpy(device->dbcc_name, u"\\\\?\\hid#vid_1234", 17 * sizeof(char16_t));
    SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(device));
    removeDeviceChangeListener(id);
    SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(device));
    EXPECT_EQ(arrived, std::vector<std::u16string>{u"\\\\?\\hid#vid_1234"});

    exit();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(getDeviceNotificationWindow(), nullptr);
    Assertion::setThrowsExceptions(false);
}

TEST(ThreadEventMap, OneResetEventPerThread)
{
    ThreadEventMap events;
    HANDLE mine = events.getEventForCurrentThread();
    ASSERT_NE(mine, nullptr);
    SetEvent(mine);
    EXPECT_EQ(events.getEventForCurrentThread(), mine);
    EXPECT_EQ(WaitForSingleObject(mine, 0), static_cast<DWORD>(WAIT_TIMEOUT));  // handed out reset

    HANDLE theirs = nullptr;
    Thread worker;
    worker.start([&] { theirs = events.getEventForCurrentThread(); });
    worker.join();
    EXPECT_NE(theirs, nullptr);
    EXPECT_NE(theirs, mine);
}

TEST(Thread, WorkerMayCallWin32)
{
    DWORD workerThread = 0;
    Thread worker;
    worker.start([&] {
        workerThread = GetCurrentThreadId();
        PostThreadMessageW(GetCurrentThreadId(), WM_USER, 0, 0);
    });
    EXPECT_TRUE(worker.timedJoin(5000));
    EXPECT_NE(workerThread, 0u);
    EXPECT_NE(workerThread, GetCurrentThreadId());
}

TEST(LastChanceFilter, IgnoresInvalidHandlesAndReportsOnce)
{
    std::vector<MessageBoxRequest> boxes;
    MessageHandler previous = setMessageHandler([&boxes](const MessageBoxRequest& request) {
        boxes.push_back(request);
        return 0;
    });
    EXCEPTION_RECORD record{};
    EXCEPTION_POINTERS pointers{&record, nullptr};
    record.ExceptionCode = 0xC0000008;
    EXPECT_EQ(lastChanceFilter(&pointers), 0);
    EXPECT_TRUE(boxes.empty());

    record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
    EXPECT_EQ(lastChanceFilter(&pointers), 0);
    EXPECT_EQ(lastChanceFilter(&pointers), 0);
    reportUnhandledException("late");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].systemModal);
    EXPECT_EQ(boxes[0].icon, kIconError);
    EXPECT_NE(boxes[0].text.find("0xC0000005"), std::string::npos);
    setMessageHandler(previous);
}

}  // namespace
