#include "uia/FileListClipBoardFormat.h"

#include <cstring>
#include <string>

#include "gp/Text.h"
#include "uia/ClipboardPlatform.h"
#include "uia/GlobalMemory.h"

namespace QX::UIA {
namespace {

// The system's dropped-files header: offset of the names, drop point,
// non-client flag and whether the names are UTF-16.
struct tDropFilesHeader {
    std::uint32_t fileListOffset;
    std::int32_t x;
    std::int32_t y;
    std::uint32_t nonClient;
    std::uint32_t wide;
};
static_assert(sizeof(tDropFilesHeader) == 20);

// Reads NUL-terminated names from [begin, end) up to the empty name; a name
// that runs into the end of the block is dropped.
template <typename Unit, typename Convert>
std::vector<std::string> readNames(const unsigned char* begin, const unsigned char* end,
                                   Convert convert) {
    std::vector<std::string> names;
    const std::size_t count = static_cast<std::size_t>(end - begin) / sizeof(Unit);
    std::basic_string<Unit> units(count, Unit(0));
    if (count > 0)
        std::memcpy(units.data(), begin, count * sizeof(Unit));
    std::size_t position = 0;
    while (position < count) {
        const std::size_t nul = units.find(Unit(0), position);
        if (nul == std::basic_string<Unit>::npos || nul == position)
            break;
        names.push_back(convert(std::basic_string_view<Unit>(units).substr(position, nul - position)));
        position = nul + 1;
    }
    return names;
}

std::vector<std::string> readDroppedNames(const void* data, std::size_t size) {
    if (size < sizeof(tDropFilesHeader))
        return {};
    tDropFilesHeader header;
    std::memcpy(&header, data, sizeof header);
    if (header.fileListOffset < sizeof(tDropFilesHeader) || header.fileListOffset >= size)
        return {};
    const auto* bytes = static_cast<const unsigned char*>(data);
    const unsigned char* begin = bytes + header.fileListOffset;
    const unsigned char* end = bytes + size;
    if (header.wide)
        return readNames<char16_t>(begin, end, [](std::u16string_view name) {
            return GP::utf16ToUtf8(name);
        });
    return readNames<char>(begin, end, [](std::string_view name) {
        return DETAIL::ansiToUtf8(name);
    });
}

bool endsWithSeparator(const std::string& name) {
    return !name.empty() && (name.back() == '\\' || name.back() == '/');
}

bool fillDroppedNames(void* block, std::size_t size, const std::vector<std::u16string>& names) {
    DETAIL::GlobalBlockLock lock(block);
    if (!lock.data() || lock.size() < size)
        return false;
    auto* bytes = static_cast<unsigned char*>(lock.data());
    std::memset(bytes, 0, size);
    const tDropFilesHeader header{sizeof(tDropFilesHeader), 0, 0, 0, 1};
    std::memcpy(bytes, &header, sizeof header);
    std::size_t offset = sizeof header;
    for (const std::u16string& name : names) {
        std::memcpy(bytes + offset, name.data(), name.size() * sizeof(char16_t));
        offset += (name.size() + 1) * sizeof(char16_t);
    }
    return true;
}

}  // namespace

FileListClipBoardFormat::FileListClipBoardFormat() : ClipBoardFormat(getFileListFormatId()) {}

bool FileListClipBoardFormat::readFromGlobal(void* globalBlock) {
    std::vector<std::string> names;
    {
        DETAIL::GlobalBlockLock lock(globalBlock);
        if (!lock.data())
            return false;
        paths_.clear();
        names = readDroppedNames(lock.data(), lock.size());
    }
    paths_.reserve(names.size());
    for (std::string& name : names) {
        GP::Path path(name);
        if (!endsWithSeparator(name) && path.directoryExists())
            path.assign(name + path.separator());
        path.resolveFileType();
        paths_.push_back(std::move(path));
    }
    return true;
}

void* FileListClipBoardFormat::writeToGlobal() const {
    std::vector<std::u16string> names;
    std::size_t size = sizeof(tDropFilesHeader) + sizeof(char16_t);
    for (const GP::Path& path : paths_) {
        names.push_back(GP::utf8ToWide(path.toString()));
        size += (names.back().size() + 1) * sizeof(char16_t);
    }
    void* block = DETAIL::allocateGlobalBlock(size);
    if (!block)
        return nullptr;
    if (!fillDroppedNames(block, size, names)) {
        DETAIL::freeGlobalBlock(block);
        return nullptr;
    }
    return block;
}

}  // namespace QX::UIA
