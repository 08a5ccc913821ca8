#pragma once
#include <windows.h>

#include "uia/EventTimerManager.h"

namespace QX::UIA {

// Drives a timer manager from one system thread timer; its ticks arrive
// through the message loop of the thread that started it.
class EventTimerManagerWinBridge : public AbstractEventTimerManagerOsBridge {
public:
    explicit EventTimerManagerWinBridge(EventTimerManager& manager);
    ~EventTimerManagerWinBridge() override;

    void startTimer(std::int32_t periodMs) override;
    void stopTimer() override;
    bool isRunning() const { return timerId_ != 0; }
    EventTimerManager& getManager() const { return manager_; }

    static void CALLBACK timerProc(HWND window, UINT message, UINT_PTR timerId, DWORD time);

private:
    EventTimerManager& manager_;
    UINT_PTR timerId_ = 0;
};

}  // namespace QX::UIA
