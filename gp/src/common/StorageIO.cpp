#include "gp/StorageIO.h"

namespace QX::GP {
namespace {

std::uint16_t swap16(std::uint16_t v) { return static_cast<std::uint16_t>((v >> 8) | (v << 8)); }
std::uint32_t swap32(std::uint32_t v) { return __builtin_bswap32(v); }

// Values are assembled byte by byte: little-endian on the storage is the
// natural order, so the host's own order never matters.
template <typename T>
bool readLittle(StorageIO& io, T& value)
{
    std::uint8_t bytes[sizeof(T)];
    value = 0;
    if (io.read(bytes, sizeof(T)) != sizeof(T))
        return false;
    T result = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        result |= static_cast<T>(static_cast<T>(bytes[i]) << (8 * i));
    value = result;
    return true;
}

template <typename T>
bool writeLittle(StorageIO& io, T value)
{
    std::uint8_t bytes[sizeof(T)];
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    return io.write(bytes, sizeof(T)) == sizeof(T);
}

}  // namespace

bool StorageIO::readUInt8(std::uint8_t& value) { return readLittle(*this, value); }

bool StorageIO::readUInt16(std::uint16_t& value)
{
    if (!readLittle(*this, value))
        return false;
    if (swaps())
        value = swap16(value);
    return true;
}

bool StorageIO::readUInt32(std::uint32_t& value)
{
    if (!readLittle(*this, value))
        return false;
    if (swaps())
        value = swap32(value);
    return true;
}

bool StorageIO::writeUInt8(std::uint8_t value) { return writeLittle(*this, value); }
bool StorageIO::writeUInt16(std::uint16_t value) { return writeLittle(*this, swaps() ? swap16(value) : value); }
bool StorageIO::writeUInt32(std::uint32_t value) { return writeLittle(*this, swaps() ? swap32(value) : value); }

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
