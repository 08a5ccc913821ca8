#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "uia/AcceleratorManager.h"
#include "uia/EventTarget.h"
#include "uia/EventTimerManager.h"
#include "uia/HMenu.h"
#include "uia/IApplication.h"

namespace QX::UIA {

class AppModule;
class InternalWindow;
class WindowBase;

// The base of a program's application object: owns what the whole user
// interface shares (title, main window, quit flag, menu bar, accelerators,
// timers, the queue of calls for the UI thread), runs the UI thread's message
// loop and turns the quit command into a vetoable quit request.
class Application : public EventTarget, public IApplication {
public:
    // Also installs the windowing drag-and-drop delegate and creates the
    // internal window; the timer manager becomes the current one.
    Application();
    ~Application() override;

    // The application attached to the registered module, or null.
    static Application* getInstance();

    void setModule(AppModule* module) override { module_ = module; }
    AppModule* getModule() const { return module_; }

    // Ends when the quit message arrives; answers 0.
    int runMessageLoop() override;
    // Fills the monitor cache.
    bool initialize() override;
    // Empties the monitor cache; safe to run twice.
    void shutdown(int exitCode) override;
    // Decides to quit (no veto) and posts the quit command to the main window.
    bool requestQuit() override;
    // Any thread; does nothing when the internal window could not be made.
    void postToMainThread(std::function<void()> callback) override;
    void setTimerPeriod(std::int32_t periodMs) override { timerManager_.setPeriod(periodMs); }
    std::int32_t getTimerPeriod() const override { return timerManager_.getPeriod(); }

    // Dispatches with the main window as context.
    bool sendEvent(std::uint32_t eventId, void* data) override;
    virtual const char* getApplicationKind() const { return "Standalone"; }
    virtual std::uint64_t getZero64() const { return 0; }
    virtual std::string getEmptyString() const { return {}; }
    // Hands the event to onEvent; the context is for derived applications.
    virtual bool dispatchEvent(std::uint32_t eventId, void* data, WindowBase* context);
    // The system suspends and resumes; the native windows call these.
    virtual void onSuspend() {}
    virtual void onResume() {}

    // Null stores the empty title.
    void setTitle(const char* title) { title_ = title ? title : ""; }
    const char* getTitle() const { return title_.c_str(); }
    void setMainWindow(WindowBase* window) { mainWindow_ = window; }
    WindowBase* getMainWindow() const { return mainWindow_; }
    HMenuBar& getMenuBar() { return menuBar_; }
    AcceleratorManagerImpl* getAcceleratorManager() const { return acceleratorManager_.get(); }
    EventTimerManager& getTimerManager() { return timerManager_; }
    InternalWindow* getInternalWindow() const { return internalWindow_.get(); }
    bool isQuitting() const { return quitting_; }
    // When set, windows follow the system's DPI changes; never set here.
    bool isDpiChangeEnabled() const { return dpiChangeEnabled_; }

protected:
    // Handles the quit command: asks itself the quit request (a derived
    // handler may veto) and, when allowed, destroys the main window and
    // decides to quit.
    bool onEvent(std::uint32_t eventId, void* data) override;

private:
    // Owns the internal window through a deleter that the platform fixes
    // where it makes the window, so that this side never needs its type.
    using InternalWindowOwner = std::unique_ptr<InternalWindow, void (*)(InternalWindow*)>;

    bool handleQuitCommand();

    // The platform's part: makes the internal window (null when it cannot be
    // made) and posts a command to the main window's native window through it.
    static InternalWindowOwner makeInternalWindow(Application& application);
    void postCommandToMainWindow(std::uint32_t command);

    AppModule* module_ = nullptr;
    std::string title_;
    WindowBase* mainWindow_ = nullptr;
    bool quitting_ = false;
    bool dpiChangeEnabled_ = false;
    HMenuBar menuBar_;
    std::unique_ptr<AcceleratorManagerImpl> acceleratorManager_;
    EventTimerManager timerManager_;
    // Made last and destroyed first: its window may still carry calls.
    InternalWindowOwner internalWindow_{nullptr, nullptr};
};

// The framework's host mode word: 0 for a standalone program, never changed
// here. Mode 1 consults the accelerators for key input.
std::uint32_t getHostMode();

namespace DETAIL {
// Program messages, before which the message loop catches starved timers up.
constexpr bool isProgramMessage(std::uint32_t message) { return message >= 0x400 && message <= 0x7FFF; }
}  // namespace DETAIL

}  // namespace QX::UIA
