#include "engine/HVXMK2UpdaterUpgradeLogic.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "engine/FirmwareEntry.h"
#include "gp/Trace.h"
#include "nhl2/ProductDataBase.h"
#include "nhl2/USBDevice.h"
#include "nhl2/USBDeviceFactory.h"

namespace QX {
namespace {

constexpr const char* kTraceTag = "HVXMK2UpdaterUpgradeLogic";
// What the updater shows as the carried revision when no keyboard is there.
constexpr std::uint16_t kRevisionWithoutDevice = 0x0059;
constexpr const char* kUnknownRevision = "-";

}  // namespace

HVXMK2UpdaterUpgradeLogic::HVXMK2UpdaterUpgradeLogic()
    : HVXMK2UpdaterUpgradeLogic(NHL2::createUSBDriver(NHL2::getSystemClock()), NHL2::getSystemClock()) {}

HVXMK2UpdaterUpgradeLogic::HVXMK2UpdaterUpgradeLogic(std::shared_ptr<NHL2::IUSBDriver> driver,
                                                     std::shared_ptr<NHL2::IClock> clock)
    : driver_(std::move(driver)), clock_(std::move(clock)), device_(driver_, clock_) {}

HVXMK2UpdaterUpgradeLogic::~HVXMK2UpdaterUpgradeLogic() {
    waitForWorker();
    device_.close();
}

NHL2::USBDeviceFilter HVXMK2UpdaterUpgradeLogic::makeKeyboardFilter() {
    return NHL2::makeKeyboardFilter(NHL2::ProductMode::Normal);
}

NHL2::USBDeviceFilter HVXMK2UpdaterUpgradeLogic::makeUpdateModeFilter() {
    return NHL2::makeKeyboardFilter(NHL2::ProductMode::Update);
}

void HVXMK2UpdaterUpgradeLogic::resetDevice() {
    device_.close();
    mode_ = kModeNone;
    transferSize_ = 0;
    readAsOlder_ = false;
}

bool HVXMK2UpdaterUpgradeLogic::findDevice() {
    if (deviceWithWorker_) return false;
    resetDevice();
    if (!isUpdatedKeyboardKnown()) return false;
    if (openKeyboard(makeUpdateModeFilter()) && takeUpdateModeDevice()) {
        readAsOlder_ = true;  // whatever it ran before, it now needs the update
    } else if (openKeyboard(makeKeyboardFilter())) {
        mode_ = kModeNormal;
    } else {
        resetDevice();
        return false;
    }
    // The wizard shows this keyboard's page next; what the user confirmed
    // before was another page, and the keyboards in update mode before that
    // switch no longer tell this one's twins apart.
    confirmed_.reset();
    return true;
}

// After an update, whether the updated keyboard can still be told from the
// others at all; each refusal says which rule refused it.
bool HVXMK2UpdaterUpgradeLogic::isUpdatedKeyboardKnown() {
    if (updateUnconfirmed_) {
        QX::GP::traceFormat(kTraceTag,
                            "the check after the update takes no keyboard: another keyboard told the updated "
                            "keyboard's serial number while that one was in update mode\n");
        return false;
    }
    if (!updated_ || !updated_->serialNumber.empty()) return true;
    const std::size_t count = countKeyboards();
    if (count > 1) {
        QX::GP::traceFormat(kTraceTag,
                            "the check after the update takes no keyboard: the updated keyboard tells no serial "
                            "number, and %zu keyboards are connected\n",
                            count);
        return false;
    }
    return true;
}

bool HVXMK2UpdaterUpgradeLogic::openKeyboard(const NHL2::USBDeviceFilter& filter) {
    if (updated_) return openUpdatedKeyboard(filter);
    const NHL2::USBDeviceFactory factory(driver_);
    for (const auto& handle : factory.enumerateDevices(filter)) {
        if (!device_.open(handle)) continue;
        const auto& info = device_.getInfo();
        if (filter.matches(info.vendorId, info.productId)) return true;
    }
    device_.close();
    return false;
}

// The updated keyboard is known by its model and serial number (or by
// telling none, as it did): a keyboard that tells another is not it, and of
// two that tell it neither can be taken for it.
bool HVXMK2UpdaterUpgradeLogic::openUpdatedKeyboard(const NHL2::USBDeviceFilter& filter) {
    auto candidates = listKeyboards(filter);
    std::erase_if(candidates,
                  [&](const tCandidate& candidate) { return tKeyboardIdentity::of(candidate.info) != *updated_; });
    if (candidates.size() > 1) {
        QX::GP::traceFormat(kTraceTag,
                            "the check after the update takes no keyboard: %zu keyboards tell the updated "
                            "keyboard's serial number \"%s\"\n",
                            candidates.size(), updated_->serialNumber.c_str());
    }
    if (candidates.size() != 1 || !openCandidate(candidates.front(), filter)) {
        device_.close();
        return false;
    }
    return true;
}

// Keyboards in normal and in update mode.
std::size_t HVXMK2UpdaterUpgradeLogic::countKeyboards() const {
    const NHL2::USBDeviceFactory factory(driver_);
    return factory.enumerateDevices(makeKeyboardFilter()).size() +
           factory.enumerateDevices(makeUpdateModeFilter()).size();
}

// Whether a keyboard of the filter, other than those at the paths told
// apart, tells the serial number.
bool HVXMK2UpdaterUpgradeLogic::hasTwin(const NHL2::USBDeviceFilter& filter, const std::string& serialNumber,
                                        const std::vector<std::u16string>& pathsToldApart) const {
    NHL2::USBDevice other(driver_, clock_);
    for (const auto& handle : NHL2::USBDeviceFactory(driver_).enumerateDevices(filter)) {
        const bool toldApart =
            std::find(pathsToldApart.begin(), pathsToldApart.end(), handle.devicePath) != pathsToldApart.end();
        if (toldApart || !other.open(handle)) continue;
        const auto& info = other.getInfo();
        if (filter.matches(info.vendorId, info.productId) && info.serialNumber == serialNumber) return true;
    }
    return false;
}

// Another keyboard in normal mode that tells the same serial number (or none,
// like this one) could not be told from this one once it is back from the
// update: either might then be read as the updated one.
bool HVXMK2UpdaterUpgradeLogic::hasTwinInNormalMode(const std::string& serialNumber,
                                                    const std::u16string& ownPath) const {
    return hasTwin(makeKeyboardFilter(), serialNumber, {ownPath});
}

// Of two keyboards in update mode that tell one serial number, either might
// be the one the user means. One that was there before our switch is told
// apart by its path, which it keeps while it stays in update mode.
bool HVXMK2UpdaterUpgradeLogic::hasTwinInUpdateMode(const std::string& serialNumber,
                                                    const std::u16string& ownPath) const {
    std::vector<std::u16string> pathsToldApart{ownPath};
    if (confirmed_) {
        const auto& before = confirmed_->getUpdateModePathsBefore();
        pathsToldApart.insert(pathsToldApart.end(), before.begin(), before.end());
    }
    return hasTwin(makeUpdateModeFilter(), serialNumber, pathsToldApart);
}

// Decided before anything is sent to the open keyboard: after the update the
// check must be able to tell it from every other keyboard, and in update mode
// the keyboard written must be the one the user means.
bool HVXMK2UpdaterUpgradeLogic::canBeToldApart() const {
    const auto& serialNumber = device_.getInfo().serialNumber;
    const auto& ownPath = device_.getHandle().devicePath;
    if (hasTwinInNormalMode(serialNumber, ownPath) ||
        (mode_ == kModeUpdate && hasTwinInUpdateMode(serialNumber, ownPath))) {
        QX::GP::traceFormat(kTraceTag,
                            "another keyboard tells the serial number \"%s\": the updated one could not be told "
                            "from it; no update\n",
                            serialNumber.c_str());
        return false;
    }
    if (serialNumber.empty() && countKeyboards() != 1) {
        QX::GP::traceFormat(kTraceTag,
                            "the keyboard tells no serial number and is not the only keyboard connected: the "
                            "updated one could not be told from the others; no update\n");
        return false;
    }
    return true;
}

bool HVXMK2UpdaterUpgradeLogic::takeUpdateModeDevice() {
    if (device_.getTransferSize() == 0) {
        QX::GP::traceFormat(kTraceTag, "the device in update mode reports no transfer size\n");
        resetDevice();
        return false;
    }
    transferSize_ = device_.getTransferSize();
    mode_ = kModeUpdate;
    return true;
}

// Opens each device of the filter; the last one that opened stays open.
std::vector<HVXMK2UpdaterUpgradeLogic::tCandidate> HVXMK2UpdaterUpgradeLogic::listKeyboards(
    const NHL2::USBDeviceFilter& filter) {
    const NHL2::USBDeviceFactory factory(driver_);
    std::vector<tCandidate> candidates;
    for (const auto& handle : factory.enumerateDevices(filter)) {
        if (!device_.open(handle)) continue;
        const auto& info = device_.getInfo();
        if (filter.matches(info.vendorId, info.productId)) candidates.push_back({handle, info});
    }
    return candidates;
}

bool HVXMK2UpdaterUpgradeLogic::openCandidate(const tCandidate& candidate, const NHL2::USBDeviceFilter& filter) {
    if (device_.isOpen() && device_.getHandle().devicePath == candidate.handle.devicePath) return true;
    if (!device_.open(candidate.handle)) return false;
    const auto& info = device_.getInfo();
    return filter.matches(info.vendorId, info.productId) &&
           tKeyboardIdentity::of(info) == tKeyboardIdentity::of(candidate.info);
}

// Attaches to the confirmed keyboard in update mode (see
// ConfirmedKeyboard::recognises). Keyboards that look like it and cannot be
// told apart are refused.
HVXMK2UpdaterUpgradeLogic::Attach HVXMK2UpdaterUpgradeLogic::attachInUpdateMode(bool whileSwitching) {
    if (!confirmed_) return Attach::NotThere;
    const auto filter = makeUpdateModeFilter();
    resetDevice();
    auto candidates = listKeyboards(filter);
    std::erase_if(candidates, [&](const tCandidate& candidate) {
        return !confirmed_->looksLike(candidate.info, candidate.handle.devicePath);
    });
    if (candidates.size() > 1) {
        QX::GP::traceFormat(kTraceTag, "%zu keyboards in update mode cannot be told apart\n",
                            candidates.size());
        resetDevice();
        return Attach::NotToldApart;
    }
    if (candidates.empty() ||
        !confirmed_->recognises(candidates.front().info, candidates.front().handle.devicePath, whileSwitching) ||
        !openCandidate(candidates.front(), filter)) {
        resetDevice();
        return Attach::NotThere;
    }
    if (!takeUpdateModeDevice()) return Attach::Unusable;
    confirmed_->noteBackAt(device_.getHandle().devicePath);
    return Attach::Attached;
}

// The user's UPDATE confirms the keyboard the page shows: the open one, as
// getDeviceInfo read it.
void HVXMK2UpdaterUpgradeLogic::confirmOpenKeyboard() {
    confirmed_.emplace(device_.getInfo(), device_.getHandle().devicePath, mode_ == kModeUpdate, readAsOlder_);
}

bool HVXMK2UpdaterUpgradeLogic::isConfirmedKeyboardOpen() const {
    return confirmed_ && device_.isOpen() && mode_ == kModeUpdate &&
           confirmed_->recognises(device_.getInfo(), device_.getHandle().devicePath, false);
}

// The one rule that every download passes: firmware goes only into the
// keyboard the user confirmed, as its page showed it or proven back in update
// mode after our switch, and only while it can be told from every other
// keyboard (the check after the update must find it again).
bool HVXMK2UpdaterUpgradeLogic::mayWrite() const { return isConfirmedKeyboardOpen() && canBeToldApart(); }

HVXMK2UpdaterUpgradeLogic::SwitchResult HVXMK2UpdaterUpgradeLogic::enterUpdateMode() {
    if (deviceWithWorker_ || !device_.isOpen()) return SwitchResult::Failed;
    // A keyboard proven back in update mode keeps what was confirmed of it.
    if (!isConfirmedKeyboardOpen()) confirmOpenKeyboard();
    if (!canBeToldApart()) return SwitchResult::CannotBeToldApart;
    if (mode_ == kModeUpdate) return SwitchResult::Switched;
    std::vector<std::u16string> pathsBefore;
    for (auto& handle : NHL2::USBDeviceFactory(driver_).enumerateDevices(makeUpdateModeFilter()))
        pathsBefore.push_back(std::move(handle.devicePath));
    if (!device_.switchToUpdateMode()) return SwitchResult::Failed;
    confirmed_->noteSwitch(std::move(pathsBefore));
    // The keyboard leaves the bus and comes back with its update-mode id.
    resetDevice();
    const std::uint64_t deadline = clock_->getMilliseconds() + kReattachTimeoutMs;
    for (;;) {
        const Attach attach = attachInUpdateMode(true);
        if (attach == Attach::Attached) return SwitchResult::Switched;
        if (attach == Attach::NotToldApart) return SwitchResult::CannotBeToldApart;
        if (attach == Attach::Unusable || clock_->getMilliseconds() >= deadline) return SwitchResult::Failed;
        clock_->sleepMilliseconds(kReattachPollMs);
    }
}

HVXMK2UpdaterUpgradeLogic::SwitchResult HVXMK2UpdaterUpgradeLogic::isDeviceReady() {
    if (deviceWithWorker_) return SwitchResult::Failed;
    if (!device_.isOpen()) {
        const Attach attach = attachInUpdateMode(false);
        if (attach == Attach::NotToldApart) return SwitchResult::CannotBeToldApart;
        if (attach != Attach::Attached) return SwitchResult::Failed;
    }
    if (!canBeToldApart()) return SwitchResult::CannotBeToldApart;
    return isConfirmedKeyboardOpen() ? SwitchResult::Switched : SwitchResult::Failed;
}

bool HVXMK2UpdaterUpgradeLogic::startUpdate(const tResultCell& result) {
    if (!result) throw std::invalid_argument("startUpdate needs a result cell");
    // The one worker of an earlier update must have ended: it used the device.
    const bool earlierWorkerRunning = worker_.joinable() && !worker_.timedJoin(0);
    // Refused at once, so that the user learns it now; the worker asks again
    // right before the download.
    if (earlierWorkerRunning || !mayWrite()) {
        result->store(kResultNoDevice);
        return false;
    }
    result->store(kResultRunning);
    deviceWithWorker_ = true;
    try {
        worker_.start([this, result] { runUpdate(result); });
    } catch (...) {
        deviceWithWorker_ = false;
        throw;
    }
    return true;
}

void HVXMK2UpdaterUpgradeLogic::runUpdate(const tResultCell& result) {
    std::int32_t outcome = kResultDownloadFailed;
    try {
        outcome = performUpdate();
    } catch (const std::exception& error) {
        QX::GP::traceFormat(kTraceTag, "update failed: %s\n", error.what());
        deviceWithWorker_ = false;
    }
    // The trace shows when the outcome was ready, so that a wizard that
    // never takes it is plain to see.
    QX::GP::traceFormat(kTraceTag, "update worker done: outcome %d\n", int(outcome));
    result->store(outcome);
}

std::int32_t HVXMK2UpdaterUpgradeLogic::performUpdate() {
    // The last look before the download: a twin may have come since the switch.
    const FirmwareEntry* entry = mayWrite() ? findFirmwareEntry(device_.getInfo().productId) : nullptr;
    if (!entry) {
        deviceWithWorker_ = false;
        return kResultNoDevice;
    }
    // Served: the next update needs the user's word again.
    const bool needsUpdate = std::exchange(confirmed_, std::nullopt)->needsUpdate();
    // The check after the update looks for this keyboard, not for any.
    updated_ = tKeyboardIdentity::of(device_.getInfo());
    updateUnconfirmed_ = false;
    const std::int32_t outcome = needsUpdate ? downloadFirmware(*entry) : kResultSuccess;
    if (outcome == kResultSuccess) lookForLateTwin();
    if (mode_ != kModeNormal) device_.sendClosingRequest();
    resetDevice();
    // Closed: the UI thread may take the device again while the keyboard settles.
    deviceWithWorker_ = false;
    clock_->sleepMilliseconds(kSettleTimeMs);
    return outcome;
}

// While the updated keyboard is still in update mode, a keyboard in normal mode
// that tells its serial number cannot be it: one that arrived during the
// update, which the check after the update would take for the updated one
// while that one is slow to come back. The last look before the closing
// request; one that arrives after it is not seen.
void HVXMK2UpdaterUpgradeLogic::lookForLateTwin() {
    if (!hasTwinInNormalMode(updated_->serialNumber, device_.getHandle().devicePath)) return;
    QX::GP::traceFormat(kTraceTag,
                        "a keyboard in normal mode tells the updated keyboard's serial number \"%s\" while that one "
                        "is still in update mode: the update cannot be confirmed\n",
                        updated_->serialNumber.c_str());
    updateUnconfirmed_ = true;
}

std::int32_t HVXMK2UpdaterUpgradeLogic::downloadFirmware(const FirmwareEntry& entry) {
    const auto result = device_.download(entry.images[0].getBytes());
    if (result == NHL2::DFUDevice::DownloadResult::Success) return kResultSuccess;
    QX::GP::traceFormat(kTraceTag, "firmware download failed: %s\n",
                        NHL2::getDownloadResultName(result).data());
    device_.abort();  // the closing request follows either way
    return kResultDownloadFailed;
}

void HVXMK2UpdaterUpgradeLogic::getDeviceInfo(NHL2::USBDeviceInfo& info, std::string& installed,
                                              std::string& newest, bool& updateAvailable) {
    if (deviceWithWorker_) return;  // what the caller was told before stands
    if (!device_.isOpen()) {
        newest = formatRevision(kRevisionWithoutDevice);
        info.releaseNumber = 0;
        updateAvailable = false;
        return;
    }
    info = device_.getInfo();
    // In update mode the keyboard cannot tell its firmware's revision.
    const bool inUpdateMode = mode_ == kModeUpdate;
    installed = inUpdateMode ? std::string(kUnknownRevision) : formatRevision(info.releaseNumber);
    const FirmwareEntry* entry = findFirmwareEntry(info.productId);
    if (!entry) return;
    const std::uint16_t carried = entry->images[0].version;
    newest = formatRevision(carried);
    updateAvailable = inUpdateMode || info.releaseNumber < carried;
    readAsOlder_ = updateAvailable;
}

bool HVXMK2UpdaterUpgradeLogic::isUpdateRunning() {
    if (!worker_.joinable()) return false;
    return !worker_.timedJoin(kWorkerJoinTimeoutMs);
}

void HVXMK2UpdaterUpgradeLogic::stopWorker() {
    if (worker_.joinable()) worker_.timedJoin(kWorkerJoinTimeoutMs);
}

void HVXMK2UpdaterUpgradeLogic::waitForWorker() {
    if (worker_.joinable()) worker_.join();
}

}  // namespace QX
