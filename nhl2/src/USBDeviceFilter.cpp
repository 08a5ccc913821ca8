#include "nhl2/USBDeviceFilter.h"

#include <algorithm>

namespace QX::NHL2 {

bool USBDeviceFilter::matches(std::uint16_t vendor, std::uint16_t productId) const {
    if (vendor != vendorId) return false;
    return std::find(productIds.begin(), productIds.end(), productId) != productIds.end();
}

USBDeviceFilter makeKeyboardFilter(ProductMode mode) {
    USBDeviceFilter filter;
    const bool normal = mode == ProductMode::Normal;
    filter.kind = normal ? USBDeviceKind::HID : USBDeviceKind::DriverInterface;
    filter.interfaceClass = normal ? kHidInterfaceClass : kDriverInterfaceClass;
    filter.className = normal ? kHidClassName : kDriverClassName;
    filter.vendorId = kHarmovaVendorId;
    for (const auto& product : ProductDataBase::getProducts()) {
        if (product.vendorId == filter.vendorId && product.mode == mode) filter.productIds.push_back(product.productId);
    }
    return filter;
}

}  // namespace QX::NHL2
