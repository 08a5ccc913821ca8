#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace QX::UIA::Test {

// Answers the next modal dialog that this thread shows: a thread timer
// finds it from inside the dialog's own loop, lets the test look at it and
// fill it in, then presses a button.
class DialogAnswerer {
public:
    using tAnswer = std::function<void(HWND dialog)>;

    // `answer` runs once on the dialog; then `button` (IDOK or IDCANCEL) is
    // pressed.
    DialogAnswerer(tAnswer answer, int button);
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    bool answered() const { return answered_; }

private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD);
    void poll();

    tAnswer answer_;
    int button_;
    UINT_PTR timer_ = 0;
    bool answered_ = false;
    int ticks_ = 0;
};

// The texts of a combo box's items.
std::vector<std::u16string> comboItems(HWND combo);
std::u16string windowText(HWND window);

}  // namespace QX::UIA::Test
