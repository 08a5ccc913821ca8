#include "DialogAnswerer.h"

namespace QX::UIA::Test {
namespace {

DialogAnswerer* activeAnswerer = nullptr;

BOOL CALLBACK findDialog(HWND window, LPARAM found) {
    char16_t className[16]{};
    GetClassNameW(window, className, 16);
    if (std::u16string(className) == u"#32770" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

DialogAnswerer::DialogAnswerer(tAnswer answer, int button) : answer_(std::move(answer)), button_(button) {
    activeAnswerer = this;
    timer_ = SetTimer(nullptr, 0, 100, onTimer);
}

DialogAnswerer::~DialogAnswerer() {
    KillTimer(nullptr, timer_);
    activeAnswerer = nullptr;
}

void CALLBACK DialogAnswerer::onTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (activeAnswerer)
        activeAnswerer->poll();
}

void DialogAnswerer::poll() {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog || answered_)
        return;
    // Give the dialog a few ticks to finish its initialisation.
    if (++ticks_ < 3)
        return;
    answered_ = true;
    answer_(dialog);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button_)));
}

std::vector<std::u16string> comboItems(HWND combo) {
    std::vector<std::u16string> items;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
        std::u16string item(static_cast<std::size_t>(length) + 1, u'\0');
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
        item.resize(static_cast<std::size_t>(length));
        items.push_back(item);
    }
    return items;
}

std::u16string windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

}  // namespace QX::UIA::Test
