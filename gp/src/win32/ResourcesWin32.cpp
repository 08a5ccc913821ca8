#include <windows.h>

#include "../common/Platform.h"
#include "gp/Module.h"
#include "gp/Text.h"

namespace QX::GP::DETAIL {
namespace {

// A resource name or type as FindResourceW takes it: an integer resource
// or an upper-case text (Windows matches texts without regard to case).
class ResourceName {
public:
    explicit ResourceName(const ResourceId& id)
    {
        if (!id.isNumber())
            text_ = utf8ToWide(id.name());
        number_ = id.isNumber() ? id.number() : -1;
    }

    bool isValid() const { return number_ >= 0 ? number_ <= 0xFFFF : !text_.empty(); }
    LPCWSTR get() const { return number_ >= 0 ? MAKEINTRESOURCEW(number_) : text_.c_str(); }

private:
    std::u16string text_;
    int number_;
};

}  // namespace

std::optional<ResourceBytes> findModuleResource(void* module, const ResourceId& id, const ResourceId& type)
{
    const ResourceName name(id);
    const ResourceName typeName(type);
    if (!name.isValid() || !typeName.isValid())
        return std::nullopt;
    auto handle = static_cast<HMODULE>(module ? module : getModuleHandle());
    HRSRC info = FindResourceW(handle, name.get(), typeName.get());
    if (!info)
        return std::nullopt;
    HGLOBAL loaded = LoadResource(handle, info);
    const DWORD size = SizeofResource(handle, info);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return std::nullopt;
    return ResourceBytes{static_cast<const std::uint8_t*>(data), size};
}

}  // namespace QX::GP::DETAIL
