#include "uia/AcceleratorManager.h"

namespace QX::UIA {

std::unique_ptr<AcceleratorManagerImpl> AcceleratorManagerImplMap::create() {
    return std::make_unique<AcceleratorManagerImplMap>();
}

void AcceleratorManagerImplMap::setAccelerator(std::uint32_t key, std::int32_t command) {
    commands_[key] = command;
}

void AcceleratorManagerImplMap::clear() { commands_.clear(); }

std::int32_t AcceleratorManagerImplMap::findCommand(std::uint32_t key) const {
    if (const auto exact = commands_.find(key); exact != commands_.end())
        return exact->second;
    if (const auto twin = commands_.find(key & ~KeyBits::kVariantMask); twin != commands_.end())
        return twin->second;
    return 0;
}

}  // namespace QX::UIA
