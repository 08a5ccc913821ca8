#pragma once
#include <cstdint>
#include <functional>

namespace QX::UIA {

class AppModule;

// What the runner and the module need of an application.
class IApplication {
public:
    virtual ~IApplication() = default;
    virtual void setModule(AppModule* module) = 0;
    // Runs the UI thread's message loop until the quit message.
    virtual int runMessageLoop() = 0;
    virtual bool initialize() = 0;
    virtual void shutdown(int exitCode) = 0;
    virtual bool requestQuit() = 0;
    // Queues a callback for the UI thread; any thread may call it.
    virtual void postToMainThread(std::function<void()> callback) = 0;
    virtual void setTimerPeriod(std::int32_t periodMs) = 0;
    virtual std::int32_t getTimerPeriod() const = 0;
};

}  // namespace QX::UIA
