#include "WindowTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "uia/Cursors.h"
#include "uia/KeyCodes.h"

namespace QX::UIA::Test {
namespace {

// Real pointer input through the X server (xdotool returns once the server
// has taken it); then this thread handles its messages until the input's
// effect has `arrived`, however long the platform takes.
void xdotool(const char* arguments, const std::function<bool()>& arrived) {
    char command[256];
    std::snprintf(command, sizeof command, "xdotool %s", arguments);
    ASSERT_EQ(std::system(command), 0) << command;
    EXPECT_TRUE(pumpUntil(arrived)) << command;
}

bool nothingToWaitFor() { return true; }

// Real pointer input through the X server: run alone.
class ScreenMouseTest : public WindowTest {
protected:
    void SetUp() override {
        // Wherever an earlier test or program left the pointer, it must not
        // be over the window when the window appears: the window would see
        // the mouse enter before the test moves it there.
        xdotool("mousemove 5 5", nothingToWaitFor);
        window = std::make_unique<RecordingWindow>();
        ASSERT_TRUE(window->create(clientOptions(200, 150, 300, 200)));
        hwnd = window->hwnd();
        window->setVisible(true);
        SetForegroundWindow(hwnd);
        ASSERT_TRUE(pumpUntil([this] { return GetForegroundWindow() == hwnd; }));
        ASSERT_FALSE(window->received(EventId::kMouseEntered));
        window->events.clear();
        origin = POINT{0, 0};
        ClientToScreen(hwnd, &origin);
    }
    void TearDown() override {
        window.reset();
        pumpMessages(10);
    }
    void moveTo(int clientX, int clientY) {
        char arguments[64];
        std::snprintf(arguments, sizeof arguments, "mousemove %ld %ld", long(origin.x + clientX), long(origin.y + clientY));
        xdotool(arguments, [this, clientX, clientY] {
            const POINT last = window->impl()->getLastMousePosition();
            return last.x == clientX && last.y == clientY;
        });
    }
    std::function<bool()> received(std::uint32_t id, std::size_t count = 1) const {
        return [this, id, count] { return window->eventsWithId(id).size() >= count; };
    }
    std::function<bool()> captured(bool expected) const {
        return [this, expected] { return window->impl()->isCaptured() == expected; };
    }
    std::vector<MouseButtonEvent> buttons() const {
        std::vector<MouseButtonEvent> result;
        for (const auto& event : window->eventsWithId(EventId::kMouseButton))
            result.push_back(event.as<MouseButtonEvent>());
        return result;
    }

    std::unique_ptr<RecordingWindow> window;
    HWND hwnd = nullptr;
    POINT origin{};
};

TEST_F(ScreenMouseTest, PressMoveReleaseWheelAndLeaveReachTheOwner) {
    moveTo(101, 51);
    ASSERT_TRUE(window->received(EventId::kMouseEntered));
    EXPECT_TRUE(window->received(EventId::kMouseMove));
    const auto ids = window->ids();
    EXPECT_LT(std::find(ids.begin(), ids.end(), EventId::kMouseEntered) - ids.begin(),
              std::find(ids.begin(), ids.end(), EventId::kMouseMove) - ids.begin());

    window->events.clear();
    xdotool("click 1", received(EventId::kMouseButton, 2));
    const auto clicks = buttons();
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0].x, 101);
    EXPECT_EQ(clicks[0].y, 51);
    EXPECT_EQ(clicks[0].button, std::uint32_t(kLeftButton));
    EXPECT_EQ(clicks[0].action, std::uint32_t(kPressed));
    EXPECT_EQ(clicks[1].action, std::uint32_t(kReleased));
    EXPECT_FALSE(window->impl()->isCaptured());

    window->events.clear();
    xdotool("click 4", received(EventId::kMouseWheel));
    const auto wheels = window->eventsWithId(EventId::kMouseWheel);
    ASSERT_EQ(wheels.size(), 1u);
    const auto wheel = wheels[0].as<MouseWheelEvent>();
    EXPECT_EQ(wheel.delta, 120);
    EXPECT_EQ(wheel.vertical, 1u);
    EXPECT_EQ(wheel.x, 101);
    EXPECT_EQ(wheel.y, 51);

    window->events.clear();
    // The platform notices the leave on its own timer.
    xdotool("mousemove 900 700", received(EventId::kMouseLeft));
}

