#include <algorithm>
#include <utility>

#include "nhl2/simulated/SimulatedKeyboard.h"

namespace QX::NHL2 {
namespace {

class SimulatedConnection final : public IUSBConnection {
public:
    SimulatedConnection(std::shared_ptr<SimulatedKeyboard> keyboard, std::uint32_t generation)
        : keyboard_(std::move(keyboard)), generation_(generation) {}

    bool readHidAttributes(tHidAttributes& attributes) override {
        return keyboard_->readHidAttributes(generation_, attributes);
    }
    bool readHidString(HidString which, std::u16string& text) override {
        return keyboard_->readHidString(generation_, which, text);
    }
    tIoResult deviceIoControl(std::uint32_t code, std::span<const std::uint8_t> input,
                              std::span<std::uint8_t> output, std::uint32_t timeoutMs) override {
        return keyboard_->handleRequest(generation_, code, input, output, timeoutMs);
    }

private:
    std::shared_ptr<SimulatedKeyboard> keyboard_;
    std::uint32_t generation_;
};

}  // namespace

SimulatedDriver::SimulatedDriver(const tKeyboardDescription& description, std::shared_ptr<IClock> clock)
    : SimulatedDriver(std::vector<tKeyboardDescription>{description}, std::move(clock)) {}

SimulatedDriver::SimulatedDriver(const std::vector<tKeyboardDescription>& descriptions,
                                 std::shared_ptr<IClock> clock) {
    for (const auto& description : descriptions) {
        extraPaths_.insert(extraPaths_.end(), description.extraPaths.begin(), description.extraPaths.end());
        const int count = description.present ? std::max(description.keyboardCount, 0) : 0;
        for (int index = 0; index < count; ++index) {
            const int number = static_cast<int>(keyboards_.size()) + 1;
            keyboards_.push_back(std::make_shared<SimulatedKeyboard>(description, index, number, clock));
        }
    }
}

std::vector<std::u16string> SimulatedDriver::enumerateInterfacePaths(const USBDeviceFilter& filter) {
    const bool hid = filter.interfaceClass == kHidInterfaceClass;
    const bool ours = filter.interfaceClass == kDriverInterfaceClass;
    std::vector<std::u16string> paths;
    // Other devices of the class come first, so that they are really skipped.
    if (hid) paths = extraPaths_;
    for (const auto& keyboard : keyboards_) {
        const auto phase = keyboard->getPhase();
        if ((hid && phase == SimulatedKeyboard::Phase::Normal) || (ours && phase == SimulatedKeyboard::Phase::Update))
            paths.push_back(keyboard->getDevicePath());
    }
    return paths;
}

std::unique_ptr<IUSBConnection> SimulatedDriver::openPath(const std::u16string& devicePath) {
    for (const auto& keyboard : keyboards_) {
        const auto generation = keyboard->getGeneration();
        const auto path = keyboard->getDevicePath();
        if (!path.empty() && path == devicePath) return std::make_unique<SimulatedConnection>(keyboard, generation);
    }
    return nullptr;
}

}  // namespace QX::NHL2
