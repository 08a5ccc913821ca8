#include "uia/EventTimerManager.h"

// The native build has no platform timer: the manager keeps its records and
// fires them only when its passes are called.
namespace QX::UIA {

EventTimerManager::EventTimerManager() : EventTimerManager(nullptr) {}

}  // namespace QX::UIA
