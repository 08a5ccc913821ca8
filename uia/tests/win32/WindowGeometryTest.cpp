#include "WindowTestSupport.h"

#include <memory>

namespace QX::UIA::Test {
namespace {

constexpr DWORD kFixedStyle = WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

class WindowGeometryTest : public WindowTest {
protected:
    void create(std::uint32_t style = 0) {
        window = std::make_unique<RecordingWindow>();
        ASSERT_TRUE(window->create(clientOptions(100, 100, 627, 335, style)));
        hwnd = window->hwnd();
    }
    void TearDown() override {
        window.reset();
        pumpMessages(10);
    }
    SIZE clientSize() const {
        RECT client{};
        GetClientRect(hwnd, &client);
        return SIZE{client.right, client.bottom};
    }

    std::unique_ptr<RecordingWindow> window;
    HWND hwnd = nullptr;
};

TEST_F(WindowGeometryTest, ClientSizeGivesTheFrameOfTheStyle) {
    create(WindowOptions::kFixedSize);
    EXPECT_EQ(DWORD(GetWindowLongW(hwnd, GWL_STYLE)) & ~DWORD(WS_VISIBLE | WS_CLIPSIBLINGS), kFixedStyle);
    RECT expected{0, 0, 627, 335};
    AdjustWindowRectEx(&expected, kFixedStyle, FALSE, 0);
    RECT frame{};
    GetWindowRect(hwnd, &frame);
    EXPECT_EQ(frame.right - frame.left, expected.right - expected.left);
    EXPECT_EQ(frame.bottom - frame.top, expected.bottom - expected.top);
    EXPECT_EQ(clientSize().cx, 627);
    EXPECT_EQ(clientSize().cy, 335);

    WindowSize size;
    window->getSize(size, true);
    EXPECT_EQ(size, (WindowSize{627, 335}));
    GP::Rect client;
    window->impl()->getRect(client, true);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    EXPECT_EQ(client.left, origin.x);
    EXPECT_EQ(client.top, origin.y);
}

TEST_F(WindowGeometryTest, EmptyClientSizeStillHasAFrame) {
    window = std::make_unique<RecordingWindow>();
    WindowOptions options;
    options.style = WindowOptions::kFixedSize;
    options.setSize(0, 0, true);
    ASSERT_TRUE(window->create(options));
    RECT frame{};
    GetWindowRect(window->hwnd(), &frame);
    RECT expected{0, 0, 0, 0};
    AdjustWindowRectEx(&expected, kFixedStyle, FALSE, 0);
    // The platform may keep a minimum height for the caption.
    EXPECT_GE(frame.bottom - frame.top, expected.bottom - expected.top);
    EXPECT_GE(frame.right - frame.left, expected.right - expected.left);
    EXPECT_GT(expected.bottom - expected.top, 0);
}

TEST_F(WindowGeometryTest, FramelessPopupIsAllClientArea) {
    create(WindowOptions::kFramelessPopup);
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_POPUP);
    RECT frame{};
    GetWindowRect(hwnd, &frame);
    EXPECT_EQ(frame.right - frame.left, 627);
    EXPECT_EQ(clientSize().cx, 627);
    EXPECT_EQ(clientSize().cy, 335);
}

TEST_F(WindowGeometryTest, OverlayNeverTakesActivationFromAClick) {
    RecordingWindow overlay;
    auto impl = std::make_unique<DETAIL::WindowImplWin32>(&overlay);
    DETAIL::WindowImplWin32& native = *impl;
    overlay.attachImpl(std::move(impl));
    ASSERT_TRUE(DETAIL::createNativeWindow(native, clientOptions(10, 10, 40, 40), 4, WS_POPUP, 0));
    EXPECT_EQ(SendMessageW(native.getHandle(), WM_MOUSEACTIVATE, 0, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              MA_NOACTIVATE);
    EXPECT_TRUE(overlay.received(EventId::kWindowCreated));
}

TEST_F(WindowGeometryTest, PlacementRoundTrip) {
    create();
    WindowPlacement wanted;
    wanted.showState = WindowPlacement::kNormal;
    wanted.x = 120;
    wanted.y = 90;
    wanted.width = 400;
    wanted.height = 250;
    window->impl()->setPlacement(wanted);
    WindowPlacement read;
    window->impl()->getPlacement(read);
    EXPECT_EQ(read.showState, WindowPlacement::kNormal);
    EXPECT_EQ(read.x, 120);
    EXPECT_EQ(read.y, 90);
    EXPECT_EQ(read.width, 400);
    EXPECT_EQ(read.height, 250);
    EXPECT_EQ(read.layer, 0);
    EXPECT_EQ(clientSize().cx, 400);

    // An unset position leaves the corner alone but applies size and state.
    WindowPlacement sizeOnly = wanted;
    sizeOnly.x = WindowPlacement::kUnset;
    sizeOnly.width = 300;
    sizeOnly.showState = WindowPlacement::kHidden;
    window->impl()->setPlacement(sizeOnly);
    window->impl()->getPlacement(read);
    EXPECT_EQ(read.showState, WindowPlacement::kHidden);
    EXPECT_EQ(read.x, 120);
    EXPECT_EQ(read.width, 300);

    // A size larger than every monitor keeps the current size.
    WindowPlacement huge = wanted;
    huge.width = 100000;
    window->impl()->setPlacement(huge);
    window->impl()->getPlacement(read);
    EXPECT_EQ(read.width, 300);
}

TEST_F(WindowGeometryTest, PlacementOffEveryMonitorComesBack) {
    create();
    WindowPlacement wanted;
    wanted.showState = WindowPlacement::kNormal;
    wanted.x = 5000;
    wanted.y = 4000;
    window->impl()->setPlacement(wanted);
    WindowPlacement read;
    window->impl()->getPlacement(read);
    EXPECT_LT(read.x, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_LT(read.y, GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

TEST_F(WindowGeometryTest, SizeLimitsBecomeTrackSizes) {
    create();
    window->handler = [](std::uint32_t id, void* data) {
        if (id != EventId::kWindowSizeLimitsWanted) return false;
        auto* limits = static_cast<SizeLimitsEventData*>(data);
        limits->flags = SizeLimitsEventData::kMinimumGiven | SizeLimitsEventData::kMaximumGiven;
        limits->minimumWidth = 200;
        limits->minimumHeight = 100;
        limits->maximumWidth = 500;
        limits->maximumHeight = 300;
        return true;
    };
    MINMAXINFO info{};
    info.ptMaxTrackSize = POINT{5000, 5000};
    EXPECT_EQ(SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), 0);
    RECT minimum{50, 50, 250, 150};
    RECT maximum{50, 50, 550, 350};
    const DWORD style = DWORD(GetWindowLongW(hwnd, GWL_STYLE));
    AdjustWindowRectEx(&minimum, style, FALSE, 0);
    AdjustWindowRectEx(&maximum, style, FALSE, 0);
    EXPECT_EQ(info.ptMinTrackSize.x, minimum.right - minimum.left);
    EXPECT_EQ(info.ptMinTrackSize.y, minimum.bottom - minimum.top);
    EXPECT_EQ(info.ptMaxTrackSize.x, maximum.right - maximum.left);
    EXPECT_EQ(info.ptMaxTrackSize.y, maximum.bottom - maximum.top);

    // The platform keeps a resize within them.
    SetWindowPos(hwnd, nullptr, 0, 0, 2000, 2000, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(clientSize().cx, 500);
    EXPECT_EQ(clientSize().cy, 300);
}

TEST_F(WindowGeometryTest, SizeAndPositionInClientTerms) {
    create();
    window->impl()->setSize(WindowSize{320, 240}, true);
    EXPECT_EQ(clientSize().cx, 320);
    EXPECT_EQ(clientSize().cy, 240);
    window->impl()->setPosition(GP::Point{200, 150}, true);
    GP::Point position;
    window->impl()->getPosition(position, true);
    EXPECT_EQ(position, (GP::Point{200, 150}));
    window->impl()->setRect(GP::Rect{60, 70, 360, 270}, true);
    GP::Rect rect;
    window->impl()->getRect(rect, true);
    EXPECT_EQ(rect, (GP::Rect{60, 70, 360, 270}));
}

TEST_F(WindowGeometryTest, MaximisedWindowChangesOnlyItsRestoredRect) {
    create();
    window->setVisible(true);
    window->impl()->maximize();
    pumpMessages(20);
    ASSERT_TRUE(window->impl()->isMaximized());
    window->events.clear();
    window->impl()->setSize(WindowSize{300, 200}, true);
    ASSERT_EQ(window->eventsWithId(EventId::kWindowResized).size(), 1u);
    EXPECT_EQ(window->eventsWithId(EventId::kWindowResized)[0].as<std::uint32_t>(), kSizeRestored);
    EXPECT_TRUE(window->impl()->isMaximized());
    window->impl()->restore();
    pumpMessages(20);
    EXPECT_EQ(clientSize().cx, 300);
    EXPECT_EQ(clientSize().cy, 200);
}

TEST_F(WindowGeometryTest, TitleShowsTheModifiedMark) {
    create();
    window->impl()->setTitle("Updater");
    window->impl()->setModified(true);
    char16_t text[64] = {};
    GetWindowTextW(hwnd, text, 64);
    EXPECT_EQ(std::u16string(text), u"Updater*");
    SetWindowTextW(hwnd, u"changed elsewhere");
    window->impl()->setModified(true);  // unchanged: no rewrite
    GetWindowTextW(hwnd, text, 64);
    EXPECT_EQ(std::u16string(text), u"changed elsewhere");
    window->impl()->setModified(false);
    GetWindowTextW(hwnd, text, 64);
    EXPECT_EQ(std::u16string(text), u"Updater");
    window->impl()->setTitle(nullptr);
    GetWindowTextW(hwnd, text, 64);
    EXPECT_EQ(std::u16string(text), u"");
}

TEST_F(WindowGeometryTest, FullScreenAndBack) {
    create();
    HMENU menu = CreateMenu();
    AppendMenuW(menu, MF_STRING, 100, u"&File");
    window->impl()->setMenuBar(HMenuBar(menu));
    window->setVisible(true);
    pumpMessages(20);
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    GP::Rect before;
    window->impl()->getRect(before, true);

    window->impl()->leaveFullScreen();  // not in full screen: nothing happens
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE), style);

    window->impl()->enterFullScreen();
    window->impl()->enterFullScreen();  // a second time changes nothing
    pumpMessages(20);
    EXPECT_TRUE(window->impl()->isFullScreen());
    RECT frame{};
    GetWindowRect(hwnd, &frame);
    EXPECT_EQ(frame.left, 0);
    EXPECT_EQ(frame.top, 0);
    EXPECT_EQ(frame.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(frame.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(GetMenu(hwnd), nullptr);
    EXPECT_EQ(DWORD(GetWindowLongW(hwnd, GWL_STYLE)) & ~DWORD(WS_CLIPSIBLINGS),
              DWORD(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN));

    window->impl()->leaveFullScreen();
    pumpMessages(20);
    EXPECT_FALSE(window->impl()->isFullScreen());
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE), style);
    EXPECT_EQ(GetMenu(hwnd), menu);
    GP::Rect after;
    window->impl()->getRect(after, true);
    EXPECT_EQ(after, before);
}

// The window owns its menu bar: it goes with the window, also when the
// window goes in full screen, where the menu bar is off the window.
TEST_F(WindowGeometryTest, MenuBarGoesWithTheWindow) {
    for (const bool fullScreen : {false, true}) {
        for (const bool deleteObject : {false, true}) {
            SCOPED_TRACE(std::string(fullScreen ? "full screen" : "normal") +
                         (deleteObject ? ", object deleted" : ", destroyed"));
            create();
            HMENU menu = CreateMenu();
            AppendMenuW(menu, MF_STRING, 100, u"&File");
            window->impl()->setMenuBar(HMenuBar(menu));
            if (fullScreen) window->impl()->enterFullScreen();
            if (deleteObject) window.reset();
            else window->destroy();
            EXPECT_FALSE(IsMenu(menu));
            window.reset();
        }
    }
}

}  // namespace
}  // namespace QX::UIA::Test
