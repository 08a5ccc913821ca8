#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "nhl2/ProductDataBase.h"

namespace QX::NHL2 {

// What a simulated keyboard is like: its model, revision and strings, its
// timings, and the faults it injects. Block numbers count from 0; -1 is off.
struct tKeyboardDescription {
    enum class Strings { Normal, Failing, NonAscii, InvalidUtf16 };
    enum class AfterClose { NewRevision, OldRevision, Never };
    enum class ManifestationFault { None, Remove, Hang };

    std::uint16_t modelProductId = kHVX49MK2;
    std::uint16_t releaseNumber = 0x0058;
    std::uint16_t updateModeRelease = 0x0100;
    std::string serialNumber = "HVX49-000001";
    Strings strings = Strings::Normal;

    bool present = true;
    std::uint32_t arrivalMs = 0;
    // Unplugged at this time and never back.
    std::optional<std::uint32_t> leaveMs;
    int keyboardCount = 1;
    // The last this many keyboards are in update mode from the start.
    int keyboardsInUpdateMode = 0;
    // All keyboards report the one serial number.
    bool sameSerial = false;
    std::vector<std::u16string> extraPaths;

    bool switchFails = false;
    std::optional<std::uint32_t> reenumerationMs = 500;  // nothing: never comes back
    std::uint16_t transferSize = 1024;
    bool manifestationTolerant = true;
    std::uint32_t busyMs = 0;
    std::uint32_t pollTimeoutMs = 10;
    bool busyForever = false;
    std::uint32_t manifestMs = 0;

    int removeAtBlock = -1;
    int rejectAtBlock = -1;
    int errorStateAtBlock = -1;
    // A status error while the state stays as it was.
    int errorStatusAtBlock = -1;
    int shortStatusAtBlock = -1;
    int hangAtBlock = -1;
    // Unplugged, or no answer, when the manifestation starts.
    ManifestationFault manifestationFault = ManifestationFault::None;

    AfterClose afterClose = AfterClose::NewRevision;
    std::uint32_t returnMs = 500;

    // Each request the keyboard answers goes to the trace, one line each, so
    // that a test outside the process can read what the keyboard received.
    bool traceRequests = false;
};

// "key = value" lines; a line that starts with '#' is a comment. Unknown keys and bad values are
// errors (described in `error`, with the line number).
std::optional<tKeyboardDescription> parseKeyboardDescription(std::string_view text, std::string& error);
// The same for one keyboard description or more: a line "---" begins the next
// one, whose keys start again from the defaults.
std::optional<std::vector<tKeyboardDescription>> parseKeyboardDescriptions(std::string_view text,
                                                                           std::string& error);
std::optional<std::vector<tKeyboardDescription>> loadKeyboardDescriptions(const std::string& fileName,
                                                                          std::string& error);

}  // namespace QX::NHL2
