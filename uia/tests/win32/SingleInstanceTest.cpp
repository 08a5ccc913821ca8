#include "WindowTestSupport.h"

#include <atomic>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <utility>

#include "gp/Path.h"
#include "gp/Text.h"
#include "uia/SingleInstance.h"
#include "ChildProcess.h"
#include "SingleInstanceWin32.h"

namespace QX::UIA::Test {
namespace {

constexpr char kInstanceId[] = "QX-window-tests-single-instance";
constexpr char16_t kInstanceIdW[] = u"QX-window-tests-single-instance";
constexpr char kTitle[] = "QX Instance Test Window";
constexpr char16_t kTitleW[] = u"QX Instance Test Window";
constexpr char16_t kMutexName[] = u"QX-window-tests-single-instance-instance";

HWND findMarker() { return FindWindowExW(HWND_MESSAGE, nullptr, nullptr, kInstanceIdW); }

// Whether the calling thread made a marker window: it became the first instance.
bool madeMarker() {
    for (HWND marker = findMarker(); marker != nullptr;
         marker = FindWindowExW(HWND_MESSAGE, marker, nullptr, kInstanceIdW))
        if (GetWindowThreadProcessId(marker, nullptr) == GetCurrentThreadId()) return true;
    return false;
}

// The marker window of an instance played by the test.
HWND makeMarker() {
    HWND marker = CreateWindowExW(0, u"STATIC", kInstanceIdW, 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(marker, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(onCopyData));
    return marker;
}

// Runs a second instance of this program that plays the child test below;
// the messages of this (first) instance are handled meanwhile, and
// `meanwhile` runs between them.
int runSecondInstance(const std::vector<std::string>& arguments, const char* mode,
                      const std::function<void()>& meanwhile = [] {}) {
    const int process = startTestProgram(arguments, {"GTEST_FILTER=SingleInstanceChild.*",
                                                     std::string("QX_SINGLE_INSTANCE_CHILD=") + mode});
    if (process < 0) return -1;
    int exitCode = -1;
    for (int waited = 0; waited < 60000 && !hasEnded(process, exitCode); waited += 20) {
        pumpMessages(20);
        meanwhile();
    }
    return exitCode;
}

// A top-level window of another instance played by a thread of this
// process. A second start reads the title of each window while it looks for
// the main window; this one counts those reads, and may go on with something
// on one: while the reader waits for the answer, or after it has been answered.
class WatchedWindow {
public:
    enum class Acts { WhileLooked, AfterLook };
    WatchedWindow(const char16_t* title, DWORD style, std::function<void(HWND)> onLook = {},
                  Acts acts = Acts::AfterLook)
        : handle_(CreateWindowExW(0, u"STATIC", title, style, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr)),
          onLook_(std::move(onLook)), acts_(acts) {
        SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        staticProcedure_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&procedure)));
    }
    ~WatchedWindow() {
        if (IsWindow(handle_)) DestroyWindow(handle_);
    }
    WatchedWindow(const WatchedWindow&) = delete;
    WatchedWindow& operator=(const WatchedWindow&) = delete;

    HWND handle() const { return handle_; }
    int looks() const { return looks_; }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<WatchedWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        const LRESULT answer = CallWindowProcW(self->staticProcedure_, window, message, wParam, lParam);
        if (message != WM_GETTEXT) return answer;
        ++self->looks_;
        if (self->onLook_) {
            if (self->acts_ == Acts::AfterLook) ReplyMessage(answer);  // the reader goes on meanwhile
            self->onLook_(window);
        }
        return answer;
    }

    HWND handle_;
    std::function<void(HWND)> onLook_;
    Acts acts_;
    WNDPROC staticProcedure_ = nullptr;
    int looks_ = 0;
};

// The procedure of a main window that hides whenever it is shown or activated,
// put over the static control's own, which the window's user data keeps.
LRESULT CALLBACK hidesAsItIsRaised(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto own = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_USERDATA));
    const LRESULT answer = CallWindowProcW(own, window, message, wParam, lParam);
    const bool raised = (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) ||
                        (message == WM_WINDOWPOSCHANGED && IsWindowVisible(window));
    if (raised) ShowWindow(window, SW_HIDE);
    return answer;
}

