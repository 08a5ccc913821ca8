#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "../common/StorageSeek.h"
#include "../common/StorageTransfer.h"
#include "gp/FileStorage.h"

namespace QX::GP {

struct FileStorage::OSImpl {
    int descriptor = -1;
};

FileStorage::FileStorage() : impl_(std::make_unique<OSImpl>()) {}

FileStorage::~FileStorage() { close(); }

bool FileStorage::open(const Path& path, int mode, int)
{
    close();
    int flags;
    switch (mode) {
    case kFileRead: flags = O_RDONLY; break;
    case kFileWrite: flags = O_WRONLY | O_CREAT | O_TRUNC; break;
    case kFileReadWrite: flags = O_RDWR; break;
    default: return false;
    }
    const std::string text = path.toString();
    if (text.empty())
        return false;
    int descriptor;
    do {
        descriptor = ::open(text.c_str(), flags | O_CLOEXEC, 0644);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0)
        return false;
    struct stat info{};
    if (::fstat(descriptor, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(descriptor);
        return false;
    }
    impl_->descriptor = descriptor;
    return true;
}

void FileStorage::close()
{
    if (impl_->descriptor >= 0)
        ::close(impl_->descriptor);
    impl_->descriptor = -1;
}

bool FileStorage::isOpen() const { return impl_->descriptor >= 0; }

std::int64_t FileStorage::read(void* buffer, std::int64_t size)
{
    if (!isOpen() || !DETAIL::isValidTransfer(buffer, size))
        return -1;
    auto* bytes = static_cast<char*>(buffer);
    return DETAIL::transferAll(size, [&](std::int64_t done, std::int64_t left) -> std::int64_t {
        ssize_t got;
        do
            got = ::read(impl_->descriptor, bytes + done, static_cast<std::size_t>(left));
        while (got < 0 && errno == EINTR);
        return got;
    });
}

std::int64_t FileStorage::write(const void* buffer, std::int64_t size)
{
    if (!isOpen() || !DETAIL::isValidTransfer(buffer, size))
        return -1;
    const auto* bytes = static_cast<const char*>(buffer);
    return DETAIL::transferAll(size, [&](std::int64_t done, std::int64_t left) -> std::int64_t {
        ssize_t put;
        do
            put = ::write(impl_->descriptor, bytes + done, static_cast<std::size_t>(left));
        while (put < 0 && errno == EINTR);
        return put > 0 ? put : -1;  // a write that moves nothing is a failure
    });
}

std::int64_t FileStorage::getPosition() const
{
    return isOpen() ? ::lseek(impl_->descriptor, 0, SEEK_CUR) : -1;
}

bool FileStorage::seek(std::int64_t offset, int origin)
{
    std::int64_t target;
    if (!isOpen() || !DETAIL::resolveSeek(offset, origin, getPosition(), getSize(), target))
        return false;
    return ::lseek(impl_->descriptor, target, SEEK_SET) == target;
}

std::int64_t FileStorage::getSize() const
{
    struct stat info{};
    if (!isOpen() || ::fstat(impl_->descriptor, &info) != 0)
        return 0;
    return info.st_size;
}

bool removeFile(const Path& path)
{
    const std::string name = path.toString();
    return !name.empty() && ::unlink(name.c_str()) == 0;
}

}  // namespace QX::GP
