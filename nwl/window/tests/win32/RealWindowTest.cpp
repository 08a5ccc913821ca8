#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#pragma push_macro("_WIN32")
#undef _WIN32
#include <gtest/gtest.h>
#pragma pop_macro("_WIN32")
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <ole2.h>
#include <windows.h>

#include "../WindowTestSupport.h"
#include "gp/Assertion.h"
#include "gp/Path.h"
#include "gp/Region.h"
#include "uia/EventTimerManager.h"
#include "uia/FileDialogRequest.h"
#include "uia/Framework.h"
#include "uia/WindowOptions.h"

namespace QX::NWL {
namespace {

constexpr std::int32_t kWidth = 627;
constexpr std::int32_t kHeight = 335;
constexpr std::uint32_t kRootColour = 0xFF336699;
constexpr std::uint32_t kFirstColour = 0xFF00C000;
constexpr std::uint32_t kSecondColour = 0xFF0000C0;
constexpr std::uint32_t kChangedColour = 0xFFC00000;
constexpr COLORREF kMarker = RGB(0xFF, 0x00, 0xFF);

using Testing::PaintingWidget;

// The X server's root window as xwd writes it.
class ScreenShot {
public:
    bool take() {
        char file[] = "/tmp/qx-nwl-window-XXXXXX";
        const int descriptor = mkstemp(file);
        if (descriptor < 0) return false;
        close(descriptor);
        const bool taken = std::system((std::string("xwd -root -silent > ") + file).c_str()) == 0;
        std::ifstream input(file, std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>());
        std::remove(file);
        if (!taken || bytes_.size() < 100) return false;
        bytesPerPixel_ = field(11) / 8;
        bytesPerLine_ = field(12);
        leastSignificantFirst_ = field(7) == 0;
        start_ = field(0) + std::size_t(field(19)) * 12;
        return (bytesPerPixel_ == 3 || bytesPerPixel_ == 4) &&
               bytes_.size() >= start_ + std::size_t(bytesPerLine_) * field(5);
    }
    // 0xRRGGBB at a screen point.
    std::uint32_t at(int x, int y) const {
        const std::uint8_t* p = bytes_.data() + start_ + std::size_t(y) * bytesPerLine_ + std::size_t(x) * bytesPerPixel_;
        const std::uint8_t* last = p + bytesPerPixel_ - 1;
        return leastSignificantFirst_ ? (std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0])
                                      : (std::uint32_t(last[-2]) << 16 | std::uint32_t(last[-1]) << 8 | last[0]);
    }

private:
    std::uint32_t field(std::size_t index) const {
        const std::uint8_t* p = bytes_.data() + index * 4;
        return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
    }
    std::vector<std::uint8_t> bytes_;
    std::size_t start_ = 0;
    std::uint32_t bytesPerPixel_ = 4;
    std::uint32_t bytesPerLine_ = 0;
    bool leastSignificantFirst_ = true;
};

// Handles messages as they come until the condition holds or five seconds
// have passed.
bool pumpUntil(const std::function<bool()>& condition) {
    const DWORD end = GetTickCount() + 5000;
    while (!condition()) {
        if (GetTickCount() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

class FrameworkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        GP::Assertion::setThrowsExceptions(true);
        if (!UIA::isLibraryInitialized()) UIA::initializeLibraryOrThrow(UIA::kFrameworkVersion, UIA::kFrameworkFlags);
    }
};

class ScreenWidgetWindow : public FrameworkTest {
protected:
    void SetUp() override { GP::acquireRegionPool(); }
    void TearDown() override {
        if (window) window->destroy();
        pumpUntil([] { return true; });
        window.reset();
        root = first = second = nullptr;
        GP::releaseRegionPool();
    }

    HWND hwnd() const { return static_cast<HWND>(window->getImpl()->getNativeHandle()); }
    POINT clientOrigin() const {
        POINT origin{0, 0};
        ClientToScreen(hwnd(), &origin);
        return origin;
    }
    // Waits until the screen shows the colour at the client point.
    bool screenShows(int x, int y, std::uint32_t colour) {
        const POINT origin = clientOrigin();
        return pumpUntil([&] { return shot.take() && shot.at(origin.x + x, origin.y + y) == (colour & 0xFFFFFF); });
    }

    UIA::EventTimerManager timers;
    std::unique_ptr<Window<UIA::StandaloneWindow>> window;
    std::shared_ptr<PaintingWidget> root, first, second;
    ScreenShot shot;
};

// The program's window: a 627 x 335 client area under a root styled one
// pixel larger. A tick after one widget changed puts only that widget's
// rectangle on the screen again.
TEST_F(ScreenWidgetWindow, ATickRepaintsOnlyTheChangedWidgetOnTheScreen) {
    window = std::make_unique<Window<UIA::StandaloneWindow>>();
    root = Testing::placePainting(kRootColour, {0, 0, kWidth, kHeight});
    first = Testing::placePainting(kFirstColour, {20, 20, 120, 60});
    second = Testing::placePainting(kSecondColour, {200, 20, 300, 60});
    root->addChild(first, "first");
    root->addChild(second, "second");
    window->setRootWidget(root, "root");

    UIA::WindowOptions options;
    options.style = UIA::WindowOptions::kFixedSize;
    options.setPosition(40, 40, true);
    options.setSize(kWidth, kHeight, true);
    options.setTitle("QX widget window");
    ASSERT_TRUE(window->create(options));
    RECT client{};
    GetClientRect(hwnd(), &client);
    ASSERT_EQ(client.right, kWidth);
    ASSERT_EQ(client.bottom, kHeight);
    EXPECT_TRUE(window->hasTimer());
    root->setSize(kWidth + 1, kHeight + 1);
    window->setVisible(true);

    ASSERT_TRUE(screenShows(kWidth - 1, kHeight - 1, kRootColour));
    ASSERT_TRUE(screenShows(50, 30, kFirstColour));
    ASSERT_TRUE(screenShows(250, 30, kSecondColour));

    // A mark drawn straight onto the window, behind the widget tree's back:
    // a repaint of anything but the changed widget would wipe it out.
    HDC context = GetDC(hwnd());
    HBRUSH brush = CreateSolidBrush(kMarker);
    const RECT mark{400, 200, 420, 220};
    FillRect(context, &mark, brush);
    DeleteObject(brush);
    ReleaseDC(hwnd(), context);
    ASSERT_TRUE(screenShows(410, 210, kMarker));

    const int firstPaints = first->paints;
    const int secondPaints = second->paints;
    second->colour = kChangedColour;
    second->markDirty();
    ASSERT_TRUE(screenShows(250, 30, kChangedColour));
    EXPECT_EQ(second->paints, secondPaints + 1);
    EXPECT_EQ(first->paints, firstPaints);
    const POINT origin = clientOrigin();
    EXPECT_EQ(shot.at(origin.x + 410, origin.y + 210), kMarker);
    EXPECT_EQ(shot.at(origin.x + 50, origin.y + 30), kFirstColour & 0xFFFFFF);
    EXPECT_EQ(shot.at(origin.x + kWidth - 1, origin.y + kHeight - 1), kRootColour & 0xFFFFFF);

    window->destroy();
    EXPECT_FALSE(window->hasTimer());
}

// Answers the next save dialog of this thread with a file name, from a
// thread timer that runs inside the dialog's own loop.
class SaveDialogAnswer {
public:
    explicit SaveDialogAnswer(std::u16string name) : name_(std::move(name)) {
        active = this;
        timer_ = SetTimer(nullptr, 0, 100, onTimer);
    }
    ~SaveDialogAnswer() {
        KillTimer(nullptr, timer_);
        active = nullptr;
    }
    SaveDialogAnswer(const SaveDialogAnswer&) = delete;
    SaveDialogAnswer& operator=(const SaveDialogAnswer&) = delete;

    bool answered() const { return answered_; }

private:
    static BOOL CALLBACK findDialog(HWND window, LPARAM found) {
        char16_t className[16]{};
        GetClassNameW(window, className, 16);
        if (std::u16string(className) != u"#32770" || !IsWindowVisible(window)) return TRUE;
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (active) active->poll();
    }
    void poll() {
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&dialog));
        // A few ticks more for the dialog to finish setting itself up.
        if (!dialog || answered_ || ++ticks_ < 3) return;
        answered_ = true;
        HWND field = GetDlgItem(dialog, 0x47c);  // the file name combo box
        if (!field) field = GetDlgItem(dialog, 0x480);  // or edit field
        SetWindowTextW(field, name_.c_str());
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    }

