#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "nhl2/USBDeviceFilter.h"

namespace QX::NHL2 {

class IClock;

enum class IoStatus {
    Success,
    Failed,    // the driver or the device refused the request
    TimedOut,  // no answer in time; the request was cancelled
};

struct tIoResult {
    IoStatus status = IoStatus::Failed;
    std::uint32_t bytesReturned = 0;

    bool succeeded() const { return status == IoStatus::Success; }
};

struct tHidAttributes {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t versionNumber = 0;
};

enum class HidString { Manufacturer, Product, SerialNumber };

// One open device.
class IUSBConnection {
public:
    virtual ~IUSBConnection() = default;
    virtual bool readHidAttributes(tHidAttributes& attributes) = 0;
    virtual bool readHidString(HidString which, std::u16string& text) = 0;
    // A request that gets no answer within `timeoutMs` is cancelled, and
    // completed before this returns.
    virtual tIoResult deviceIoControl(std::uint32_t code, std::span<const std::uint8_t> input,
                                      std::span<std::uint8_t> output, std::uint32_t timeoutMs) = 0;
};

// The way to the devices: device-interface enumeration and opening. The
// program uses the platform's (SetupAPI, HID and our kernel driver); a
// simulated keyboard answers instead when one is described.
class IUSBDriver {
public:
    virtual ~IUSBDriver() = default;
    // The paths of the present interfaces of the filter's interface class
    // (and setup class name, when it names one).
    virtual std::vector<std::u16string> enumerateInterfacePaths(const USBDeviceFilter& filter) = 0;
    // Null when the device cannot be opened.
    virtual std::unique_ptr<IUSBConnection> openPath(const std::u16string& devicePath) = 0;
};

// The name of the environment variable that selects a simulated keyboard: it
// names the keyboard's description file.
inline constexpr const char* kSimulatedKeyboardVariable = "HVX_SIMULATED_KEYBOARD";

// The driver for the program: the simulated keyboard when the variable names
// a readable description, else the platform's driver.
std::shared_ptr<IUSBDriver> createUSBDriver(const std::shared_ptr<IClock>& clock);

// The platform's own driver (natively: one that finds no device).
std::shared_ptr<IUSBDriver> createPlatformUSBDriver();

}  // namespace QX::NHL2
