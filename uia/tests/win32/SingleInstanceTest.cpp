#include "WindowTestSupport.h"

#include <cstdlib>
#include <utility>

#include "gp/Path.h"
#include "gp/Text.h"
#include "uia/SingleInstance.h"
#include "ChildProcess.h"
#include "SingleInstanceWin32.h"

namespace QX::UIA::Test {
namespace {

constexpr char kInstanceId[] = "QX-window-tests-single-instance";
constexpr char kTitle[] = "QX Instance Test Window";

HWND findMarker() { return FindWindowExW(HWND_MESSAGE, nullptr, nullptr, u"QX-window-tests-single-instance"); }

// Runs a second instance of this program that plays the child test below;
// the messages of this (first) instance are handled meanwhile.
int runSecondInstance(const std::vector<std::string>& arguments, const char* mode) {
    const int process = startTestProgram(arguments, {"GTEST_FILTER=SingleInstanceChild.*",
                                                     std::string("QX_SINGLE_INSTANCE_CHILD=") + mode});
    if (process < 0) return -1;
    int exitCode = -1;
    for (int waited = 0; waited < 60000 && !hasEnded(process, exitCode); waited += 20) pumpMessages(20);
    return exitCode;
}

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
// its window or its end; when the wait runs out, it ends and can say why.
TEST_F(SingleInstanceTest, AnInstanceWithoutAWindowIsWaitedFor) {
    enum class Then { Nothing, ShowsItsWindow, Ends };
    const struct {
        const char* name;
        Then then;
        bool forwarded;
    } cases[] = {
        {"no window within the wait", Then::Nothing, true},
        {"its window comes", Then::ShowsItsWindow, true},
        {"it ends", Then::Ends, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetSingleInstanceForTesting(c.then == Then::Nothing ? 200 : 10000);
        ScopedApplication scope;
        scope.get().setTitle(kTitle);
        HANDLE other = CreateMutexW(nullptr, FALSE, u"QX-window-tests-single-instance-instance");
        ASSERT_NE(other, nullptr);
        HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        Win32Thread otherInstance([&] {
            Sleep(100);  // while the second start waits (it comes to the same answer if not)
            if (c.then == Then::Ends) CloseHandle(std::exchange(other, nullptr));
            if (c.then != Then::ShowsItsWindow) return;
            HWND window = CreateWindowExW(0, u"STATIC", u"QX Instance Test Window", WS_POPUP, 0, 0, 10, 10, nullptr,
                                          nullptr, nullptr, nullptr);
            // A thread's windows go with it; bringing one to the front sends it messages.
            while (MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
                MSG message;
                while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            }
            DestroyWindow(window);
        });
        EXPECT_EQ(forwardToRunningInstance(kInstanceId, 0), c.forwarded);
        EXPECT_EQ(runningInstanceShowsNoWindow(), c.then == Then::Nothing);
        EXPECT_EQ(findMarker() != nullptr, !c.forwarded);
        SetEvent(done);
        otherInstance.join();
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
