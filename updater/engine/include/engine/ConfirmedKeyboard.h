#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "nhl2/USBDeviceInfo.h"

namespace QX {

// What tells one keyboard from another across its two modes: its model (the
// product id without the mode bits) and its serial number, empty when it
// tells none.
struct tKeyboardIdentity {
    std::uint16_t model = 0;
    std::string serialNumber;

    static tKeyboardIdentity of(const NHL2::USBDeviceInfo& info);
    bool operator==(const tKeyboardIdentity&) const = default;
};

// The keyboard the user confirmed with UPDATE, as its page showed it: the
// only keyboard that firmware is written into. In update mode it is known by
// where it stands: the path it was confirmed at, or the one where it came
// back after our switch. A keyboard elsewhere in update mode is taken for it
// only with its model and serial number, on a path that was not in update
// mode before our switch. One that tells no serial number proves nothing:
// it is taken only while our switch waits for the keyboard to come back,
// and only while it is the only keyboard connected (the caller's twin rules).
class ConfirmedKeyboard {
public:
    ConfirmedKeyboard(const NHL2::USBDeviceInfo& info, const std::u16string& path, bool inUpdateMode,
                      bool needsUpdate);

    // Our switch starts; the keyboards in update mode at these paths are others.
    void noteSwitch(std::vector<std::u16string> updateModePathsBefore);
    // It was recognised back in update mode at this path.
    void noteBackAt(const std::u16string& path);

    // Same model and serial number, and not there in update mode before our
    // switch: it may be this keyboard, or a twin that cannot be told from it.
    bool looksLike(const NHL2::USBDeviceInfo& info, const std::u16string& path) const;
    // Whether the keyboard in update mode at `path` is this one.
    bool recognises(const NHL2::USBDeviceInfo& info, const std::u16string& path, bool whileSwitching) const;
    const std::vector<std::u16string>& getUpdateModePathsBefore() const { return pathsBefore_; }
    // Whether its page offered the update: older firmware, or in update mode.
    bool needsUpdate() const { return needsUpdate_; }

private:
    bool wasInUpdateModeBeforeTheSwitch(const std::u16string& path) const;

    tKeyboardIdentity identity_;
    std::u16string updateModePath_;  // empty until known
    std::vector<std::u16string> pathsBefore_;
    bool needsUpdate_;
};

}  // namespace QX