    static inline SaveDialogAnswer* active = nullptr;
    std::u16string name_;
    UINT_PTR timer_ = 0;
    bool answered_ = false;
    int ticks_ = 0;
};

class WindowFileDialog : public FrameworkTest {
protected:
    void SetUp() override {
        OleInitialize(nullptr);
        GP::acquireRegionPool();
        window = std::make_unique<Window<UIA::StandaloneWindow>>();
        UIA::WindowOptions options;
        options.setSize(200, 100, true);
        options.setTitle("QX dialog owner");
        ASSERT_TRUE(window->create(options));
        char16_t folder[MAX_PATH]{};
        GetTempPathW(MAX_PATH, folder);
        request.kind = UIA::FileDialogRequest::kSave;
        request.title = "Save the log";
        request.initialDirectory = GP::Path(std::u16string_view(folder));
    }
    void TearDown() override {
        window->destroy();
        window.reset();
        GP::releaseRegionPool();
        OleUninitialize();
    }

    std::unique_ptr<Window<UIA::StandaloneWindow>> window;
    PaneFileDialogRequest request;
};

// The confirmed path reaches the completion; with no completion nobody
// asked for the answer: it is dropped and the program goes on.
TEST_F(WindowFileDialog, TheConfirmedPathReachesTheCompletionIfAny) {
    GP::Path chosen;
    {
        SaveDialogAnswer answer(u"qx_pane_dialog");
        window->showFileDialog(request, [&](const GP::Path& path) { chosen = path; });
    }
    EXPECT_EQ(chosen.fileName(), "qx_pane_dialog");
    SaveDialogAnswer answer(u"qx_pane_dialog");
    EXPECT_NO_THROW(window->showFileDialog(request, nullptr));
    EXPECT_TRUE(answer.answered());
}

}  // namespace
}  // namespace QX::NWL
