#pragma once
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "gp/win32/ThreadEventMap.h"
#include "nhl2/USBDriver.h"

namespace QX::NHL2::DETAIL {

// Device-interface enumeration through SetupAPI, opening by CreateFileW.
class USBDriverWin32 final : public IUSBDriver {
public:
    std::vector<std::u16string> enumerateInterfacePaths(const USBDeviceFilter& filter) override;
    std::unique_ptr<IUSBConnection> openPath(const std::u16string& devicePath) override;
};

// One open device handle. The UI thread and the update worker may both send
// requests, so every thread waits on its own completion event.
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

private:
    HANDLE handle_;
    QX::GP::ThreadEventMap events_;
};

}  // namespace QX::NHL2::DETAIL
