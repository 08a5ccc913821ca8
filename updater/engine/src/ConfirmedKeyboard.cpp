#include "engine/ConfirmedKeyboard.h"

#include <algorithm>

#include "nhl2/ProductDataBase.h"

namespace QX {

tKeyboardIdentity tKeyboardIdentity::of(const NHL2::USBDeviceInfo& info) {
    return {static_cast<std::uint16_t>(info.productId & NHL2::kModelMask), info.serialNumber};
}

ConfirmedKeyboard::ConfirmedKeyboard(const NHL2::USBDeviceInfo& info, const std::u16string& path, bool inUpdateMode,
                                     bool needsUpdate)
    : identity_(tKeyboardIdentity::of(info)),
      updateModePath_(inUpdateMode ? path : std::u16string()),
      needsUpdate_(needsUpdate) {}

void ConfirmedKeyboard::noteSwitch(std::vector<std::u16string> updateModePathsBefore) {
    pathsBefore_ = std::move(updateModePathsBefore);
    updateModePath_.clear();
}

void ConfirmedKeyboard::noteBackAt(const std::u16string& path) { updateModePath_ = path; }

bool ConfirmedKeyboard::wasInUpdateModeBeforeTheSwitch(const std::u16string& path) const {
    return std::find(pathsBefore_.begin(), pathsBefore_.end(), path) != pathsBefore_.end();
}

bool ConfirmedKeyboard::looksLike(const NHL2::USBDeviceInfo& info, const std::u16string& path) const {
    return tKeyboardIdentity::of(info) == identity_ && !wasInUpdateModeBeforeTheSwitch(path);
}

bool ConfirmedKeyboard::recognises(const NHL2::USBDeviceInfo& info, const std::u16string& path,
                                   bool whileSwitching) const {
    if (tKeyboardIdentity::of(info) != identity_) return false;
    if (!updateModePath_.empty() && path == updateModePath_) return true;
    if (wasInUpdateModeBeforeTheSwitch(path)) return false;
    return !identity_.serialNumber.empty() || whileSwitching;
}

}  // namespace QX
