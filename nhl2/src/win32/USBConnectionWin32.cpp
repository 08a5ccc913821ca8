#include <windows.h>
// Wine's HID header declares the functions without C linkage for C++.
extern "C" {
#include <ddk/hidsdi.h>
}

#include <array>

#include "USBDriverWin32.h"

namespace QX::NHL2::DETAIL {

USBConnectionWin32::USBConnectionWin32(HANDLE handle) : handle_(handle) {}

USBConnectionWin32::~USBConnectionWin32() {
    CloseHandle(handle_);
}

bool USBConnectionWin32::readHidAttributes(tHidAttributes& attributes) {
    HIDD_ATTRIBUTES hid{};
    hid.Size = sizeof(hid);
    if (!HidD_GetAttributes(handle_, &hid)) return false;
    attributes = {hid.VendorID, hid.ProductID, hid.VersionNumber};
    return true;
}

bool USBConnectionWin32::readHidString(HidString which, std::u16string& text) {
    // A HID string holds at most 126 characters; one more keeps a NUL.
    std::array<WCHAR, 127> buffer{};
    const ULONG size = static_cast<ULONG>((buffer.size() - 1) * sizeof(WCHAR));
    BOOLEAN ok = FALSE;
    switch (which) {
        case HidString::Manufacturer: ok = HidD_GetManufacturerString(handle_, buffer.data(), size); break;
        case HidString::Product: ok = HidD_GetProductString(handle_, buffer.data(), size); break;
        case HidString::SerialNumber: ok = HidD_GetSerialNumberString(handle_, buffer.data(), size); break;
    }
    if (!ok) return false;
    text.assign(buffer.data());
    return true;
}

tIoResult USBConnectionWin32::deviceIoControl(std::uint32_t code, std::span<const std::uint8_t> input,
                                              std::span<std::uint8_t> output, std::uint32_t timeoutMs) {
    HANDLE event = static_cast<HANDLE>(events_.getEventForCurrentThread());
    if (!event) return {};
    OVERLAPPED overlapped{};
    overlapped.hEvent = event;
    DWORD bytes = 0;
    const BOOL done = DeviceIoControl(handle_, code, const_cast<std::uint8_t*>(input.data()),
                                      static_cast<DWORD>(input.size()), output.data(),
                                      static_cast<DWORD>(output.size()), &bytes, &overlapped);
    if (done) return {IoStatus::Success, bytes};
    if (GetLastError() != ERROR_IO_PENDING) return {};
    if (WaitForSingleObject(event, timeoutMs) != WAIT_OBJECT_0) {
        CancelIo(handle_);
        // The driver may still touch the buffers until the cancellation has
        // completed; they live on this stack.
        GetOverlappedResult(handle_, &overlapped, &bytes, TRUE);
        return {IoStatus::TimedOut, 0};
    }
    if (!GetOverlappedResult(handle_, &overlapped, &bytes, FALSE)) return {};
    return {IoStatus::Success, bytes};
}

}  // namespace QX::NHL2::DETAIL
