#pragma once
#include <cstdint>
#include <map>
#include <memory>

namespace QX::UIA {

// Key word bits as the keyboard handling builds them: the low 16 bits are
// the upper-case character or a special key code.
namespace KeyBits {
inline constexpr std::uint32_t kKeyMask = 0xFFFF;
inline constexpr std::uint32_t kFunctionKey = 0x10000;  // F1..F12 are 0x10001..0x1000C
inline constexpr std::uint32_t kKeypad = 0x800000;
inline constexpr std::uint32_t kWindowsKey = 0x1000000;
inline constexpr std::uint32_t kCapsLock = 0x2000000;
inline constexpr std::uint32_t kShift = 0x10000000;
inline constexpr std::uint32_t kControl = 0x20000000;
inline constexpr std::uint32_t kAlt = 0x40000000;
// Variant bits (17 to 23) that a lookup may ignore.
inline constexpr std::uint32_t kVariantMask = 0xFE0000;
}  // namespace KeyBits

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
