#include "InternalWindow.h"

#include "GuardedCall.h"
#include "gp/Text.h"
#include "gp/Uuid.h"
#include "uia/Application.h"
#include "uia/Library.h"
#include "uia/MainWindowLink.h"
#include "uia/WindowImpl.h"

namespace QX::UIA {

namespace {

HINSTANCE getProgramInstance() { return GetModuleHandleW(nullptr); }

}  // namespace

InternalWindow::InternalWindow(Application& application) : application_(application) {
    loadDpiLibrary();
    createWindow();
}

InternalWindow::~InternalWindow() {
    if (window_)
        DestroyWindow(window_);
    freeLibrary(dpiLibrary_);
}

const std::u16string& InternalWindow::getWindowName() {
    static const std::u16string name =
        GP::utf8ToWide("UIA_InternalWindow_" + GP::uuidToString(GP::makeRandomUuid()));
    return name;
}

void InternalWindow::loadDpiLibrary() {
    dpiLibrary_ = loadLibrary("Shcore.dll");
    getDpiForMonitor_ =
        reinterpret_cast<GetDpiForMonitorFunction>(getProcAddress(dpiLibrary_, "GetDpiForMonitor"));
    setProcessDpiAwareness_ = reinterpret_cast<SetProcessDpiAwarenessFunction>(
        getProcAddress(dpiLibrary_, "SetProcessDpiAwareness"));
}

void InternalWindow::createWindow() {
    const std::u16string& name = getWindowName();
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &InternalWindow::windowProc;
    windowClass.hInstance = getProgramInstance();
    windowClass.lpszClassName = name.c_str();
    // The class stays registered for the process; a later application reuses it.
    if (!RegisterClassW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return;
    window_ = CreateWindowExW(0, name.c_str(), name.c_str(), 0, 0, 0, 0, 0, nullptr, nullptr,
                              getProgramInstance(), nullptr);
    if (window_)
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void InternalWindow::post(std::function<void()> callback) {
    {
        std::lock_guard lock(queueLock_);
        pending_.push_back(std::move(callback));
    }
    PostMessageW(window_, WM_USER, 0, 0);
}

void InternalWindow::postCommand(std::uint32_t command) {
    WindowBase* mainWindow = application_.getMainWindow();
    if (!mainWindow)
        return;
    // A main window without a native window posts to the thread's queue.
    PostMessageW(static_cast<HWND>(getNativeWindowHandle(*mainWindow)), WM_COMMAND, command, 0);
}

void InternalWindow::runPendingCallbacks() {
    // The batch is local: however the run ends (a callback may throw, or run
    // a nested message loop that starts the next batch) nothing of it stays
    // behind.
    std::vector<std::function<void()>> running;
    {
        std::lock_guard lock(queueLock_);
        running.swap(pending_);
    }
    for (auto& callback : running)
        callback();  // an empty callback throws std::bad_function_call
}

LRESULT InternalWindow::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        return TRUE;
    if (message == WM_USER) {
        if (auto* self = reinterpret_cast<InternalWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
            DETAIL::DeliveryScope delivery;
            self->runPendingCallbacks();
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK InternalWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DETAIL::callGuarded([&] { return handleMessage(window, message, wParam, lParam); });
}

}  // namespace QX::UIA
