#include <cstdlib>

#include "gp/Trace.h"
#include "nhl2/USBDriver.h"
#include "nhl2/simulated/SimulatedKeyboard.h"

namespace QX::NHL2 {

std::shared_ptr<IUSBDriver> createUSBDriver(const std::shared_ptr<IClock>& clock) {
    const char* fileName = std::getenv(kSimulatedKeyboardVariable);
    if (!fileName || !*fileName) return createPlatformUSBDriver();
    std::string error;
    const auto descriptions = loadKeyboardDescriptions(fileName, error);
    if (!descriptions) {
        QX::GP::traceFormat("USBDriver", "%s: %s; using the real devices\n",
                            kSimulatedKeyboardVariable, error.c_str());
        return createPlatformUSBDriver();
    }
    return std::make_shared<SimulatedDriver>(*descriptions, clock);
}

}  // namespace QX::NHL2
