#pragma once
#include <string>

namespace QX::GP::DETAIL {

// Hands a device change to every listener.
void notifyDeviceChange(int change, const std::u16string& devicePath);

}  // namespace QX::GP::DETAIL