TEST_F(ScreenMouseTest, ShiftTurnsTheWheelHorizontal) {
    moveTo(30, 30);
    window->events.clear();
    xdotool("keydown shift click 5 keyup shift", received(EventId::kMouseWheel));
    const auto wheels = window->eventsWithId(EventId::kMouseWheel);
    ASSERT_EQ(wheels.size(), 1u);
    EXPECT_EQ(wheels[0].as<MouseWheelEvent>().delta, -120);
    EXPECT_EQ(wheels[0].as<MouseWheelEvent>().vertical, 0u);
    EXPECT_TRUE(wheels[0].as<MouseWheelEvent>().modifiers & Key::kShift);
}

TEST_F(ScreenMouseTest, PressCapturesUntilRelease) {
    moveTo(20, 20);
    xdotool("mousedown 1", captured(true));
    EXPECT_TRUE(window->impl()->isCaptured());
    EXPECT_EQ(GetCapture(), hwnd);
    window->events.clear();
    moveTo(-3, 7);  // left of the client area, still captured
    const auto moves = window->eventsWithId(EventId::kMouseMoveCaptured);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back().as<MousePositionEvent>().x, -3);
    EXPECT_EQ(moves.back().as<MousePositionEvent>().y, 7);
    xdotool("mouseup 1", captured(false));
    const auto releases = buttons();
    ASSERT_FALSE(releases.empty());
    EXPECT_EQ(releases.back().action, std::uint32_t(kReleased));
    EXPECT_EQ(releases.back().x, -3);
    EXPECT_FALSE(window->impl()->isCaptured());
    EXPECT_NE(GetCapture(), hwnd);
}

TEST_F(ScreenMouseTest, HiddenCursorAtTheScreenEdgeKeepsTheDragGoing) {
    moveTo(20, 20);
    xdotool("mousedown 1", captured(true));
    ASSERT_TRUE(window->impl()->isCaptured());
    window->setCursor(nullptr);  // a drag that hides the cursor
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    char arguments[64];
    std::snprintf(arguments, sizeof arguments, "mousemove %d %ld", width - 1, long(origin.y + 20));
    // Put back into the middle.
    xdotool(arguments, [] {
        POINT cursor{};
        return GetCursorPos(&cursor) && cursor.x == GetSystemMetrics(SM_CXSCREEN) / 2;
    });
    window->events.clear();
    // After the platform has moved the pointer itself, it takes further
    // input from its own queue.
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = 300;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
    // Positions go on growing beyond the screen's edge.
    const auto beyondTheEdge = [&] {
        const auto moves = window->eventsWithId(EventId::kMouseMoveCaptured);
        return !moves.empty() && moves.back().as<MousePositionEvent>().x > width - 1 - origin.x + 200;
    };
    EXPECT_TRUE(pumpUntil(beyondTheEdge));
    input.mi.dx = 0;
    input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
    EXPECT_TRUE(pumpUntil([&] { return !window->impl()->isCaptured(); }));
    EXPECT_EQ(window->impl()->getMouseOffset().x, 0);
    window->resetCursor();
    xdotool("mouseup 1", nothingToWaitFor);  // the X server's button state too
}

TEST_F(ScreenMouseTest, CaptureEndsWithTheOffsetReset) {
    window->captureMouse();
    EXPECT_TRUE(window->impl()->isCaptured());
    EXPECT_EQ(GetCapture(), hwnd);
    window->impl()->setMouseOffset(POINT{40, 30});
    SendMessageW(hwnd, WM_CANCELMODE, 0, 0);
    EXPECT_FALSE(window->impl()->isCaptured());
    EXPECT_EQ(window->impl()->getMouseOffset().x, 0);
    EXPECT_EQ(window->ids(), (std::vector<std::uint32_t>{EventId::kWindowCaptureLost, EventId::kWindowFocusLost}));

    window->captureMouse();
    window->impl()->setMouseOffset(POINT{40, 30});
    window->releaseMouse();
    EXPECT_FALSE(window->impl()->isCaptured());
    EXPECT_EQ(window->impl()->getMouseOffset().y, 0);
    EXPECT_NE(GetCapture(), hwnd);

    window->captureMouse();
    window->impl()->setMouseOffset(POINT{40, 30});
    HWND other = CreateWindowExW(0, u"STATIC", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetCapture(other);
    EXPECT_FALSE(window->impl()->isCaptured());
    EXPECT_EQ(window->impl()->getMouseOffset().x, 0);
    ReleaseCapture();
    DestroyWindow(other);
}

TEST_F(ScreenMouseTest, OwnCursorAnswersSetCursor) {
    EXPECT_EQ(SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)) , FALSE);
    void* hand = getStandardCursor(2);
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(getStandardCursor(12), nullptr);
    EXPECT_EQ(getStandardCursor(0), getStandardCursor(15));
    window->setCursor(hand);
    EXPECT_EQ(SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), TRUE);
    EXPECT_EQ(GetCursor(), hand);
    window->resetCursor();
    EXPECT_EQ(GetCursor(), getStandardCursor(0));
}

