#include "InputScript.h"

#include "WindowTestSupport.h"

namespace QX::UIA::Test {
namespace {

INPUT absoluteMove(int x, int y) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

INPUT button(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

}  // namespace

void InputScript::add(const INPUT& input, DWORD pauseMs) { steps_.push_back({input, pauseMs}); }

InputScript& InputScript::moveTo(int x, int y, DWORD pauseMs) {
    add(absoluteMove(x, y), pauseMs);
    last_ = {x, y};
    return *this;
}

InputScript& InputScript::glideTo(int x, int y, int steps, DWORD pauseMs) {
    const POINT from = last_;
    for (int i = 1; i <= steps; ++i)
        moveTo(from.x + (x - from.x) * i / steps, from.y + (y - from.y) * i / steps, pauseMs);
    return *this;
}

InputScript& InputScript::releaseLeft(DWORD pauseMs) {
    add(button(MOUSEEVENTF_LEFTUP), pauseMs);
    return *this;
}

InputScript& InputScript::pressKey(WORD virtualKey, DWORD pauseMs) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    add(input, 30);
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    add(input, pauseMs);
    return *this;
}

InputScript& InputScript::pause(DWORD ms) {
    if (!steps_.empty())
        steps_.back().pauseMs += ms;
    return *this;
}

DWORD WINAPI InputScript::play(void* script) {
    for (tStep& step : static_cast<InputScript*>(script)->steps_) {
        SendInput(1, &step.input, sizeof(INPUT));
        Sleep(step.pauseMs);
    }
    return 0;
}

void InputScript::start() { thread_ = CreateThread(nullptr, 0, play, this, 0, nullptr); }

void InputScript::join() {
    if (!thread_)
        return;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
}

InputScript::~InputScript() { join(); }

void InputScript::pressLeftAt(int x, int y) {
    INPUT inputs[2] = {absoluteMove(x, y), button(MOUSEEVENTF_LEFTDOWN)};
    SendInput(2, inputs, sizeof(INPUT));
    Test::pumpMessages(150);
}

}  // namespace QX::UIA::Test
