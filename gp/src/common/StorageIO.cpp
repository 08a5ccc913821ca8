#include "gp/StorageIO.h"

namespace QX::GP {
namespace {

// Values are assembled byte by byte, least significant first unless
// swapped, so the host's own byte order never matters.
std::size_t byteIndex(std::size_t i, std::size_t size, bool swapped) { return swapped ? size - 1 - i : i; }

template <typename T>
bool readValue(StorageIO& io, T& value, bool swapped)
{
    std::uint8_t bytes[sizeof(T)];
    value = 0;
    if (io.read(bytes, sizeof(T)) != sizeof(T))
        return false;
    T result = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        result |= static_cast<T>(static_cast<T>(bytes[byteIndex(i, sizeof(T), swapped)]) << (8 * i));
    value = result;
    return true;
}

template <typename T>
bool writeValue(StorageIO& io, T value, bool swapped)
{
    std::uint8_t bytes[sizeof(T)];
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bytes[byteIndex(i, sizeof(T), swapped)] = static_cast<std::uint8_t>(value >> (8 * i));
    return io.write(bytes, sizeof(T)) == sizeof(T);
}

}  // namespace

bool StorageIO::readUInt8(std::uint8_t& value) { return readValue(*this, value, false); }
bool StorageIO::readUInt16(std::uint16_t& value) { return readValue(*this, value, swaps()); }
bool StorageIO::readUInt32(std::uint32_t& value) { return readValue(*this, value, swaps()); }
bool StorageIO::writeUInt8(std::uint8_t value) { return writeValue(*this, value, false); }
bool StorageIO::writeUInt16(std::uint16_t value) { return writeValue(*this, value, swaps()); }
bool StorageIO::writeUInt32(std::uint32_t value) { return writeValue(*this, value, swaps()); }

std::size_t StorageIO::read(void* buffer, std::size_t size)
{
    if (!storage_)
        return 0;
    const std::int64_t count = storage_->read(buffer, static_cast<std::int64_t>(size));
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

std::size_t StorageIO::write(const void* buffer, std::size_t size)
{
    if (!storage_)
        return 0;
    const std::int64_t count = storage_->write(buffer, static_cast<std::int64_t>(size));
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

std::int64_t StorageIO::tell() const { return storage_ ? storage_->getPosition() : -1; }

bool StorageIO::seek(std::int64_t offset, int origin)
{
    return storage_ && storage_->seek(offset, origin);
}

}  // namespace QX::GP
