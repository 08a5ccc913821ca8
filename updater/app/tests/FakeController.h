#pragma once
#include <cstdint>
#include <deque>
#include <string>

#include "updater/app/UpdaterDescription.h"

namespace QX::Testing {

// Answers the wizard's controller callbacks from fields a test sets, and
// counts the calls; no device, no thread.
struct FakeController {
    // Answers of findDevice in order; the last one repeats.
    std::deque<bool> findAnswers{true};
    bool enterAnswer = true;
    bool readyAnswer = false;
    bool startAnswer = true;
    std::uint16_t productId = 0x0A10;
    std::string serialNumber = "HVX49-000001";
    std::string installed = "0.5.8";
    std::string newest = "0.5.9";
    bool updateAvailable = true;

    int findCalls = 0;
    int enterCalls = 0;
    int startCalls = 0;
    UpdaterCallbacks::tResultCell cell;

    UpdaterCallbacks callbacks() {
        UpdaterCallbacks c;
        c.findDevice = [this] {
            ++findCalls;
            const bool answer = findAnswers.front();
            if (findAnswers.size() > 1) findAnswers.pop_front();
            return answer;
        };
        c.enterUpdateMode = [this] {
            ++enterCalls;
            return enterAnswer;
        };
        c.isDeviceReady = [this] { return readyAnswer; };
        c.startUpdate = [this](const UpdaterCallbacks::tResultCell& result) {
            ++startCalls;
            cell = result;
            if (!startAnswer) result->store(-1);
            return startAnswer;
        };
        c.getDeviceInfo = [this](NHL2::USBDeviceInfo& info, std::string& installedText, std::string& newestText,
                                 bool& available) {
            newestText = newest;
            info.productId = productId;
            info.serialNumber = serialNumber;
            installedText = installed;
            available = updateAvailable;
        };
        return c;
    }
};

}  // namespace QX::Testing
