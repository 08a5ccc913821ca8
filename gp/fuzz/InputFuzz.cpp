// Feeds arbitrary bytes to the parsers of untrusted text: the UTF-8 and
// UTF-16 converters, paths, resource names and the storage readers.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "gp/Path.h"
#include "gp/Region.h"
#include "gp/Resources.h"
#include "gp/ShortenText.h"
#include "gp/StorageIO.h"
#include "gp/Text.h"

using namespace QX::GP;

namespace {

void fuzzText(std::string_view bytes)
{
    const std::u16string wide = utf8ToWide(bytes);
    if (utf8ToWide(utf16ToUtf8(wide)) != wide)
        __builtin_trap();
    // Copied, not cast: the input bytes need not be aligned for char16_t.
    std::u16string units(bytes.size() / 2, u'\0');
    std::memcpy(units.data(), bytes.data(), units.size() * sizeof(char16_t));
    // Lone surrogates become U+FFFD once; after that the text is stable.
    const std::string fromUnits = utf16ToUtf8(units);
    if (utf16ToUtf8(utf8ToWide(fromUnits)) != fromUnits)
        __builtin_trap();
    findString(bytes, bytes.substr(bytes.size() / 2), bytes.size() / 3, true);
    copyIfAscii(bytes);
}

void fuzzPath(std::string_view bytes)
{
    Path path(bytes);
    const std::string text = path.toString();
    if (Path(text).toString() != text)
        __builtin_trap();
    path.setDirectory(bytes.substr(0, bytes.size() / 2), true);
    path.append(bytes.substr(bytes.size() / 2));
    path.resolveFileType();
    ResourceId id(bytes);
}

void fuzzRegion(const std::uint8_t* data, std::size_t size)
{
    Region region;
    MemoryStorage storage(std::vector<std::uint8_t>(data, data + size));
    StorageIO io(&storage);
    std::uint32_t edges[4];
    while (io.readUInt32(edges[0]) && io.readUInt32(edges[1]) && io.readUInt32(edges[2]) &&
           io.readUInt32(edges[3])) {
        const Rect r{std::int32_t(edges[0] % 64) - 8, std::int32_t(edges[1] % 64) - 8,
                     std::int32_t(edges[2] % 64) - 8, std::int32_t(edges[3] % 64) - 8};
        if (edges[0] & 0x80000000u)
            region.intersect(r);
        else
            region.addRect(r);
        if (Region::testRect(region, r) == Region::kOutside && region.contains(Point{r.left, r.top}) &&
            !r.isEmpty())
            __builtin_trap();
    }
    region.offset(std::int32_t(size * 0x7FFFFFF), -std::int32_t(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzzText(bytes);
    fuzzPath(bytes);
    fuzzRegion(data, size);
    // A shortened text fits the width; a text that fits comes back whole.
    NamedStringMap state;
    const int width = static_cast<int>(size / 2);
    const std::string shortened =
        shortenText(state, bytes, width, [](std::string_view t) { return int(t.size()); }, nullptr);
    if (shortened != bytes && static_cast<int>(shortened.size()) > width)
        __builtin_trap();
    return 0;
}
