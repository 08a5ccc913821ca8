#pragma once
#include <cstdint>
#include <memory>
#include <span>

#include "nhl2/USBDeviceInfo.h"
#include "nhl2/USBDeviceOSHandle.h"
#include "nhl2/USBDriver.h"

namespace QX::NHL2 {

class IClock;

// One USB device reached through the driver: opening reads its ids, release
// number and strings; requests go out as device I/O control codes.
class USBDevice {
public:
    static constexpr std::uint32_t kDefaultRequestTimeoutMs = 5000;

    USBDevice(std::shared_ptr<IUSBDriver> driver, std::shared_ptr<IClock> clock);
    virtual ~USBDevice();
    USBDevice(const USBDevice&) = delete;
    USBDevice& operator=(const USBDevice&) = delete;

    // Closes what was open first. False (and closed) when the device cannot
    // be opened or does not describe itself.
    bool open(const USBDeviceOSHandle& handle);
    void close();
    bool isOpen() const;

    const USBDeviceInfo& getInfo() const { return info_; }
    const USBDeviceOSHandle& getHandle() const { return handle_; }

    tIoResult deviceIoControl(std::uint32_t code, std::span<const std::uint8_t> input,
                              std::span<std::uint8_t> output,
                              std::uint32_t timeoutMs = kDefaultRequestTimeoutMs);

protected:
    IClock& getClock() { return *clock_; }
    // Called after the device has described itself; false fails the open.
    virtual bool onOpened() { return true; }
    virtual void onClosed() {}

private:
    bool readHidDetails();
    bool readDriverDetails();
    std::string readStringDescriptor(std::uint8_t index);

    std::shared_ptr<IUSBDriver> driver_;
    std::shared_ptr<IClock> clock_;
    std::unique_ptr<IUSBConnection> connection_;
    USBDeviceOSHandle handle_;
    USBDeviceInfo info_;
};

}  // namespace QX::NHL2
