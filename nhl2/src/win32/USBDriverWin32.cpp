#include "USBDriverWin32.h"

#include <setupapi.h>

#include <optional>
#include <vector>

namespace QX::NHL2 {
namespace DETAIL {
namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}"
std::optional<GUID> parseGuid(std::string_view text) {
    static constexpr std::string_view kLayout = "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}";
    if (text.size() != kLayout.size()) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < kLayout.size(); ++i) {
        if (kLayout[i] != 'x') {
            if (text[i] != kLayout[i]) return std::nullopt;
            continue;
        }
        const int high = hexValue(text[i]);
        const int low = i + 1 < text.size() ? hexValue(text[i + 1]) : -1;
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
        ++i;
    }
    GUID guid{};
    guid.Data1 = (DWORD(bytes[0]) << 24) | (DWORD(bytes[1]) << 16) | (DWORD(bytes[2]) << 8) | bytes[3];
    guid.Data2 = static_cast<WORD>((bytes[4] << 8) | bytes[5]);
    guid.Data3 = static_cast<WORD>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i) guid.Data4[i] = bytes[8 + i];
    return guid;
}

struct DeviceInfoSetCloser {
    void operator()(void* set) const { SetupDiDestroyDeviceInfoList(set); }
};
using DeviceInfoSet = std::unique_ptr<void, DeviceInfoSetCloser>;

bool hasClassName(HDEVINFO set, SP_DEVINFO_DATA& device, std::string_view className) {
    WCHAR buffer[64] = {};
    if (!SetupDiGetDeviceRegistryPropertyW(set, &device, SPDRP_CLASS, nullptr, reinterpret_cast<BYTE*>(buffer),
                                           sizeof(buffer) - sizeof(WCHAR), nullptr))
        return false;
    std::size_t i = 0;
    for (; i < className.size(); ++i) {
        if (towlower(buffer[i]) != towlower(static_cast<unsigned char>(className[i]))) return false;
    }
    return buffer[i] == 0;
}

std::optional<std::u16string> readInterfacePath(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& interfaceData,
                                                const USBDeviceFilter& filter) {
    DWORD required = 0;
    SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, nullptr, 0, &required, nullptr);
    if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return std::nullopt;
    std::vector<DWORD> storage(required / sizeof(DWORD) + 1);  // DWORD-aligned, as the structure needs
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof(device);
    if (!SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, detail, required, nullptr, &device))
        return std::nullopt;
    if (!filter.className.empty() && !hasClassName(set, device, filter.className)) return std::nullopt;
    return std::u16string(detail->DevicePath);
}

}  // namespace

std::vector<std::u16string> USBDriverWin32::enumerateInterfacePaths(const USBDeviceFilter& filter) {
    std::vector<std::u16string> paths;
    auto guid = parseGuid(filter.interfaceClass);
    if (!guid) return paths;
    HDEVINFO set = SetupDiGetClassDevsW(&*guid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) return paths;
    const DeviceInfoSet guard(set);
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA interfaceData{};
        interfaceData.cbSize = sizeof(interfaceData);
        if (!SetupDiEnumDeviceInterfaces(set, nullptr, &*guid, index, &interfaceData)) break;
        if (auto path = readInterfacePath(set, interfaceData, filter)) paths.push_back(std::move(*path));
    }
    return paths;
}

std::unique_ptr<IUSBConnection> USBDriverWin32::openPath(const std::u16string& devicePath) {
    constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
    HANDLE handle = CreateFileW(devicePath.c_str(), GENERIC_READ | GENERIC_WRITE, kShare, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OVERLAPPED, nullptr);
    // The system keeps keyboards open for reading; their attributes and
    // strings need no access rights.
    if (handle == INVALID_HANDLE_VALUE)
        handle = CreateFileW(devicePath.c_str(), 0, kShare, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<USBConnectionWin32>(handle);
}

}  // namespace DETAIL

std::shared_ptr<IUSBDriver> createPlatformUSBDriver() {
    return std::make_shared<DETAIL::USBDriverWin32>();
}

}  // namespace QX::NHL2
