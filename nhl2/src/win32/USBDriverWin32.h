#pragma once
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <memory>
#include <mutex>
#include <vector>

#include "nhl2/USBDriver.h"

namespace QX::NHL2::DETAIL {

// Device-interface enumeration through SetupAPI, opening by CreateFileW.
class USBDriverWin32 final : public IUSBDriver {
public:
    std::vector<std::u16string> enumerateInterfacePaths(const USBDeviceFilter& filter) override;
    std::unique_ptr<IUSBConnection> openPath(const std::u16string& devicePath) override;
};

// One open device handle. The UI thread and the update worker may both send
// requests, so every request waits on its own completion event.
class USBConnectionWin32 final : public IUSBConnection {
public:
    explicit USBConnectionWin32(HANDLE handle);
    ~USBConnectionWin32() override;
    USBConnectionWin32(const USBConnectionWin32&) = delete;
    USBConnectionWin32& operator=(const USBConnectionWin32&) = delete;

    bool readHidAttributes(tHidAttributes& attributes) override;
    bool readHidString(HidString which, std::u16string& text) override;
    tIoResult deviceIoControl(std::uint32_t code, std::span<const std::uint8_t> input,
                              std::span<std::uint8_t> output, std::uint32_t timeoutMs) override;

    // How long a cancelled request may take to report its cancellation.
    static constexpr DWORD kCancelWaitMs = 1000;

private:
    struct tTransfer;
    void cancel(std::unique_ptr<tTransfer> transfer);

    HANDLE handle_;
    std::mutex abandonedMutex_;
    std::vector<std::unique_ptr<tTransfer>> abandoned_;
};

}  // namespace QX::NHL2::DETAIL
