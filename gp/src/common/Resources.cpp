#include "gp/Resources.h"

#include <cctype>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "Platform.h"

namespace QX::GP {
namespace {

std::string toUpperAscii(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

// "#<digits>" names a number from 0 to 65535 (resource ids are 16 bits).
std::optional<int> parseNumber(std::string_view name)
{
    if (name.size() < 2 || name.size() > 6 || name[0] != '#')
        return std::nullopt;
    int number = 0;
    for (char c : name.substr(1)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        number = number * 10 + (c - '0');
    }
    if (number > 0xFFFF)
        return std::nullopt;
    return number;
}

// The key of a registered resource: type and name, both in canonical form.
using RegistryKey = std::pair<std::string, std::string>;

std::string canonical(const ResourceId& id)
{
    return id.isNumber() ? "#" + std::to_string(id.number()) : id.name();
}

using Bytes = std::unique_ptr<std::vector<std::uint8_t>>;

struct Registry {
    std::mutex mutex;
    // Bytes are never moved or freed before unregisterAllResources, so the
    // bytes handed out stay valid as the resources of a module do; bytes a
    // later registration replaced are kept in `retired` for that reason.
    std::map<RegistryKey, Bytes> entries;
    std::vector<Bytes> retired;
};

Registry& registry()
{
    static Registry* instance = new Registry;
    return *instance;
}

}  // namespace

ResourceId::ResourceId(std::string_view name)
{
    if (auto number = parseNumber(name))
        value_ = *number;
    else
        value_ = toUpperAscii(name);
}

const std::string& ResourceId::name() const
{
    static const std::string empty;
    return isNumber() ? empty : std::get<std::string>(value_);
}

void registerResource(const ResourceId& id, std::string_view type, std::vector<std::uint8_t> bytes)
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    Bytes& entry = r.entries[{canonical(ResourceId(type)), canonical(id)}];
    if (entry && *entry == bytes)
        return;  // the same bytes again: keep handing out the first copy
    if (entry)
        r.retired.push_back(std::move(entry));
    entry = std::make_unique<std::vector<std::uint8_t>>(std::move(bytes));
}

void unregisterAllResources()
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.entries.clear();
    r.retired.clear();
}

std::optional<ResourceBytes> DETAIL::findRegisteredResource(const ResourceId& id, const ResourceId& type)
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    auto found = r.entries.find({canonical(type), canonical(id)});
    if (found == r.entries.end())
        return std::nullopt;
    return ResourceBytes{found->second->data(), found->second->size()};
}

std::optional<ResourceBytes> findResource(void* module, const ResourceId& id, std::string_view type)
{
    const ResourceId typeId(type);
    if (auto bytes = DETAIL::findModuleResource(module, id, typeId))
        return bytes;
    return DETAIL::findRegisteredResource(id, typeId);
}

}  // namespace QX::GP
