#include "WindowTestSupport.h"

#include "uia/EventTimerManager.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "gp/Module.h"
#include "gp/Region.h"
#include "FreedMemoryCheck.h"
#include "WindowProcedureWin32.h"

namespace QX::UIA::Test {
namespace {

class WindowProcedureTest : public WindowTest {
protected:
    void SetUp() override {
        window = std::make_unique<RecordingWindow>();
        ASSERT_TRUE(window->create(clientOptions(40, 40, 300, 200)));
        hwnd = window->hwnd();
        window->events.clear();
    }
    void TearDown() override {
        window.reset();
        pumpMessages(10);
    }

    std::unique_ptr<RecordingWindow> window;
    HWND hwnd = nullptr;
};

TEST_F(WindowProcedureTest, FramelessAndOverlayClassesAnswerForTheirFrames) {
    RECT rects[3] = {{0, 0, 100, 100}, {}, {}};
    NCCALCSIZE_PARAMS params{};
    std::memcpy(params.rgrc, rects, sizeof rects);
    EXPECT_EQ(framelessWindowProcedure(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params)), 0x700);
    EXPECT_EQ(params.rgrc[0].right, 100);
    EXPECT_EQ(framelessWindowProcedure(hwnd, WM_NCPAINT, 1, 0), 0);
    EXPECT_EQ(overlayWindowProcedure(hwnd, WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);
}

struct MessageRow {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool handled;                        // what the owner answers
    std::vector<std::uint32_t> events;  // what the owner receives, in order
    LRESULT answer;
    bool checkAnswer;
};

TEST_F(WindowProcedureTest, MessagesBecomeEventsAndAnswers) {
    HWND other = CreateWindowExW(0, u"STATIC", u"", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
    window->impl()->setNonClientMouseEvents(true);
    const std::vector<MessageRow> rows = {
        {"size maximised, handled", WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(300, 200), true, {EventId::kWindowResized}, 0, true},
        {"activate", WM_ACTIVATE, WA_ACTIVE, 0, false, {EventId::kWindowActivated}, 0, false},
        {"deactivate", WM_ACTIVATE, WA_INACTIVE, 0, false, {EventId::kWindowDeactivated}, 0, false},
        {"child activate", WM_CHILDACTIVATE, 0, 0, false, {EventId::kWindowActivated}, 0, false},
        {"focus gained", WM_SETFOCUS, 0, 0, false, {EventId::kWindowFocusGained}, 0, false},
        {"focus lost", WM_KILLFOCUS, 0, 0, false, {EventId::kWindowFocusLost}, 0, false},
        {"command handled", WM_COMMAND, 1234, 0, true, {EventId::kCommand}, 0, true},
        {"dialog code", WM_GETDLGCODE, 0, 0, false, {}, DLGC_WANTALLKEYS, true},
        {"cancel mode", WM_CANCELMODE, 0, 0, false, {EventId::kWindowCaptureLost, EventId::kWindowFocusLost}, 0, false},
        {"capture to another window", WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(other), false, {EventId::kWindowCaptureLost}, 0, false},
        {"capture to nobody", WM_CAPTURECHANGED, 0, 0, false, {}, 0, false},
        {"wheel handled", WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(60, 60), true, {EventId::kMouseWheel}, 0, true},
        {"release without capture", WM_LBUTTONUP, 0, MAKELPARAM(5, 6), true, {EventId::kMouseButton}, 0, true},
        {"leave", WM_MOUSELEAVE, 0, 0, true, {EventId::kMouseLeft}, 0, true},
        {"child right press", WM_PARENTNOTIFY, WM_RBUTTONDOWN, MAKELPARAM(3, 3), true, {EventId::kMouseButton}, 0, true},
        {"tool bar item", WM_SYSCOMMAND, SystemMenuCommand::kShowToolbar, 0, false, {EventId::kCommand}, 0, true},
        {"display change without monitor cache", WM_DISPLAYCHANGE, 32, 0, false, {}, 0, false},
        {"erase background", WM_ERASEBKGND, 0, 0, false, {}, 1, true},
        {"close refused", WM_CLOSE, 0, 0, true, {EventId::kWindowCloseRequest}, 0, true},
        {"scroll goes to the default", WM_VSCROLL, 0, 0, false, {}, 0, false},
    };
    std::vector<ReceivedEvent> childPress;
    for (const MessageRow& row : rows) {
        SCOPED_TRACE(row.name);
        window->events.clear();
        window->handler = [&row](std::uint32_t id, void* data) {
            if (id == EventId::kWindowCloseRequest) *static_cast<Answer*>(data) = kVetoed;
            return row.handled;
        };
        const LRESULT answer = SendMessageW(hwnd, row.message, row.wParam, row.lParam);
        // The default procedure may bring further messages (activation sets
        // the focus): the message's own events come first.
        auto ids = window->ids();
        if (!row.events.empty() && ids.size() > row.events.size()) ids.resize(row.events.size());
        EXPECT_EQ(ids, row.events);
        if (row.message == WM_PARENTNOTIFY) childPress = window->eventsWithId(EventId::kMouseButton);
        if (row.checkAnswer) {
            EXPECT_EQ(answer, row.answer);
        }
    }
    EXPECT_TRUE(IsWindow(hwnd));
    window->handler = nullptr;

    ASSERT_EQ(childPress.size(), 1u);
    const auto button = childPress[0].as<MouseButtonEvent>();
    EXPECT_EQ(button.x, -1);
    EXPECT_EQ(button.y, -1);
    EXPECT_EQ(button.button, std::uint32_t(kRightButton));
    EXPECT_EQ(button.action, std::uint32_t(kPressed));
    DestroyWindow(other);
}

TEST_F(WindowProcedureTest, EventDataFollowsTheMessage) {
    SendMessageW(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
    SendMessageW(hwnd, WM_SIZE, SIZE_MAXSHOW, 0);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(4321, 1), 0);
    const auto sizes = window->eventsWithId(EventId::kWindowResized);
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_EQ(sizes[0].as<std::uint32_t>(), kSizeMinimised);
    EXPECT_EQ(sizes[1].as<std::uint32_t>(), kSizeRestored);
    ASSERT_EQ(window->eventsWithId(EventId::kCommand).size(), 1u);
    EXPECT_EQ(window->eventsWithId(EventId::kCommand)[0].as<std::uint32_t>(), 4321u);
}

TEST_F(WindowProcedureTest, RaisingToTheTopIsReported) {
    HWND cover = CreateWindowExW(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    window->impl()->raise();
    EXPECT_TRUE(window->received(EventId::kWindowRaised));
    DestroyWindow(cover);
}

TEST_F(WindowProcedureTest, CloseAcceptedDestroysTheWindow) {
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(window->ids(), (std::vector<std::uint32_t>{EventId::kWindowCloseRequest, EventId::kWindowDestroyed}));
    EXPECT_EQ(window->getImpl(), nullptr);
}

TEST_F(WindowProcedureTest, ShowingAHiddenWindowAnnouncesItOnce) {
    window->setVisible(true);
    window->setVisible(true);
    EXPECT_EQ(window->eventsWithId(EventId::kWindowAboutToShow).size(), 1u);
    EXPECT_TRUE(IsWindowVisible(hwnd));
}

TEST_F(WindowProcedureTest, OwnerDrawnNotificationsGoBackToTheControl) {
    static UINT reflected = 0;
    struct Control {
        static LRESULT CALLBACK procedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_DRAWITEM) reflected = message;
            return DefWindowProcW(control, message, wParam, lParam);
        }
    };
    HWND child = CreateWindowExW(0, u"STATIC", u"", WS_CHILD, 0, 0, 10, 10, hwnd, reinterpret_cast<HMENU>(42),
                                 nullptr, nullptr);
    SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Control::procedure));
    DRAWITEMSTRUCT item{};
    item.CtlID = 42;
    SendMessageW(hwnd, WM_DRAWITEM, 42, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(reflected, UINT(WM_DRAWITEM));
    DestroyWindow(child);
}

TEST_F(WindowProcedureTest, RegionInvalidatesEachOfItsRectangles) {
    GP::acquireRegionPool();
    {
        window->setVisible(true);
        window->impl()->update();
        GP::Region region;
        region.addRect(GP::Rect{10, 10, 20, 20});
        region.addRect(GP::Rect{100, 50, 120, 60});
        window->invalidateRegion(region);
        RECT update{};
        ASSERT_TRUE(GetUpdateRect(hwnd, &update, FALSE));
        EXPECT_EQ(update.left, 10);
        EXPECT_EQ(update.top, 10);
        EXPECT_EQ(update.right, 120);
        EXPECT_EQ(update.bottom, 60);
        HRGN updateRegion = CreateRectRgn(0, 0, 0, 0);
        GetUpdateRgn(hwnd, updateRegion, FALSE);
        EXPECT_FALSE(PtInRegion(updateRegion, 50, 30));
        EXPECT_TRUE(PtInRegion(updateRegion, 15, 15));
        DeleteObject(updateRegion);
    }
    GP::releaseRegionPool();
}

TEST_F(WindowProcedureTest, HandleChangesRenewTheDeviceContext) {
    DETAIL::StandaloneWindowImpl* impl = window->impl();
    DeviceContext* context = impl->getDeviceContext();
    ASSERT_NE(context, nullptr);
    impl->setHandle(hwnd);
    EXPECT_EQ(impl->getDeviceContext(), context);

    class CountingDropTarget : public DETAIL::DropTargetImplWin32 {
    public:
        CountingDropTarget(int& revoked, int& released) : revoked_(revoked), released_(released) {}
        ~CountingDropTarget() override { ++released_; }
        bool showDragImage(bool) override { return false; }
        void revoke() override { ++revoked_; }

    private:
        int& revoked_;
        int& released_;
    };
    int revoked = 0;
    int released = 0;
    impl->setDropTarget(std::make_unique<CountingDropTarget>(revoked, released));
    impl->setHandle(nullptr);
    EXPECT_EQ(impl->getDeviceContext(), nullptr);
    EXPECT_EQ(impl->getDropTarget(), nullptr);
    EXPECT_EQ(revoked, 1);
    EXPECT_EQ(released, 0);  // kept until the implementation goes
    impl->setHandle(hwnd);
    EXPECT_NE(impl->getDeviceContext(), nullptr);
    window.reset();
    EXPECT_EQ(released, 1);
}

TEST_F(WindowProcedureTest, ForeignHandleGoesToTheFallback) {
    EXPECT_EQ(windowProcedure(hwnd, WM_GETDLGCODE, 0, 0, DefWindowProcW), DLGC_WANTALLKEYS);
    HWND plain = CreateWindowExW(0, u"STATIC", u"", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
    EXPECT_EQ(windowProcedure(plain, WM_GETDLGCODE, 0, 0, DefWindowProcW), 0);
    DestroyWindow(plain);
}

TEST(WindowCreationTest, FirstMessageAttachesTheImplementation) {
    WindowTest::SetUpTestSuite();
    RecordingWindow window;
    WindowOptions options;
    options.setSize(200, 100, true);
    ASSERT_TRUE(window.create(options));
    // Size limits are asked before WM_CREATE: the very first messages
    // already reach the window object.
    const auto ids = window.ids();
    ASSERT_FALSE(ids.empty());
    EXPECT_EQ(ids.front(), EventId::kWindowSizeLimitsWanted);
    const auto created = std::find(ids.begin(), ids.end(), EventId::kWindowCreated);
    EXPECT_NE(created, ids.end());
    EXPECT_EQ(DETAIL::getPendingCreation(), nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(GetWindowLongPtrW(window.hwnd(), GWLP_USERDATA)), window.getImpl());
}

TEST(WindowCreationTest, FailedCreationIsReported) {
    WindowTest::SetUpTestSuite();
    HWND dead = CreateWindowExW(0, u"STATIC", u"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(dead);
    RecordingWindow stale;
    ASSERT_TRUE(stale.create(WindowOptions{}));
    HWND staleHandle = stale.hwnd();
    // A parent whose native window is gone prevents creation.
    stale.impl()->setHandle(dead);
    WindowOptions options;
    options.setParent(&stale);
    RecordingWindow child;
    EXPECT_FALSE(child.create(options));
    EXPECT_EQ(child.hwnd(), nullptr);
    stale.impl()->setHandle(staleHandle);
}

class DestroyInHandlerTest : public WindowTest {
protected:
    // A window object that goes with its native window and counts its destruction.
    RecordingWindow* createSelfDeletingWindow() {
        auto* window = new RecordingWindow;
        window->destructions = &destructions;
        window->setDeleteOnDestroy(true);
        EXPECT_TRUE(window->create(clientOptions(50, 50, 200, 150)));
        return window;
    }

    int destructions = 0;
};

TEST_F(DestroyInHandlerTest, WindowGoesOnlyAfterTheOutermostMessage) {
    RecordingWindow* window = createSelfDeletingWindow();
    HWND hwnd = window->hwnd();
    ASSERT_NE(hwnd, nullptr);
    int destructionsInHandler = -1;
    window->handler = [&](std::uint32_t id, void*) {
        if (id != EventId::kMouseButton) return false;
        window->destroy();
        destructionsInHandler = destructions;
        // The window object and its implementation are still usable here.
        EXPECT_EQ(window->getImpl(), nullptr);
        return true;
    };
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(destructionsInHandler, 0);
    EXPECT_EQ(destructions, 1);
    EXPECT_FALSE(IsWindow(hwnd));
    ReleaseCapture();
}

TEST_F(DestroyInHandlerTest, ThrowingHandlerStillLeavesTheDepthRight) {
    RecordingWindow* window = createSelfDeletingWindow();
    HWND hwnd = window->hwnd();
    ASSERT_NE(hwnd, nullptr);
    window->handler = [&](std::uint32_t id, void*) -> bool {
        if (id != EventId::kMouseButton) return false;
        window->destroy();
        throw std::runtime_error("handler failed");
    };
    EXPECT_THROW(windowProcedure(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10), DefWindowProcW),
                 std::runtime_error);
    EXPECT_EQ(destructions, 1);
    EXPECT_FALSE(IsWindow(hwnd));
    ReleaseCapture();
}

TEST_F(DestroyInHandlerTest, NestedMessageDoesNotDeleteEarly) {
    RecordingWindow* window = createSelfDeletingWindow();
    HWND hwnd = window->hwnd();
    ASSERT_NE(hwnd, nullptr);
    int afterInner = -1;
    window->handler = [&](std::uint32_t id, void*) {
        if (id == EventId::kCommand) {
            // An inner message of the same window destroys it.
            SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
            afterInner = destructions;
            return true;
        }
        if (id == EventId::kMouseButton) window->destroy();
        return id == EventId::kMouseButton;
    };
    SendMessageW(hwnd, WM_COMMAND, 7, 0);
    EXPECT_EQ(afterInner, 0);
    EXPECT_EQ(destructions, 1);
    ReleaseCapture();
}

// A window destroyed from a timer tick or a queued callback goes only after
// that handler has returned.
TEST_F(DestroyInHandlerTest, WindowDestroyedFromATimerOrCallbackGoesAfterTheHandler) {
    for (const bool fromTimer : {true, false}) {
        SCOPED_TRACE(fromTimer ? "timer" : "callback");
        ScopedApplication scope;
        destructions = 0;
        RecordingWindow* window = createSelfDeletingWindow();
        int destructionsInHandler = -1;
        auto destroyHere = [&] {
            window->destroy();
            destructionsInHandler = destructions;
        };
        if (fromTimer) {
            window->handler = [&](std::uint32_t id, void*) {
                if (id == EventId::kTimer) destroyHere();
                return id == EventId::kTimer;
            };
            ASSERT_NE(window->startTimer(40, 0), nullptr);
            EventTimerManager::getCurrent()->fireTimers();
        } else {
            scope.get().postToMainThread(destroyHere);
            for (int i = 0; i < 100 && destructions == 0; ++i) pumpMessages(10);
        }
        EXPECT_EQ(destructionsInHandler, 0);
        EXPECT_EQ(destructions, 1);
    }
}

TEST_F(DestroyInHandlerTest, DeletingTheObjectTakesTheNativeWindowAlong) {
    auto window = std::make_unique<RecordingWindow>();
    ASSERT_TRUE(window->create(clientOptions(50, 50, 200, 150)));
    HWND hwnd = window->hwnd();
    window.reset();
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(DestroyInHandlerTest, DeletingTheObjectInsideItsHandlerIsDeferred) {
    auto* window = new RecordingWindow;
    ASSERT_TRUE(window->create(clientOptions(50, 50, 200, 150)));
    HWND hwnd = window->hwnd();
    window->handler = [&](std::uint32_t id, void*) {
        if (id != EventId::kCommand) return false;
        delete window;
        return true;
    };
    EXPECT_EQ(SendMessageW(hwnd, WM_COMMAND, 9, 0), 0);
    EXPECT_FALSE(IsWindow(hwnd));
}

// A window destroyed inside its own paint handler: painting still ends with
// its device context and drop target, which stay until the deferred
// deletion, and nothing is written into freed memory.
TEST_F(DestroyInHandlerTest, WindowDestroyedWhilePaintingEndsItsPaintFirst) {
    class LoggingDropTarget : public DETAIL::DropTargetImplWin32 {
    public:
        LoggingDropTarget(std::vector<std::string>& calls, bool dragImageShown)
            : calls_(calls), dragImageShown_(dragImageShown) {}
        ~LoggingDropTarget() override { calls_.push_back("deleted"); }
        bool showDragImage(bool show) override {
            calls_.push_back(show ? "show" : "hide");
            return dragImageShown_;
        }
        void revoke() override { calls_.push_back("revoke"); }

    private:
        std::vector<std::string>& calls_;
        bool dragImageShown_;
    };
    for (const bool dragImageShown : {false, true}) {
        SCOPED_TRACE(dragImageShown ? "drag image shown" : "no drag image");
        destructions = 0;
        std::vector<std::string> dropTargetCalls;
        dropTargetCalls.reserve(8);
        RecordingWindow* window = createSelfDeletingWindow();
        window->impl()->setDropTarget(std::make_unique<LoggingDropTarget>(dropTargetCalls, dragImageShown));
        HWND hwnd = window->hwnd();
        window->handler = [&](std::uint32_t id, void*) {
            if (id != EventId::kWindowPaint) return false;
            RecordingWindow* self = window;
            self->destroy();
            return true;
        };
        FreedMemoryCheck freedMemory;
        SendMessageW(hwnd, WM_PAINT, 0, 0);
        EXPECT_EQ(freedMemory.end(), 0u);
        EXPECT_EQ(destructions, 1);
        EXPECT_FALSE(IsWindow(hwnd));
        const std::vector<std::string> expected =
            dragImageShown ? std::vector<std::string>{"hide", "revoke", "show", "deleted"}
                           : std::vector<std::string>{"hide", "revoke", "deleted"};
        EXPECT_EQ(dropTargetCalls, expected);
    }
}

// The about-to-show handler may destroy or delete the window it is asked
// about: the window goes once showing has returned.
TEST_F(DestroyInHandlerTest, WindowGoneBeforeItIsShownGoesAfterShowing) {
    for (const bool deleteObject : {false, true}) {
        SCOPED_TRACE(deleteObject ? "object deleted" : "native window destroyed");
        destructions = 0;
        RecordingWindow* window = createSelfDeletingWindow();
        HWND hwnd = window->hwnd();
        int destructionsInHandler = -1;
        window->handler = [&](std::uint32_t id, void*) {
            if (id != EventId::kWindowAboutToShow) return false;
            // Read before the window goes: this handler goes with it.
            RecordingWindow* self = window;
            const int& counted = destructions;
            int& countedInHandler = destructionsInHandler;
            if (deleteObject) delete self;
            else self->destroy();
            countedInHandler = counted;
            return true;
        };
        FreedMemoryCheck freedMemory;
        window->setVisible(true);
        EXPECT_EQ(freedMemory.end(), 0u);
        EXPECT_EQ(destructionsInHandler, deleteObject ? 1 : 0);
        EXPECT_EQ(destructions, 1);
        EXPECT_FALSE(IsWindow(hwnd));
    }
}

}  // namespace
}  // namespace QX::UIA::Test
