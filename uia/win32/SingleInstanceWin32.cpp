#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <string>

#include "gp/Path.h"
#include "gp/Text.h"
#include "uia/Application.h"
#include "uia/EventIds.h"
#include "uia/SingleInstance.h"
#include "GuardedCall.h"
#include "SingleInstanceWin32.h"

namespace QX::UIA {
namespace {

constexpr ULONG_PTR kPathDataWord = EventId::kPathFromSecondInstance;
// How often a second start looks again for a running instance that shows no
// main window.
constexpr DWORD kOtherInstancePollMs = 50;

struct InstanceState {
    std::string id;
    // Held for the life of the process: whoever creates it first is the
    // first instance. Finding a window and then creating one is not atomic.
    HANDLE instanceMutex = nullptr;
    HWND markerWindow = nullptr;
    bool otherInstanceRunning = false;
    // The running instance had no main window to bring to the front, also
    // after the wait: still starting, or ending without its window.
    bool otherShowsNoWindow = false;
    bool searched = false;
    DWORD otherInstanceWaitMs = kOtherInstanceWaitMs;
};

InstanceState& instanceState() {
    static InstanceState state;
    return state;
}

std::u16string makeMutexName(const std::u16string& id) {
    std::u16string name = id + u"-instance";
    std::replace(name.begin(), name.end(), u'\\', u'_');  // a separator in object names
    return name;
}

// Makes this process the first instance when no other holds the instance
// mutex; false while another one does.
bool takeInstance(InstanceState& state, const std::u16string& id) {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, makeMutexName(id).c_str());
    if (mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    state.instanceMutex = mutex;
    state.otherInstanceRunning = false;
    HWND marker = CreateWindowExW(0, u"STATIC", id.c_str(), 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (marker == nullptr) return true;
    SetWindowLongPtrW(marker, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(onCopyData));
    state.markerWindow = marker;
    return true;
}

void findOrCreateMarkerWindow(InstanceState& state) {
    const std::u16string id = GP::utf8ToWide(state.id);
    if (takeInstance(state, id)) return;
    // The first instance may not have made its marker window yet.
    state.markerWindow = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, id.c_str());
    state.otherInstanceRunning = true;
}

// Hands the first argument after the program's name to the running instance
// when it names something that exists.
void sendFirstArgument(HWND markerWindow) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) return;
    if (count >= 2) {
        const std::u16string argument = reinterpret_cast<const char16_t*>(arguments[1]);
        if (GP::Path(std::u16string_view(argument)).exists()) {
            COPYDATASTRUCT data{};
            data.dwData = kPathDataWord;
            data.cbData = DWORD((argument.size() + 1) * sizeof(char16_t));
            data.lpData = const_cast<char16_t*>(argument.c_str());
            SendMessageW(markerWindow, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
        }
    }
    LocalFree(arguments);
}

bool hasArguments() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments != nullptr) LocalFree(arguments);
    return count >= 2;
}

HWND findMainWindow(const char* title) {
    tWindowSearch search{title, nullptr};
    EnumWindows(findWindowByTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The running instance may show no main window for a while: it is starting,
// or it is ending (its window gone while it finishes work, or its process
// gone while the system has not yet let go of it). Waits, up to a bound, for
// its window or for its end, when this process takes its place.
HWND waitForMainWindowOrEnd(InstanceState& state, const char* title) {
    const std::u16string id = GP::utf8ToWide(state.id);
    const ULONGLONG deadline = GetTickCount64() + state.otherInstanceWaitMs;
    for (;;) {
        if (HWND window = findMainWindow(title)) return window;
        if (takeInstance(state, id) || GetTickCount64() >= deadline) return nullptr;
        Sleep(kOtherInstancePollMs);
    }
}

void bringToFront(HWND window) {
    if (IsIconic(window) || !IsWindowVisible(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
}

// The text of a copy-data record, read no further than its size says: any
// process may send one.
std::u16string boundedText(const COPYDATASTRUCT& data) {
    const auto* units = static_cast<const char16_t*>(data.lpData);
    const std::size_t capacity = data.cbData / sizeof(char16_t);
    std::size_t length = 0;
    while (length < capacity && units[length] != 0) ++length;
    return std::u16string(units, length);
}

LRESULT handleCopyData(LPARAM lParam);

bool acceptsPaths() {
    const std::uint32_t mode = getHostMode();
    return mode != 2 && mode != 5 && mode != 8;
}

}  // namespace

bool forwardToRunningInstance(const char* id, int allowSecondInstance) {
    InstanceState& state = instanceState();
    if (state.id.empty() && id != nullptr) state.id = id;
    Application* application = Application::getInstance();
    if (application == nullptr) return false;
    if (!state.searched) {
        state.searched = true;
        findOrCreateMarkerWindow(state);
    }
    if (!state.otherInstanceRunning) return false;
    if (!hasArguments()) {
        if (allowSecondInstance == 1) return false;
    } else if (state.markerWindow != nullptr) {
        sendFirstArgument(state.markerWindow);
    }
    HWND window = waitForMainWindowOrEnd(state, application->getTitle());
    if (window != nullptr) {
        bringToFront(window);
        return true;
    }
    if (!state.otherInstanceRunning) return false;  // it ended: this one is the first now
    state.otherShowsNoWindow = true;
    return true;
}

bool runningInstanceShowsNoWindow() { return instanceState().otherShowsNoWindow; }

LRESULT CALLBACK onCopyData(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COPYDATA) return DefWindowProcW(hwnd, message, wParam, lParam);
    return DETAIL::callGuarded([&] { return handleCopyData(lParam); });
}

namespace {

LRESULT handleCopyData(LPARAM lParam) {
    // Looked up on each message: the marker outlives the application that made it.
    Application* application = Application::getInstance();
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (application == nullptr || !acceptsPaths() || data == nullptr || data->lpData == nullptr ||
        data->cbData < sizeof(char16_t) || *static_cast<const char16_t*>(data->lpData) == 0)
        return 0;
    GP::Path path{std::u16string_view(boundedText(*data))};
    path.resolveFileType();
    if (!path.exists()) return 0;
    PathEventData event{&path};
    return application->sendEvent(EventId::kPathFromSecondInstance, &event) ? 1 : 0;
}

}  // namespace

BOOL CALLBACK findWindowByTitle(HWND hwnd, LPARAM lParam) {
    static char16_t title[512];
    if (GetWindowTextW(hwnd, title, 512) == 0) return TRUE;
    auto* search = reinterpret_cast<tWindowSearch*>(lParam);
    const std::string text = GP::wideToUtf8(title);
    if (search->title.empty() || GP::findString(text, search->title, 0, true) != search->title.size()) return TRUE;
    search->found = hwnd;
    return FALSE;
}

void resetSingleInstanceForTesting(DWORD otherInstanceWaitMs) {
    if (instanceState().instanceMutex != nullptr) CloseHandle(instanceState().instanceMutex);
    instanceState() = InstanceState{};
    instanceState().otherInstanceWaitMs = otherInstanceWaitMs;
}

}  // namespace QX::UIA
