#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "gp/Path.h"
#include "gp/Resources.h"
#include "gp/Storage.h"

namespace QX::GP {

// Stream states.
enum StreamState : int {
    kStreamClosed = 0,
    kStreamOpen = 1,
    kStreamFailed = 3,
};

// A readable stream over a storage; handed by shared pointer to the picture,
// font and style-sheet loaders.
class Stream {
public:
    Stream() = default;
    explicit Stream(std::shared_ptr<IStorage> storage);
    virtual ~Stream() = default;

    int getState() const { return state_; }
    bool isOpen() const { return state_ == kStreamOpen; }
    IStorage* getStorage() const { return storage_.get(); }
    const std::shared_ptr<IStorage>& sharedStorage() const { return storage_; }
    // Switches the stream to another storage (open when it is not null).
    void setStorage(std::shared_ptr<IStorage> storage);

    // Reads up to `size` bytes; answers the count read (0 when not open).
    std::size_t read(void* buffer, std::size_t size);
    std::int64_t tell() const;
    bool seek(std::int64_t offset, int origin);
    std::int64_t getSize() const;

protected:
    void fail();

private:
    std::shared_ptr<IStorage> storage_;
    int state_ = kStreamClosed;
};

// A stream over a file; constructed closed.
class FileStream : public Stream {
public:
    FileStream() = default;
    // Opens the file for reading; on failure the state is kStreamFailed and
    // nothing can be read.
    bool open(const Path& path);
};

// A stream over a memory block.
class MemoryStream : public Stream {
public:
    explicit MemoryStream(std::vector<std::uint8_t> bytes);
};

// A stream over one of the program's embedded resources.
class ResourceStream : public Stream {
public:
    ResourceStream() = default;
    // `module` null means the program's module. Names and types match
    // without regard to case; "#12" or a ResourceId of 12 is the id 12.
    bool openByName(void* module, std::string_view name, std::string_view type);
    bool open(void* module, const ResourceId& id, std::string_view type);
};

// Opens a resource of the program's module as a readable stream; null when
// the resource is missing. `flag` 1 asks for a resource stream (the only
// kind this program uses).
std::shared_ptr<Stream> createResourceStream(const ResourceId& id, std::string_view type, int flag = 1);

}  // namespace QX::GP
