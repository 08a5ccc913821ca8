#pragma once
#include <memory>
#include <vector>

#include "nhl2/USBDeviceFilter.h"
#include "nhl2/USBDeviceOSHandle.h"
#include "nhl2/USBDriver.h"

namespace QX::NHL2 {

class USBDevice;

// Enumerates device interfaces through the driver and keeps those whose path
// names a vendor and product that the filter accepts.
class USBDeviceFactory {
public:
    explicit USBDeviceFactory(std::shared_ptr<IUSBDriver> driver);

    std::vector<USBDeviceOSHandle> enumerateDevices(const USBDeviceFilter& filter) const;
    // Opens the first matching device whose own ids agree with the filter.
    bool openFirstMatching(const USBDeviceFilter& filter, USBDevice& device) const;

private:
    std::shared_ptr<IUSBDriver> driver_;
};

}  // namespace QX::NHL2
