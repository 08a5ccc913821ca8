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

struct InstanceState {
    std::string id;
    // Held for the life of the process: whoever creates it first is the
    // first instance. Finding a window and then creating one is not atomic.
    HANDLE instanceMutex = nullptr;
    bool otherInstanceRunning = false;
    // The instance that held the program for the whole wait had no main
    // window to bring to the front: still starting, or ending without it.
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
    return true;
}

HWND findMarkerWindow(const std::u16string& id) {
    return FindWindowExW(HWND_MESSAGE, nullptr, nullptr, id.c_str());
}

void findOrCreateMarkerWindow(InstanceState& state) {
    const std::u16string id = GP::utf8ToWide(state.id);
    // The running instance's marker window is followed while this start waits.
    if (!takeInstance(state, id)) state.otherInstanceRunning = true;
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

void bringToFront(HWND window) {
    if (IsIconic(window) || !IsWindowVisible(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
}

// A window found may be closing: its thread may be busy with the close (a
// question answered, work still to stop) and destroy it right after. The
// window counts as brought to the front when it is still there and visible
// once its thread has answered a message sent after it was raised: by then a
// close under way has run its course, and the raise too. A thread that does
// not answer within the wait leaves the window as it is on the screen.
bool staysInFront(HWND window, DWORD timeoutMs) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &answer);
    return IsWindow(window) && IsWindowVisible(window);
}

enum class WaitOutcome { Raised, BecameFirst, ShowsNoWindow };

// The instance waited for, told apart from one that takes its place by its
// marker window (null until one is seen), and when its wait ends.
struct Holder {
    HWND marker = nullptr;
    ULONGLONG deadline = 0;
};

// The wait starts afresh for an instance this start has not dealt with yet,
// known by its marker window (null: none yet), and it is handed the path: the
// one before never had it, or ended with it.
void waitFor(Holder& holder, HWND marker, const InstanceState& state, bool handsPathOver) {
    holder.marker = marker;
    holder.deadline = GetTickCount64() + state.otherInstanceWaitMs;
    if (marker != nullptr && handsPathOver) sendFirstArgument(marker);
}

// A marker window not seen before belongs to an instance this start has not
// dealt with yet: the running one, which may make its marker late, or a start
// that took the place of one that ended.
void followHolder(Holder& holder, const InstanceState& state, const std::u16string& id, bool handsPathOver) {
    HWND marker = findMarkerWindow(id);
    if (marker != nullptr && marker != holder.marker) waitFor(holder, marker, state, handsPathOver);
}

// The wait has run out, with no window brought to the front and the instance
// not taken. The look at the marker before may be out of date: the instance
// waited for may have ended since, and a start that takes its place takes the
// instance first and makes its marker after. So the marker is looked at once
// more: when it is still the one followed, that instance held the program
// for the whole wait; whoever else holds it now gets a wait of its own (with
// no marker yet: one still to come). Each new wait takes a marker gone or
// made, an instance ending or starting, so the waits come to an end.
bool stillHeldByTheOneWaitedFor(Holder& holder, const InstanceState& state, const std::u16string& id,
                                bool handsPathOver) {
    HWND marker = findMarkerWindow(id);
    if (marker == holder.marker) return true;
    waitFor(holder, marker, state, handsPathOver);
    return false;
}

DWORD remainingMs(const Holder& holder) {
    const ULONGLONG now = GetTickCount64();
    return now < holder.deadline ? DWORD(holder.deadline - now) : 0;
}

// The running instance may show no main window for a while: it is starting,
// or it is ending (its window closing or gone while it finishes work, or its
// process gone while the system has not yet let go of it). Waits, up to a
// bound, for its window, or for its end, when this process takes its place.
WaitOutcome waitForMainWindowOrEnd(InstanceState& state, const char* title, bool handsPathOver) {
    const std::u16string id = GP::utf8ToWide(state.id);
    Holder holder{nullptr, GetTickCount64() + state.otherInstanceWaitMs};
    for (;;) {
        HWND window = findMainWindow(title);
        // Looked for after the window: an instance makes its marker first, so
        // the one whose window was found is handed the path before the raise.
        followHolder(holder, state, id, handsPathOver);
        if (window != nullptr) {
            bringToFront(window);
            if (staysInFront(window, std::max(remainingMs(holder), kOtherInstancePollMs)))
                return WaitOutcome::Raised;
        } else if (takeInstance(state, id)) {
            return WaitOutcome::BecameFirst;
        }
        if (remainingMs(holder) == 0 && stillHeldByTheOneWaitedFor(holder, state, id, handsPathOver))
            return WaitOutcome::ShowsNoWindow;
        Sleep(kOtherInstancePollMs);
    }
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
    const bool handsPathOver = hasArguments();
    if (!handsPathOver && allowSecondInstance == 1) return false;
    switch (waitForMainWindowOrEnd(state, application->getTitle(), handsPathOver)) {
    case WaitOutcome::BecameFirst: return false;
    case WaitOutcome::ShowsNoWindow: state.otherShowsNoWindow = true; return true;
    case WaitOutcome::Raised: break;
    }
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
