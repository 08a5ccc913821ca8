#include <memory>
#include <string>

#pragma push_macro("_WIN32")
#undef _WIN32
#include <gtest/gtest.h>
#pragma pop_macro("_WIN32")
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <ole2.h>
#include <windows.h>

#include "gp/Assertion.h"
#include "gp/Path.h"
#include "gp/Region.h"
#include "gp/Text.h"
#include "nwl/window/Window.h"
#include "uia/FileDialogRequest.h"
#include "uia/Framework.h"
#include "uia/WindowOptions.h"

namespace QX::NWL {
namespace {

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

class WindowFileDialog : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        GP::Assertion::setThrowsExceptions(true);
        if (!UIA::isLibraryInitialized()) UIA::initializeLibraryOrThrow(UIA::kFrameworkVersion, UIA::kFrameworkFlags);
    }
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
