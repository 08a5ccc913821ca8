#include "gp/Stream.h"

#include "gp/FileStorage.h"

namespace QX::GP {

Stream::Stream(std::shared_ptr<IStorage> storage) { setStorage(std::move(storage)); }

void Stream::setStorage(std::shared_ptr<IStorage> storage)
{
    storage_ = std::move(storage);
    state_ = storage_ ? kStreamOpen : kStreamClosed;
}

void Stream::fail()
{
    storage_.reset();
    state_ = kStreamFailed;
}

std::size_t Stream::read(void* buffer, std::size_t size)
{
    if (!isOpen())
        return 0;
    const std::int64_t count = storage_->read(buffer, static_cast<std::int64_t>(size));
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

std::int64_t Stream::tell() const { return isOpen() ? storage_->getPosition() : -1; }

bool Stream::seek(std::int64_t offset, int origin) { return isOpen() && storage_->seek(offset, origin); }

std::int64_t Stream::getSize() const { return isOpen() ? storage_->getSize() : 0; }

namespace {

// The file, or the container item the path addresses, opened for reading;
// null when it cannot be opened.
std::shared_ptr<IStorage> openForReading(const Path& path)
{
    if (!path.containerSubPath().empty()) {
        auto container = std::make_shared<FileContainerStorage>();
        return container->open(path, path.containerSubPath()) ? container : nullptr;
    }
    auto file = std::make_shared<FileStorage>();
    return file->open(path, kFileRead, 0) ? file : nullptr;
}

}  // namespace

bool FileStream::open(const Path& path)
{
    auto storage = openForReading(path);
    if (!storage) {
        fail();
        return false;
    }
    setStorage(std::move(storage));
    return true;
}

MemoryStream::MemoryStream(std::vector<std::uint8_t> bytes)
    : Stream(std::make_shared<MemoryStorage>(std::move(bytes)))
{
}

bool ResourceStream::open(void* module, const ResourceId& id, std::string_view type)
{
    auto bytes = findResource(module, id, type);
    if (!bytes) {
        fail();
        return false;
    }
    setStorage(MemoryStorage::borrow(bytes->data, bytes->size));
    return true;
}

bool ResourceStream::openByName(void* module, std::string_view name, std::string_view type)
{
    return open(module, ResourceId(name), type);
}

std::shared_ptr<Stream> createResourceStream(const ResourceId& id, std::string_view type, int flag)
{
    auto stream = std::make_shared<ResourceStream>();
    if (!stream->open(nullptr, id, type))
        return nullptr;
    return stream;
}

}  // namespace QX::GP
