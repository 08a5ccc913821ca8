#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "gp/Path.h"
#include "gp/Storage.h"

namespace QX::GP {

// Open modes.
inline constexpr int kFileRead = 1;
inline constexpr int kFileWrite = 2;      // create or truncate
inline constexpr int kFileReadWrite = 3;  // existing file

// A storage over a file of the file system (Win32 file handles in the
// program build, POSIX descriptors natively).
class FileStorage : public IStorage {
public:
    FileStorage();
    ~FileStorage() override;
    FileStorage(const FileStorage&) = delete;
    FileStorage& operator=(const FileStorage&) = delete;

    // Opens `path` in `mode` (1 read). `lock` asks for exclusive access
    // (ignored natively). The file is always binary. False on failure.
    bool open(const Path& path, int mode, int lock = 0);
    void close();
    bool isOpen() const;

    std::int64_t read(void* buffer, std::int64_t size) override;
    std::int64_t write(const void* buffer, std::int64_t size) override;
    std::int64_t getPosition() const override;
    bool seek(std::int64_t offset, int origin) override;
    std::int64_t getSize() const override;

private:
    struct OSImpl;
    std::unique_ptr<OSImpl> impl_;
};

// Deletes a file; false when it could not be deleted.
bool removeFile(const Path& path);

// The file-container format (blocks with markers and tables of contents,
// items addressed by sub-path) is not supported: opening one always fails
// with `lastError()` saying so.
class FileContainerStorage : public IStorage {
public:
    bool open(const Path& containerPath, const std::string& subPath);
    const std::string& lastError() const { return error_; }

    std::int64_t read(void*, std::int64_t) override { return -1; }
    std::int64_t write(const void*, std::int64_t) override { return -1; }
    std::int64_t getPosition() const override { return -1; }
    bool seek(std::int64_t, int) override { return false; }
    std::int64_t getSize() const override { return 0; }

private:
    std::string error_;
};

}  // namespace QX::GP
