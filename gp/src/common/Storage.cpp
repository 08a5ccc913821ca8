#include "gp/Storage.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <limits>

#include "StorageSeek.h"
#include "StorageTransfer.h"

namespace QX::GP {

MemoryStorage::MemoryStorage(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

std::shared_ptr<MemoryStorage> MemoryStorage::borrow(const void* data, std::size_t size)
{
    auto storage = std::make_shared<MemoryStorage>();
    storage->borrowed_ = static_cast<const std::uint8_t*>(data);
    storage->borrowedSize_ = data ? size : 0;
    return storage;
}

const std::uint8_t* MemoryStorage::data() const { return borrowed_ ? borrowed_ : bytes_.data(); }

std::int64_t MemoryStorage::getSize() const
{
    return static_cast<std::int64_t>(borrowed_ ? borrowedSize_ : bytes_.size());
}

std::int64_t MemoryStorage::read(void* buffer, std::int64_t size)
{
    if (!DETAIL::isValidTransfer(buffer, size))
        return -1;
    const std::int64_t available = std::max<std::int64_t>(0, getSize() - position_);
    const std::int64_t count = std::min(size, available);
    if (count > 0)
        std::memcpy(buffer, data() + position_, static_cast<std::size_t>(count));
    position_ += count;
    return count;
}

std::int64_t MemoryStorage::write(const void* buffer, std::int64_t size)
{
    if (borrowed_ || !DETAIL::isValidTransfer(buffer, size))
        return -1;
    if (size == 0)
        return 0;
    std::int64_t end;
    if (__builtin_add_overflow(position_, size, &end))
        return -1;
    if (static_cast<std::uint64_t>(end) > bytes_.size()) {
        try {
            bytes_.resize(static_cast<std::size_t>(end));
        } catch (const std::exception&) {
            return -1;  // a position far past the end cannot be filled
        }
    }
    std::memcpy(bytes_.data() + position_, buffer, static_cast<std::size_t>(size));
    position_ += size;
    return size;
}

bool MemoryStorage::seek(std::int64_t offset, int origin)
{
    std::int64_t target;
    if (!DETAIL::resolveSeek(offset, origin, position_, getSize(), target))
        return false;
    position_ = target;
    return true;
}

RangeStorage::RangeStorage(std::shared_ptr<IStorage> base, std::int64_t offset, std::int64_t length)
    : base_(std::move(base)), offset_(std::max<std::int64_t>(0, offset)),
      // The window's end must stay a valid position of the base.
      length_(base_ ? std::clamp<std::int64_t>(length, 0, std::numeric_limits<std::int64_t>::max() - offset_) : 0)
{
}

std::int64_t RangeStorage::placeBase(std::int64_t size)
{
    if (!base_ || size < 0)
        return -1;
    const std::int64_t count = std::min(size, std::max<std::int64_t>(0, length_ - position_));
    if (count > 0 && !base_->seek(offset_ + position_, kSeekStart))
        return -1;
    return count;
}

std::int64_t RangeStorage::advance(std::int64_t moved)
{
    if (moved > 0)
        position_ += moved;
    return moved;
}

std::int64_t RangeStorage::read(void* buffer, std::int64_t size)
{
    const std::int64_t count = placeBase(size);
    return count > 0 ? advance(base_->read(buffer, count)) : count;
}

std::int64_t RangeStorage::write(const void* buffer, std::int64_t size)
{
    // A range never grows: writes stop at its end.
    const std::int64_t count = placeBase(size);
    return count > 0 ? advance(base_->write(buffer, count)) : count;
}

bool RangeStorage::seek(std::int64_t offset, int origin)
{
    std::int64_t target;
    if (!DETAIL::resolveSeek(offset, origin, position_, length_, target))
        return false;
    position_ = target;
    return true;
}

}  // namespace QX::GP
