#pragma once
#include <cstddef>
#include <cstdint>

#include "gp/Storage.h"

namespace QX::GP {

// Reads and writes 8-, 16- and 32-bit values over a storage. Byte order 1 is
// little-endian; any other value swaps the bytes of 16- and 32-bit values.
// A short read answers false and leaves the value 0.
class StorageIO {
public:
    static constexpr int kLittleEndian = 1;
    static constexpr int kBigEndian = 0;

    explicit StorageIO(IStorage* storage = nullptr, int byteOrder = kLittleEndian)
        : storage_(storage), byteOrder_(byteOrder) {}

    IStorage* getStorage() const { return storage_; }
    void setStorage(IStorage* storage) { storage_ = storage; }
    int getByteOrder() const { return byteOrder_; }
    void setByteOrder(int byteOrder) { byteOrder_ = byteOrder; }

    bool readUInt8(std::uint8_t& value);
    bool readUInt16(std::uint16_t& value);
    bool readUInt32(std::uint32_t& value);
    bool writeUInt8(std::uint8_t value);
    bool writeUInt16(std::uint16_t value);
    bool writeUInt32(std::uint32_t value);

    // Forwards to the storage; answers the count read or written (0 without
    // a storage).
    std::size_t read(void* buffer, std::size_t size);
    std::size_t write(const void* buffer, std::size_t size);

    // -1 without a storage.
    std::int64_t tell() const;
    bool seek(std::int64_t offset, int origin);

private:
    bool swaps() const { return byteOrder_ != kLittleEndian; }

    IStorage* storage_;
    int byteOrder_;
};

}  // namespace QX::GP
