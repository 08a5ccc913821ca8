#include <windows.h>

#include <algorithm>

#include "../common/StorageSeek.h"
#include "../common/StorageTransfer.h"
#include "gp/FileStorage.h"

namespace QX::GP {

struct FileStorage::OSImpl {
    HANDLE file = INVALID_HANDLE_VALUE;
};

FileStorage::FileStorage() : impl_(std::make_unique<OSImpl>()) {}

FileStorage::~FileStorage() { close(); }

bool FileStorage::open(const Path& path, int mode, int lock)
{
    close();
    DWORD access;
    DWORD disposition;
    switch (mode) {
    case kFileRead: access = GENERIC_READ, disposition = OPEN_EXISTING; break;
    case kFileWrite: access = GENERIC_WRITE, disposition = CREATE_ALWAYS; break;
    case kFileReadWrite: access = GENERIC_READ | GENERIC_WRITE, disposition = OPEN_EXISTING; break;
    default: return false;
    }
    const std::u16string name = path.toWideString();
    if (name.empty())
        return false;
    const DWORD share = lock ? 0 : (mode == kFileRead ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ);
    HANDLE file = CreateFileW(name.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    impl_->file = file;
    return true;
}

void FileStorage::close()
{
    if (impl_->file != INVALID_HANDLE_VALUE)
        CloseHandle(impl_->file);
    impl_->file = INVALID_HANDLE_VALUE;
}

bool FileStorage::isOpen() const { return impl_->file != INVALID_HANDLE_VALUE; }

namespace {

// ReadFile and WriteFile take 32-bit counts.
DWORD chunkOf(std::int64_t left) { return static_cast<DWORD>(std::min<std::int64_t>(left, 1 << 30)); }

}  // namespace

std::int64_t FileStorage::read(void* buffer, std::int64_t size)
{
    if (!isOpen() || !DETAIL::isValidTransfer(buffer, size))
        return -1;
    auto* bytes = static_cast<char*>(buffer);
    return DETAIL::transferAll(size, [&](std::int64_t done, std::int64_t left) -> std::int64_t {
        DWORD got = 0;
        return ReadFile(impl_->file, bytes + done, chunkOf(left), &got, nullptr) ? std::int64_t(got) : -1;
    });
}

std::int64_t FileStorage::write(const void* buffer, std::int64_t size)
{
    if (!isOpen() || !DETAIL::isValidTransfer(buffer, size))
        return -1;
    const auto* bytes = static_cast<const char*>(buffer);
    return DETAIL::transferAll(size, [&](std::int64_t done, std::int64_t left) -> std::int64_t {
        DWORD put = 0;
        // A write that moves nothing is a failure.
        return WriteFile(impl_->file, bytes + done, chunkOf(left), &put, nullptr) && put > 0 ? std::int64_t(put) : -1;
    });
}

std::int64_t FileStorage::getPosition() const
{
    LARGE_INTEGER zero{};
    LARGE_INTEGER position{};
    if (!isOpen() || !SetFilePointerEx(impl_->file, zero, &position, FILE_CURRENT))
        return -1;
    return position.QuadPart;
}

bool FileStorage::seek(std::int64_t offset, int origin)
{
    std::int64_t target;
    if (!isOpen() || !DETAIL::resolveSeek(offset, origin, getPosition(), getSize(), target))
        return false;
    LARGE_INTEGER distance{};
    distance.QuadPart = target;
    return SetFilePointerEx(impl_->file, distance, nullptr, FILE_BEGIN) != 0;
}

std::int64_t FileStorage::getSize() const
{
    LARGE_INTEGER size{};
    if (!isOpen() || !GetFileSizeEx(impl_->file, &size))
        return 0;
    return size.QuadPart;
}

bool removeFile(const Path& path)
{
    const std::u16string name = path.toWideString();
    return !name.empty() && DeleteFileW(name.c_str()) != 0;
}

}  // namespace QX::GP