TEST_F(ScreenMouseTest, RightPressRaisesTheWindowFirst) {
    HWND cover = CreateWindowExW(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, 600, 600, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_NE(GetTopWindow(nullptr), hwnd);
    HWND topWhenPressed = nullptr;
    window->handler = [&](std::uint32_t id, void*) {
        if (id == EventId::kMouseButton) topWhenPressed = GetTopWindow(nullptr);
        return false;
    };
    SendMessageW(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    SendMessageW(hwnd, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(topWhenPressed, hwnd);
    DestroyWindow(cover);
}

// Whether this process is registered for raw mouse input.
bool rawMouseInputRegistered() {
    UINT count = 0;
    GetRegisteredRawInputDevices(nullptr, &count, sizeof(RAWINPUTDEVICE));
    std::vector<RAWINPUTDEVICE> devices(count);
    if (count != 0 && GetRegisteredRawInputDevices(devices.data(), &count, sizeof(RAWINPUTDEVICE)) == UINT(-1))
        return false;
    return std::any_of(devices.begin(), devices.end(),
                       [](const RAWINPUTDEVICE& device) { return device.usUsagePage == 1 && device.usUsage == 2; });
}

class MouseCaptureTest : public WindowTest {};

// The raw mouse input asked for with the capture ends with the capture,
// whichever way the capture ends.
TEST_F(MouseCaptureTest, RawMouseInputEndsWithTheCapture) {
    const struct {
        const char* way;
        std::function<void(RecordingWindow&)> endCapture;
    } ways[] = {
        {"releaseMouse", [](RecordingWindow& window) { window.releaseMouse(); }},
        {"button released",
         [](RecordingWindow& window) { SendMessageW(window.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5)); }},
        {"capture taken by another window",
         [](RecordingWindow&) {
             HWND other = CreateWindowExW(0, u"STATIC", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                          nullptr);
             SetCapture(other);
             ReleaseCapture();
             DestroyWindow(other);
         }},
        {"cancel mode", [](RecordingWindow& window) { SendMessageW(window.hwnd(), WM_CANCELMODE, 0, 0); }},
        // The capture ends with the window, and the window object goes too.
        {"window destroyed", [](RecordingWindow& window) { window.destroy(); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        auto window = std::make_unique<RecordingWindow>();
        ASSERT_TRUE(window->create(clientOptions(200, 150, 300, 200)));
        window->captureMouse();
        ASSERT_TRUE(rawMouseInputRegistered());
        way.endCapture(*window);
        if (window->impl() != nullptr) {
            EXPECT_FALSE(window->impl()->isCaptured());
        }
        EXPECT_FALSE(rawMouseInputRegistered());
        window.reset();
        EXPECT_FALSE(rawMouseInputRegistered());
    }
}

// The registration is one for the process: a window whose capture has been
// overtaken by another window's must leave that window's registration alone.
TEST_F(MouseCaptureTest, RawMouseInputStaysWithTheLatestCapture) {
    const struct {
        const char* sequence;
        std::function<void(RecordingWindow& first, RecordingWindow& second)> run;
    } sequences[] = {
        {"first capture released by other code, second captures, first destroyed",
         [](RecordingWindow& first, RecordingWindow& second) {
             first.captureMouse();
             ReleaseCapture();
             second.captureMouse();
             first.destroy();
         }},
        {"second captures while the first holds the capture",
         [](RecordingWindow& first, RecordingWindow& second) {
             first.captureMouse();
             second.captureMouse();
         }},
    };
    for (const auto& sequence : sequences) {
        SCOPED_TRACE(sequence.sequence);
        auto first = std::make_unique<RecordingWindow>();
        auto second = std::make_unique<RecordingWindow>();
        ASSERT_TRUE(first->create(clientOptions(200, 150, 300, 200)));
        ASSERT_TRUE(second->create(clientOptions(250, 200, 300, 200)));
        sequence.run(*first, *second);
        ASSERT_EQ(GetCapture(), second->hwnd());
        EXPECT_TRUE(rawMouseInputRegistered());
        second->releaseMouse();
        EXPECT_FALSE(rawMouseInputRegistered());
        first.reset();
        second.reset();
        EXPECT_FALSE(rawMouseInputRegistered());
    }
}

}  // namespace
}  // namespace QX::UIA::Test
