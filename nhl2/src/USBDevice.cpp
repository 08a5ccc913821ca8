#include "nhl2/USBDevice.h"

#include <array>

#include "gp/Text.h"
#include "gp/Trace.h"
#include "nhl2/Clock.h"
#include "nhl2/DriverRequests.h"
#include "nhl2/USBDescriptors.h"

namespace QX::NHL2 {
namespace {

constexpr const char* kTraceTag = "USBDevice";
// A string descriptor is at most 255 bytes long.
constexpr std::size_t kMaxStringDescriptorSize = 255;

std::string readHidText(IUSBConnection& connection, HidString which) {
    std::u16string text;
    if (!connection.readHidString(which, text)) return {};
    return QX::GP::utf16ToUtf8(text);
}

}  // namespace

USBDevice::USBDevice(std::shared_ptr<IUSBDriver> driver, std::shared_ptr<IClock> clock)
    : driver_(std::move(driver)), clock_(std::move(clock)) {}

USBDevice::~USBDevice() {
    // Not close(): onClosed() of a derived class is gone by now.
    connection_.reset();
}

bool USBDevice::open(const USBDeviceOSHandle& handle) {
    close();
    connection_ = driver_->openPath(handle.devicePath);
    if (!connection_) return false;
    handle_ = handle;
    const bool described =
        handle.kind == USBDeviceKind::HID ? readHidDetails() : readDriverDetails();
    if (!described || !onOpened()) {
        close();
        return false;
    }
    return true;
}

void USBDevice::close() {
    if (connection_) onClosed();
    connection_.reset();
    handle_ = {};
    info_ = {};
}

bool USBDevice::isOpen() const {
    return connection_ != nullptr;
}

tIoResult USBDevice::deviceIoControl(std::uint32_t code, std::span<const std::uint8_t> input,
                                     std::span<std::uint8_t> output, std::uint32_t timeoutMs) {
    if (!connection_) return {};
    const tIoResult result = connection_->deviceIoControl(code, input, output, timeoutMs);
    if (result.status == IoStatus::TimedOut) {
        QX::GP::traceFormat(kTraceTag, "deviceIoControl timed out after %d ms)\n",
                            static_cast<int>(timeoutMs));
    }
    if (result.bytesReturned > output.size()) return {};  // a driver that overran our buffer
    return result;
}

bool USBDevice::readHidDetails() {
    tHidAttributes attributes;
    if (!connection_->readHidAttributes(attributes)) return false;
    info_.vendorId = attributes.vendorId;
    info_.productId = attributes.productId;
    info_.releaseNumber = attributes.versionNumber;
    // The strings only inform; a device that cannot tell them is still usable.
    info_.manufacturer = readHidText(*connection_, HidString::Manufacturer);
    info_.product = readHidText(*connection_, HidString::Product);
    info_.serialNumber = readHidText(*connection_, HidString::SerialNumber);
    return true;
}

bool USBDevice::readDriverDetails() {
    std::array<std::uint8_t, 18> bytes{};
    const tIoResult result = deviceIoControl(kIoctlGetDeviceDescriptor, {}, bytes);
    if (!result.succeeded()) return false;
    const auto descriptor = parseDeviceDescriptor(std::span(bytes).first(result.bytesReturned));
    if (!descriptor) return false;
    info_.vendorId = descriptor->vendorId;
    info_.productId = descriptor->productId;
    info_.releaseNumber = descriptor->releaseNumber;
    info_.manufacturer = readStringDescriptor(descriptor->manufacturerIndex);
    info_.product = readStringDescriptor(descriptor->productIndex);
    info_.serialNumber = readStringDescriptor(descriptor->serialNumberIndex);
    return true;
}

std::string USBDevice::readStringDescriptor(std::uint8_t index) {
    if (index == 0) return {};
    const std::array<std::uint8_t, 4> request = {index, 0, kLanguageEnglishUS & 0xFF,
                                                 kLanguageEnglishUS >> 8};
    std::array<std::uint8_t, kMaxStringDescriptorSize> bytes{};
    const tIoResult result = deviceIoControl(kIoctlGetStringDescriptor, request, bytes);
    if (!result.succeeded()) return {};
    const auto text = parseStringDescriptor(std::span(bytes).first(result.bytesReturned));
    return text ? QX::GP::utf16ToUtf8(*text) : std::string();
}

}  // namespace QX::NHL2
