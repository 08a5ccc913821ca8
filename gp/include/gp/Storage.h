#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace QX::GP {

// Seek origins.
inline constexpr int kSeekStart = 0;
inline constexpr int kSeekCurrent = 1;
inline constexpr int kSeekEnd = 2;

// A byte storage: files, memory blocks, resources and ranges of another
// storage all look like this. Reads past the end answer fewer bytes (0 at
// the end); failures answer -1.
class IStorage {
public:
    virtual ~IStorage() = default;

    virtual std::int64_t read(void* buffer, std::int64_t size) = 0;
    virtual std::int64_t write(const void* buffer, std::int64_t size) = 0;
    // The current byte offset, or -1 when it cannot be told.
    virtual std::int64_t getPosition() const = 0;
    // Moves to `offset` from the origin (0 start, 1 current, 2 end). A
    // position before the start fails and leaves the position unchanged;
    // positions past the end are allowed (reads then answer 0).
    virtual bool seek(std::int64_t offset, int origin) = 0;
    virtual std::int64_t getSize() const = 0;
};

// A storage over bytes in memory: either its own copy, or borrowed bytes that
// outlive it (resources). Borrowed storages are read-only.
class MemoryStorage : public IStorage {
public:
    MemoryStorage() = default;
    explicit MemoryStorage(std::vector<std::uint8_t> bytes);
    static std::shared_ptr<MemoryStorage> borrow(const void* data, std::size_t size);

    std::int64_t read(void* buffer, std::int64_t size) override;
    std::int64_t write(const void* buffer, std::int64_t size) override;
    std::int64_t getPosition() const override { return position_; }
    bool seek(std::int64_t offset, int origin) override;
    std::int64_t getSize() const override;

    const std::uint8_t* data() const;
    // The owned bytes (empty for a borrowed storage).
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    const std::uint8_t* borrowed_ = nullptr;
    std::size_t borrowedSize_ = 0;
    std::int64_t position_ = 0;
};

// A window [offset, offset + length) of another storage, seen from 0.
class RangeStorage : public IStorage {
public:
    RangeStorage(std::shared_ptr<IStorage> base, std::int64_t offset, std::int64_t length);

    std::int64_t read(void* buffer, std::int64_t size) override;
    std::int64_t write(const void* buffer, std::int64_t size) override;
    std::int64_t getPosition() const override { return position_; }
    bool seek(std::int64_t offset, int origin) override;
    std::int64_t getSize() const override { return length_; }

private:
    // Moves the base to this range's position and answers how many of `size`
    // bytes lie before the range's end (-1 when the base cannot move there).
    std::int64_t placeBase(std::int64_t size);
    // Advances past the bytes a transfer moved and answers its result.
    std::int64_t advance(std::int64_t moved);

    std::shared_ptr<IStorage> base_;
    std::int64_t offset_;
    std::int64_t length_;
    std::int64_t position_ = 0;
};

}  // namespace QX::GP
