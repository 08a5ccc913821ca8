#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace QX::GP {

// A resource is named by a number or by a text (matched without regard to
// case); a text "#<digits>" is the number.
class ResourceId {
public:
    ResourceId(int number) : value_(number) {}
    ResourceId(std::string_view name);
    ResourceId(const char* name) : ResourceId(std::string_view(name)) {}
    ResourceId(const std::string& name) : ResourceId(std::string_view(name)) {}

    bool isNumber() const { return std::holds_alternative<int>(value_); }
    int number() const { return std::get<int>(value_); }
    // The name in upper case (empty for a number).
    const std::string& name() const;
    bool operator==(const ResourceId& other) const { return value_ == other.value_; }

private:
    std::variant<int, std::string> value_;
};

// The bytes of an embedded resource; they live as long as the module.
struct ResourceBytes {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

// Finds a resource of `module` (null: the program's module); nothing when
// it is missing.
std::optional<ResourceBytes> findResource(void* module, const ResourceId& id, std::string_view type);

// The native build has no embedded resources: tests supply them here. The
// program build looks in the module first and falls back to these. Bytes
// handed out stay valid until unregisterAllResources, even when the same
// resource is registered again.
void registerResource(const ResourceId& id, std::string_view type, std::vector<std::uint8_t> bytes);
void unregisterAllResources();

}  // namespace QX::GP
