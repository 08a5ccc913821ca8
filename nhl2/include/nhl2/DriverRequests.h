#pragma once
#include <cstdint>

namespace QX::NHL2 {

// The device I/O control codes that our kernel driver answers, all of the
// buffered method with any access:
//   device type 0x8086: the DFU class requests, function 0x901 plus the DFU
//   request number, and a closing request that resets the device;
//   device type 0x8089: descriptor requests.
constexpr std::uint32_t makeControlCode(std::uint32_t deviceType, std::uint32_t function) {
    return (deviceType << 16) | (function << 2);
}

inline constexpr std::uint32_t kDfuDeviceType = 0x8086;
inline constexpr std::uint32_t kDescriptorDeviceType = 0x8089;
inline constexpr std::uint32_t kDfuFunctionBase = 0x901;

enum class DFURequest : std::uint8_t {
    Detach = 0,
    Download = 1,
    Upload = 2,
    GetStatus = 3,
    ClearStatus = 4,
    GetState = 5,
    Abort = 6,
};

constexpr std::uint32_t makeDfuControlCode(DFURequest request) {
    return makeControlCode(kDfuDeviceType, kDfuFunctionBase + static_cast<std::uint32_t>(request));
}

// Input: u16 detach time-out in ms. The device leaves the bus and comes back
// in update mode.
inline constexpr std::uint32_t kIoctlSwitchToUpdateMode = makeDfuControlCode(DFURequest::Detach);
// Input: u16 block number, then the block's bytes (none ends the download).
inline constexpr std::uint32_t kIoctlDfuDownload = makeDfuControlCode(DFURequest::Download);
// Output: the six bytes of the DFU status.
inline constexpr std::uint32_t kIoctlDfuGetStatus = makeDfuControlCode(DFURequest::GetStatus);
inline constexpr std::uint32_t kIoctlDfuClearStatus = makeDfuControlCode(DFURequest::ClearStatus);
// Output: one byte, the DFU state.
inline constexpr std::uint32_t kIoctlDfuGetState = makeDfuControlCode(DFURequest::GetState);
// Sent after a failed download: back to dfuIDLE.
inline constexpr std::uint32_t kIoctlDfuAbort = makeDfuControlCode(DFURequest::Abort);
// Ends the update: the device resets and starts its (new) firmware.
inline constexpr std::uint32_t kIoctlCloseUpdate = makeControlCode(kDfuDeviceType, 0x908);

// Output: the 18-byte device descriptor.
inline constexpr std::uint32_t kIoctlGetDeviceDescriptor = makeControlCode(kDescriptorDeviceType, 0x800);
// Output: the whole configuration descriptor.
inline constexpr std::uint32_t kIoctlGetConfigurationDescriptor = makeControlCode(kDescriptorDeviceType, 0x801);
// Input: u8 string index, u8 zero, u16 language id. Output: the string descriptor.
inline constexpr std::uint32_t kIoctlGetStringDescriptor = makeControlCode(kDescriptorDeviceType, 0x802);

inline constexpr std::uint16_t kLanguageEnglishUS = 0x0409;

static_assert(kIoctlSwitchToUpdateMode == 0x80862404u);
static_assert(kIoctlDfuDownload == 0x80862408u);
static_assert(kIoctlDfuGetStatus == 0x80862410u);
static_assert(kIoctlDfuClearStatus == 0x80862414u);
static_assert(kIoctlDfuAbort == 0x8086241Cu);
static_assert(kIoctlCloseUpdate == 0x80862420u);

}  // namespace QX::NHL2