bool isSet(HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

std::string temporaryFile() {
    char16_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    std::u16string path = std::u16string(folder) + u"qx-instance-argument.txt";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
    return GP::utf16ToUtf8(path);
}

class SingleInstanceTest : public WindowTest {
protected:
    void TearDown() override {
        if (HWND marker = findMarker()) DestroyWindow(marker);
        resetSingleInstanceForTesting();
        pumpMessages(10);
    }
};

TEST_F(SingleInstanceTest, WithoutApplicationNothingHappens) {
    EXPECT_FALSE(forwardToRunningInstance(kInstanceId, 0));
    EXPECT_EQ(findMarker(), nullptr);
}

TEST_F(SingleInstanceTest, SecondProcessHandsItsArgumentOverAndRaisesTheFirst) {
    ScopedApplication scope;
    ASSERT_NE(&scope.get(), nullptr);
    TestApplication& application = scope.get();
    application.setTitle(kTitle);
    auto window = std::make_unique<RecordingWindow>();
    WindowOptions options = clientOptions(100, 100, 200, 120);
    options.setTitle("qx instance test window - document");  // begins with the title, other case
    ASSERT_TRUE(window->create(options));
    window->setVisible(true);
    window->impl()->minimize();
    pumpMessages(50);

    EXPECT_FALSE(forwardToRunningInstance(kInstanceId, 0));  // the first instance
    ASSERT_NE(findMarker(), nullptr);

    const std::string path = temporaryFile();
    EXPECT_EQ(runSecondInstance({path}, "0-forwarded"), 0);
    ASSERT_EQ(application.paths.size(), 1u);
    EXPECT_EQ(GP::Path(application.paths[0]).fileName(), "qx-instance-argument.txt");
    EXPECT_FALSE(IsIconic(window->hwnd()));
    EXPECT_EQ(GetForegroundWindow(), window->hwnd());

    // Without arguments: allowed to run, or handed over with nothing to send.
    EXPECT_EQ(runSecondInstance({}, "1-runs"), 0);
    EXPECT_EQ(runSecondInstance({}, "0-forwarded"), 0);
    EXPECT_EQ(runSecondInstance({"C:\\no\\such\\file.txt"}, "0-forwarded"), 0);
    EXPECT_EQ(application.paths.size(), 1u);

    // This instance shows no main window now and, once handed the path, gives
    // way to another one (its marker goes, another one comes), which shows the
    // window: that one is handed the path too, and its window comes to the front.
    SetWindowTextW(window->hwnd(), u"QX other window");
    window->impl()->minimize();
    HWND marker = findMarker();
    EXPECT_EQ(runSecondInstance({path}, "0-forwarded",
                                [&] {
                                    if (marker == nullptr || application.paths.size() < 2) return;
                                    DestroyWindow(std::exchange(marker, nullptr));
                                    makeMarker();
                                    SetWindowTextW(window->hwnd(), kTitleW);
                                }),
              0);
    EXPECT_EQ(application.paths.size(), 3u);
    EXPECT_FALSE(IsIconic(window->hwnd()));
    EXPECT_EQ(GetForegroundWindow(), window->hwnd());
    window.reset();
}

TEST_F(SingleInstanceTest, ReceiverReadsNoFurtherThanTheDataSize) {
    ScopedApplication scope;
    TestApplication& application = scope.get();
    EXPECT_FALSE(forwardToRunningInstance(kInstanceId, 0));
    HWND marker = findMarker();
    ASSERT_NE(marker, nullptr);

    char16_t folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    std::u16string unterminated = std::u16string(folder, length) + u"zzz-no-such-name";
    COPYDATASTRUCT data{};
    data.dwData = 10003;
    data.cbData = DWORD(length * sizeof(char16_t));
    data.lpData = unterminated.data();
    EXPECT_EQ(SendMessageW(marker, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 1);
    ASSERT_EQ(application.paths.size(), 1u);
    EXPECT_EQ(GP::utf8ToWide(application.paths[0]).size(), length);

    // Empty or refused data answers 0.
    char16_t empty[1] = {0};
    data.lpData = empty;
    data.cbData = sizeof empty;
    EXPECT_EQ(SendMessageW(marker, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 0);
    application.takePaths = false;
    data.lpData = unterminated.data();
    data.cbData = DWORD(length * sizeof(char16_t));
    EXPECT_EQ(SendMessageW(marker, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 0);
}

TEST_F(SingleInstanceTest, TitleMatchesFromItsStartIgnoringCase) {
    HWND inside = CreateWindowExW(0, u"STATIC", u"About QX Search Me", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    HWND start = CreateWindowExW(0, u"STATIC", u"qx search me - 2", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    tWindowSearch search{"QX Search Me", nullptr};
    EXPECT_TRUE(findWindowByTitle(inside, reinterpret_cast<LPARAM>(&search)));
    EXPECT_EQ(search.found, nullptr);
    EXPECT_FALSE(findWindowByTitle(start, reinterpret_cast<LPARAM>(&search)));
    EXPECT_EQ(search.found, start);
    DestroyWindow(inside);
    DestroyWindow(start);
}

// Another instance holds the instance but shows no main window: it is still
// starting (no marker window yet, even), or ending. A second start waits for
// its window or its end; when the wait runs out, it ends and can say why. The
// other instance is played by a thread, which acts once the second start has
// looked for the main window.
TEST_F(SingleInstanceTest, AnInstanceWithoutAWindowIsWaitedFor) {
    enum class Then {
        Nothing,
        ShowsItsWindow,
        Ends,
        ClosesItsWindowAndEnds,
        HidesItsWindowAsItIsRaised,
        GivesWayToAnother,
        GivesWayAsTheWaitRunsOut
    };
    enum class Outcome { Raised, BecameFirst, ShowsNoWindow };
    const struct {
        const char* name;
        Then then;
        DWORD waitMs;
        Outcome outcome;
    } cases[] = {
        {"no window within the wait", Then::Nothing, 200, Outcome::ShowsNoWindow},
        {"its window comes", Then::ShowsItsWindow, 10000, Outcome::Raised},
        {"it ends", Then::Ends, 10000, Outcome::BecameFirst},
        {"its window closes as it is brought to the front, then it ends", Then::ClosesItsWindowAndEnds, 10000,
         Outcome::BecameFirst},
        {"its window hides as it is brought to the front, each time", Then::HidesItsWindowAsItIsRaised, 1000,
         Outcome::ShowsNoWindow},
        {"another start takes its place and shows its window after the first one's wait", Then::GivesWayToAnother,
         3000, Outcome::Raised},
        {"it ends as the wait runs out; another start takes its place and makes its marker after the wait",
         Then::GivesWayAsTheWaitRunsOut, 3000, Outcome::Raised},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetSingleInstanceForTesting(c.waitMs);
        ScopedApplication scope;
        scope.get().setTitle(kTitle);
        HANDLE other = CreateMutexW(nullptr, FALSE, kMutexName);
        ASSERT_NE(other, nullptr);
        HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::atomic<HWND> shown{nullptr};
        // What the other instance did, for a failure's message; read once its thread has ended.
        const ULONGLONG start = GetTickCount64();
        std::string did;
        Win32Thread otherInstance([&] {
            const auto note = [&](const char* what) {
                did += "+" + std::to_string(GetTickCount64() - start) + " ms " + what + "; ";
            };
            // Answers what reaches this thread until `until` holds; false when the test is done first.
            const auto handleUntil = [&](const std::function<bool()>& until) {
                return pumpUntil([&] { return until() || isSet(done); }, 60000) && !isSet(done);
            };
            const auto showMainWindow = [&] {
                shown = CreateWindowExW(0, u"STATIC", kTitleW, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                        nullptr);
                note("shows its window");
            };
            // What this instance does while a look of the second start waits for its answer.
            std::function<void()> whileLooked;
            WatchedWindow lookout(  // no main window: its title is empty
                u"", WS_POPUP, [&](HWND) { if (whileLooked) whileLooked(); }, WatchedWindow::Acts::WhileLooked);
            switch (c.then) {
            case Then::Nothing: break;
            case Then::ShowsItsWindow:
                if (handleUntil([&] { return lookout.looks() > 0; })) showMainWindow();
                break;
            case Then::Ends:
                if (handleUntil([&] { return lookout.looks() > 0; })) {
                    CloseHandle(std::exchange(other, nullptr));
                    note("ends");
                }
                break;
            case Then::ClosesItsWindowAndEnds: {
                // Found, it is busy closing (a question answered, work to stop): it answers nothing
                // more until it has closed, and then it ends.
                WatchedWindow closing(kTitleW, WS_POPUP | WS_VISIBLE, [&](HWND window) {
                    while (!(HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) &&
                           WaitForSingleObject(done, 1) == WAIT_TIMEOUT) {
                    }
                    DestroyWindow(window);
                    CloseHandle(std::exchange(other, nullptr));
                    note("closes its window and ends");
                });
                handleUntil([&] { return closing.looks() > 0; });
                break;
            }
            case Then::HidesItsWindowAsItIsRaised: {
                // Shown without being activated, so that the second start's raise is what activates it.
                HWND window = CreateWindowExW(0, u"STATIC", kTitleW, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                              nullptr, nullptr);
                ShowWindow(window, SW_SHOWNOACTIVATE);
                SetWindowLongPtrW(window, GWLP_USERDATA, GetWindowLongPtrW(window, GWLP_WNDPROC));
                SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hidesAsItIsRaised));
                shown = window;
                break;
            }
            case Then::GivesWayToAnother: {
                HWND marker = makeMarker();
                if (!handleUntil([&] { return lookout.looks() > 0; })) break;
                // Timed like the wait: this one lets go halfway through it (the instance mutex stays
                // taken: the other start took it as this one let go); the other one shows its window
                // once the wait for this one would have run out.
                const ULONGLONG seen = GetTickCount64();
                if (!handleUntil([&] { return GetTickCount64() >= seen + c.waitMs / 2; })) break;
                DestroyWindow(marker);
                makeMarker();
                if (handleUntil([&] { return GetTickCount64() >= seen + c.waitMs + 2 * kOtherInstancePollMs; }))
                    showMainWindow();
                break;
            }
            case Then::GivesWayAsTheWaitRunsOut: {
                // Acts while a look waits for its answer, so that the second start sees each step whole.
                // The second start's wait for this one runs out just after its first look plus the wait.
                HWND marker = makeMarker();
                ULONGLONG firstLook = 0;
                HWND nextMarker = nullptr;
                whileLooked = [&] {
                    const ULONGLONG now = GetTickCount64();
                    if (firstLook == 0) {
                        firstLook = now;
                    } else if (marker != nullptr && now + 2 * kOtherInstancePollMs >= firstLook + c.waitMs) {
                        // This one ends in the last looks of the wait; another start takes the instance
                        // at once, but makes its marker only well after the wait has run out.
                        DestroyWindow(std::exchange(marker, nullptr));
                        CloseHandle(other);
                        other = CreateMutexW(nullptr, FALSE, kMutexName);
                        note(GetLastError() == ERROR_ALREADY_EXISTS ? "ends; the instance stayed taken"
                                                                    : "ends; another start takes the instance");
                    } else if (marker == nullptr && nextMarker == nullptr &&
                               now >= firstLook + c.waitMs + 10 * kOtherInstancePollMs) {
                        nextMarker = makeMarker();
                        note("the other start makes its marker");
                    } else if (nextMarker != nullptr && shown.load() == nullptr) {
                        showMainWindow();
                    }
                };
                pumpUntil([&] { return isSet(done); }, 60000);
                whileLooked = nullptr;
                break;
            }
            }
            // A thread's windows go with it; bringing one to the front sends it messages.
            pumpUntil([&] { return isSet(done); }, 60000);
        });
        const bool forwarded = forwardToRunningInstance(kInstanceId, 0);
        const ULONGLONG decidedMs = GetTickCount64() - start;
        const bool showsNoWindow = runningInstanceShowsNoWindow();
        const bool first = madeMarker();
        const HWND window = shown.load();
        const bool windowVisible = window != nullptr && IsWindowVisible(window);
        const HWND front = GetForegroundWindow();
        SetEvent(done);
        otherInstance.join();
        std::ostringstream saw;
        saw << "after " << decidedMs << " ms: forwarded " << forwarded << ", shows no window " << showsNoWindow
            << ", became first " << first << ", the other's window " << window << (windowVisible ? " visible" : "")
            << ", in front " << front << "; the other instance: " << did;
        switch (c.outcome) {
        case Outcome::Raised:
            EXPECT_TRUE(forwarded && !showsNoWindow && !first && window != nullptr && front == window) << saw.str();
            break;
        case Outcome::BecameFirst:
            EXPECT_TRUE(!forwarded && !showsNoWindow && first) << saw.str();
            break;
        case Outcome::ShowsNoWindow:
            // Whatever window the other instance showed has hidden: it was brought to the front, and
            // did not count.
            EXPECT_TRUE(forwarded && showsNoWindow && !first && !windowVisible) << saw.str();
            break;
        }
        CloseHandle(done);
        if (other != nullptr) CloseHandle(other);
        if (HWND marker = findMarker()) DestroyWindow(marker);
    }
}

// The second instance, started by the tests above.
TEST(SingleInstanceChild, ForwardsOrRuns) {
    const char* mode = std::getenv("QX_SINGLE_INSTANCE_CHILD");
    if (mode == nullptr) GTEST_SKIP() << "runs only as the second instance";
    WindowTest::SetUpTestSuite();
    ScopedApplication scope;
    scope.get().setTitle(kTitle);
    const int allow = mode[0] == '1' ? 1 : 0;
    const bool expectForwarded = std::string(mode).find("forwarded") != std::string::npos;
    EXPECT_EQ(forwardToRunningInstance(kInstanceId, allow), expectForwarded);
}

}  // namespace
}  // namespace QX::UIA::Test
