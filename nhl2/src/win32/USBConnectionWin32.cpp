#include <windows.h>
// Wine's HID header declares the functions without C linkage for C++.
extern "C" {
#include <ddk/hidsdi.h>
}

#include <algorithm>
#include <array>

#include "USBDriverWin32.h"

namespace QX::NHL2::DETAIL {

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

// One request's overlapped block, buffers and completion event. They must
// stay alive while the driver may still write to them. They live on the
// system's heap: the system refuses buffers it does not know as its own.
struct USBConnectionWin32::tTransfer {
    tTransfer(std::span<const std::uint8_t> in, std::size_t outSize)
        : memory(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(OVERLAPPED) + in.size() + outSize)),
          event(CreateEventW(nullptr, TRUE, FALSE, nullptr)), inputSize(in.size()), outputSize(outSize) {
        if (!memory) return;
        getOverlapped()->hEvent = event;
        std::copy(in.begin(), in.end(), getInput());
    }
    ~tTransfer() {
        if (event) CloseHandle(event);
        if (memory) HeapFree(GetProcessHeap(), 0, memory);
    }
    tTransfer(const tTransfer&) = delete;
    tTransfer& operator=(const tTransfer&) = delete;

    bool isReady() const { return memory && event; }
    bool isComplete() const { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }
    OVERLAPPED* getOverlapped() { return static_cast<OVERLAPPED*>(memory); }
    std::uint8_t* getInput() { return static_cast<std::uint8_t*>(memory) + sizeof(OVERLAPPED); }
    std::uint8_t* getOutput() { return getInput() + inputSize; }

    void* memory;
    HANDLE event;
    std::size_t inputSize;
    std::size_t outputSize;
};

USBConnectionWin32::USBConnectionWin32(HANDLE handle) : handle_(handle) {}

USBConnectionWin32::~USBConnectionWin32() {
    CloseHandle(handle_);
    // A transfer whose cancellation never completed may still be written to
    // by its driver: it is left alive rather than freed under the driver.
    std::lock_guard lock(abandonedMutex_);
    for (auto& transfer : abandoned_) {
        if (!transfer->isComplete()) static_cast<void>(transfer.release());
    }
}

tIoResult USBConnectionWin32::deviceIoControl(std::uint32_t code, std::span<const std::uint8_t> input,
                                              std::span<std::uint8_t> output, std::uint32_t timeoutMs) {
    auto transfer = std::make_unique<tTransfer>(input, output.size());
    if (!transfer->isReady()) return {};
    DWORD bytes = 0;
    const BOOL done = DeviceIoControl(handle_, code, transfer->getInput(), static_cast<DWORD>(input.size()),
                                      transfer->getOutput(), static_cast<DWORD>(output.size()), &bytes,
                                      transfer->getOverlapped());
    if (!done) {
        if (GetLastError() != ERROR_IO_PENDING) return {};
        if (WaitForSingleObject(transfer->event, timeoutMs) != WAIT_OBJECT_0) {
            cancel(std::move(transfer));
            return {IoStatus::TimedOut, 0};
        }
        if (!GetOverlappedResult(handle_, transfer->getOverlapped(), &bytes, FALSE)) return {};
    }
    bytes = std::min<DWORD>(bytes, static_cast<DWORD>(output.size()));
    std::copy_n(transfer->getOutput(), bytes, output.begin());
    return {IoStatus::Success, bytes};
}

void USBConnectionWin32::cancel(std::unique_ptr<tTransfer> transfer) {
    CancelIo(handle_);
    // A driver that ignores the cancellation must not hang the program: the
    // wait is bounded and the transfer outlives it.
    if (WaitForSingleObject(transfer->event, kCancelWaitMs) == WAIT_OBJECT_0) return;
    std::lock_guard lock(abandonedMutex_);
    std::erase_if(abandoned_, [](const auto& earlier) { return earlier->isComplete(); });
    abandoned_.push_back(std::move(transfer));
}

}  // namespace QX::NHL2::DETAIL
