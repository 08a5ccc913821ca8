#include "nhl2/USBDriver.h"

namespace QX::NHL2 {
namespace {

// The native build reaches no real keyboard: our kernel driver exists on
// Windows only.
class NoDevicesDriver final : public IUSBDriver {
public:
    std::vector<std::u16string> enumerateInterfacePaths(const USBDeviceFilter&) override { return {}; }
    std::unique_ptr<IUSBConnection> openPath(const std::u16string&) override { return nullptr; }
};

}  // namespace

std::shared_ptr<IUSBDriver> createPlatformUSBDriver() {
    return std::make_shared<NoDevicesDriver>();
}

}  // namespace QX::NHL2
