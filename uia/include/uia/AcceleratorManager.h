#pragma once
#include <cstdint>
#include <map>
#include <memory>

#include "uia/KeyCodes.h"

namespace QX::UIA {

// The table's key words are the key codes of the keyboard handling.
namespace KeyBits = Key;

// The application's table from key words to command numbers.
class AcceleratorManagerImpl {
public:
    virtual ~AcceleratorManagerImpl() = default;
    // Inserts the pair, or replaces the command of a key already present.
    virtual void setAccelerator(std::uint32_t key, std::int32_t command) = 0;
    virtual void clear() = 0;
    // The command of the key, else of the key without its variant bits
    // (so a keypad key finds its main-keyboard twin), else 0.
    virtual std::int32_t findCommand(std::uint32_t key) const = 0;
};

class AcceleratorManagerImplMap : public AcceleratorManagerImpl {
public:
    static std::unique_ptr<AcceleratorManagerImpl> create();

    void setAccelerator(std::uint32_t key, std::int32_t command) override;
    void clear() override;
    std::int32_t findCommand(std::uint32_t key) const override;

private:
    std::map<std::uint32_t, std::int32_t> commands_;
};

}  // namespace QX::UIA
