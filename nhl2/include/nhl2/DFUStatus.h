#pragma once
#include <cstdint>
#include <optional>
#include <span>

namespace QX::NHL2 {

enum class DFUState : std::uint8_t {
    AppIdle = 0,
    AppDetach = 1,
    Idle = 2,
    DownloadSync = 3,
    DownloadBusy = 4,
    DownloadIdle = 5,
    ManifestSync = 6,
    Manifest = 7,
    ManifestWaitReset = 8,
    UploadIdle = 9,
    Error = 10,
};

enum class DFUStatusCode : std::uint8_t {
    Ok = 0x00,
    ErrTarget = 0x01,
    ErrFile = 0x02,
    ErrWrite = 0x03,
    ErrErase = 0x04,
    ErrCheckErased = 0x05,
    ErrProg = 0x06,
    ErrVerify = 0x07,
    ErrAddress = 0x08,
    ErrNotDone = 0x09,
    ErrFirmware = 0x0A,
    ErrVendor = 0x0B,
    ErrUsbReset = 0x0C,
    ErrPowerOnReset = 0x0D,
    ErrUnknown = 0x0E,
    ErrStalledPacket = 0x0F,
};

// The six bytes of a GETSTATUS reply.
struct tDFUStatus {
    std::uint8_t status = 0;
    std::uint32_t pollTimeoutMs = 0;  // 24 bits on the wire
    std::uint8_t state = 0;
    std::uint8_t stringIndex = 0;

    bool isOk() const { return status == static_cast<std::uint8_t>(DFUStatusCode::Ok); }
    DFUState getState() const { return static_cast<DFUState>(state); }
};

inline constexpr std::size_t kDFUStatusSize = 6;

// A short reply or an unknown state gives nothing.
std::optional<tDFUStatus> parseDFUStatus(std::span<const std::uint8_t> bytes);
void writeDFUStatus(const tDFUStatus& status, std::span<std::uint8_t, kDFUStatusSize> out);

}  // namespace QX::NHL2
