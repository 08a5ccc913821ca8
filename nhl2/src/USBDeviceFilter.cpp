#include "nhl2/USBDeviceFilter.h"

#include <algorithm>

namespace QX::NHL2 {

bool USBDeviceFilter::matches(std::uint16_t vendor, std::uint16_t productId) const {
    if (vendor != vendorId) return false;
    return std::find(productIds.begin(), productIds.end(), productId) != productIds.end();
}

}  // namespace QX::NHL2
