#include "nhl2/USBDeviceFactory.h"

#include "nhl2/DevicePath.h"
#include "nhl2/USBDevice.h"

namespace QX::NHL2 {

USBDeviceFactory::USBDeviceFactory(std::shared_ptr<IUSBDriver> driver) : driver_(std::move(driver)) {}

std::vector<USBDeviceOSHandle> USBDeviceFactory::enumerateDevices(const USBDeviceFilter& filter) const {
    std::vector<USBDeviceOSHandle> handles;
    for (auto& path : driver_->enumerateInterfacePaths(filter)) {
        const auto ids = parseDevicePath(path);
        if (!ids || !filter.matches(ids->vendorId, ids->productId)) continue;
        handles.push_back({filter.kind, std::move(path)});
    }
    return handles;
}

bool USBDeviceFactory::openFirstMatching(const USBDeviceFilter& filter, USBDevice& device) const {
    for (const auto& handle : enumerateDevices(filter)) {
        if (!device.open(handle)) continue;
        const auto& info = device.getInfo();
        if (filter.matches(info.vendorId, info.productId)) return true;
        device.close();
    }
    return false;
}

}  // namespace QX::NHL2
