#include "nhl2/simulated/KeyboardDescription.h"

#include <charconv>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

namespace QX::NHL2 {
namespace {

constexpr std::string_view kNextKeyboard = "---";

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// Decimal, or hexadecimal with "0x".
std::optional<std::uint64_t> parseNumber(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<bool> parseBool(std::string_view text) {
    if (text == "yes" || text == "true" || text == "1") return true;
    if (text == "no" || text == "false" || text == "0") return false;
    return std::nullopt;
}

using tSetter = std::function<bool(tKeyboardDescription&, std::string_view)>;

template <typename T>
tSetter numberSetter(T tKeyboardDescription::*field, std::uint64_t maximum, std::uint64_t minimum = 0) {
    return [field, maximum, minimum](tKeyboardDescription& d, std::string_view value) {
        const auto number = parseNumber(value);
        if (!number || *number > maximum || *number < minimum) return false;
        d.*field = static_cast<T>(*number);
        return true;
    };
}

tSetter boolSetter(bool tKeyboardDescription::*field) {
    return [field](tKeyboardDescription& d, std::string_view value) {
        const auto flag = parseBool(value);
        if (flag) d.*field = *flag;
        return flag.has_value();
    };
}

bool setModel(tKeyboardDescription& d, std::string_view value) {
    static const std::map<std::string_view, std::uint16_t> kModels = {
        {"49", kHVX49MK2}, {"61", kHVX61MK2}, {"88", kHVX88MK2}};
    const auto found = kModels.find(value);
    if (found == kModels.end()) return false;
    d.modelProductId = found->second;
    return true;
}

bool setStrings(tKeyboardDescription& d, std::string_view value) {
    using Strings = tKeyboardDescription::Strings;
    static const std::map<std::string_view, Strings> kKinds = {
        {"normal", Strings::Normal}, {"failing", Strings::Failing},
        {"non-ascii", Strings::NonAscii}, {"invalid-utf16", Strings::InvalidUtf16}};
    const auto found = kKinds.find(value);
    if (found == kKinds.end()) return false;
    d.strings = found->second;
    return true;
}

bool setReenumeration(tKeyboardDescription& d, std::string_view value) {
    if (value == "never") {
        d.reenumerationMs.reset();
        return true;
    }
    const auto number = parseNumber(value);
    if (!number || *number > 0xFFFFFFFF) return false;
    d.reenumerationMs = static_cast<std::uint32_t>(*number);
    return true;
}

bool setAfterClose(tKeyboardDescription& d, std::string_view value) {
    using AfterClose = tKeyboardDescription::AfterClose;
    static const std::map<std::string_view, AfterClose> kKinds = {
        {"new-revision", AfterClose::NewRevision}, {"old-revision", AfterClose::OldRevision},
        {"never", AfterClose::Never}};
    const auto found = kKinds.find(value);
    if (found == kKinds.end()) return false;
    d.afterClose = found->second;
    return true;
}

bool setManifestationFault(tKeyboardDescription& d, std::string_view value) {
    using Fault = tKeyboardDescription::ManifestationFault;
    static const std::map<std::string_view, Fault> kKinds = {
        {"none", Fault::None}, {"remove", Fault::Remove}, {"hang", Fault::Hang}};
    const auto found = kKinds.find(value);
    if (found == kKinds.end()) return false;
    d.manifestationFault = found->second;
    return true;
}

bool addExtraPath(tKeyboardDescription& d, std::string_view value) {
    d.extraPaths.emplace_back(value.begin(), value.end());
    return true;
}

const std::map<std::string_view, tSetter>& getSetters() {
    using D = tKeyboardDescription;
    static const std::map<std::string_view, tSetter> kSetters = {
        {"model", setModel},
        {"release", numberSetter(&D::releaseNumber, 0xFFFF)},
        {"update-mode-release", numberSetter(&D::updateModeRelease, 0xFFFF)},
        {"serial", [](D& d, std::string_view v) { d.serialNumber = std::string(v); return !v.empty(); }},
        {"strings", setStrings},
        {"present", boolSetter(&D::present)},
        {"arrival-ms", numberSetter(&D::arrivalMs, 0xFFFFFFFF)},
        {"leave-ms", numberSetter(&D::leaveMs, 0xFFFFFFFF)},
        {"keyboards", numberSetter(&D::keyboardCount, 8, 1)},
        {"keyboards-in-update-mode", numberSetter(&D::keyboardsInUpdateMode, 8)},
        {"same-serial", boolSetter(&D::sameSerial)},
        {"extra-path", addExtraPath},
        {"switch-fails", boolSetter(&D::switchFails)},
        {"reenumeration-ms", setReenumeration},
        {"transfer-size", numberSetter(&D::transferSize, 0xFFFF)},
        {"manifestation-tolerant", boolSetter(&D::manifestationTolerant)},
        {"busy-ms", numberSetter(&D::busyMs, 0xFFFFFFFF)},
        {"poll-timeout-ms", numberSetter(&D::pollTimeoutMs, 0xFFFFFF)},
        {"busy-forever", boolSetter(&D::busyForever)},
        {"manifest-ms", numberSetter(&D::manifestMs, 0xFFFFFF)},
        {"remove-at-block", numberSetter(&D::removeAtBlock, 0xFFFF)},
        {"reject-block", numberSetter(&D::rejectAtBlock, 0xFFFF)},
        {"error-state-at-block", numberSetter(&D::errorStateAtBlock, 0xFFFF)},
        {"short-status-at-block", numberSetter(&D::shortStatusAtBlock, 0xFFFF)},
        {"hang-at-block", numberSetter(&D::hangAtBlock, 0xFFFF)},
        {"manifestation-fault", setManifestationFault},
        {"after-close", setAfterClose},
        {"return-ms", numberSetter(&D::returnMs, 0xFFFFFFFF)},
        {"trace-requests", boolSetter(&D::traceRequests)},
    };
    return kSetters;
}

// One "key = value" line into the description; false with `error` set when it is bad.
bool parseLine(std::string_view line, tKeyboardDescription& description, const std::string& where,
               std::string& error) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
        error = where + "expected key = value";
        return false;
    }
    const auto key = trim(line.substr(0, equals));
    const auto value = trim(line.substr(equals + 1));
    const auto setter = getSetters().find(key);
    if (setter == getSetters().end()) {
        error = where + "unknown key '" + std::string(key) + "'";
        return false;
    }
    if (!setter->second(description, value)) {
        error = where + "bad value '" + std::string(value) + "' for '" + std::string(key) + "'";
        return false;
    }
    return true;
}

std::optional<std::vector<tKeyboardDescription>> parseDescriptions(std::string_view text, bool several,
                                                                  std::string& error) {
    std::vector<tKeyboardDescription> descriptions(1);
    int lineNumber = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        // Device paths hold '#', so only whole lines are comments.
        line = trim(line);
        if (line.empty() || line.front() == '#') continue;
        const auto where = "line " + std::to_string(lineNumber) + ": ";
        if (line == kNextKeyboard && several) {
            descriptions.emplace_back();
            continue;
        }
        if (!parseLine(line, descriptions.back(), where, error)) return std::nullopt;
    }
    return descriptions;
}

}  // namespace

std::optional<tKeyboardDescription> parseKeyboardDescription(std::string_view text, std::string& error) {
    auto descriptions = parseDescriptions(text, false, error);
    if (!descriptions) return std::nullopt;
    return std::move(descriptions->front());
}

std::optional<std::vector<tKeyboardDescription>> parseKeyboardDescriptions(std::string_view text,
                                                                           std::string& error) {
    return parseDescriptions(text, true, error);
}

std::optional<std::vector<tKeyboardDescription>> loadKeyboardDescriptions(const std::string& fileName,
                                                                          std::string& error) {
    std::ifstream file(fileName, std::ios::binary);
    if (!file) {
        error = "cannot read " + fileName;
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return parseKeyboardDescriptions(text.str(), error);
}

}  // namespace QX::NHL2
