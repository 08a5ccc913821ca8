#pragma once
#include <windows.h>

#include <vector>

namespace QX::UIA::Test {

// Synthetic input played by a thread of its own while the test's thread is
// busy in a modal loop (the drag loop).
class InputScript {
public:
    InputScript& moveTo(int x, int y, DWORD pauseMs = 60);
    // Moves in `steps` even steps from the last position.
    InputScript& glideTo(int x, int y, int steps = 6, DWORD pauseMs = 60);
    InputScript& releaseLeft(DWORD pauseMs = 100);
    InputScript& pressKey(WORD virtualKey, DWORD pauseMs = 100);
    InputScript& pause(DWORD ms);

    // Starts playing; join() waits for the end.
    void start();
    void join();
    ~InputScript();

    // Puts the cursor at the point and presses the left button there,
    // handling the resulting messages on the calling thread.
    static void pressLeftAt(int x, int y);

private:
    struct tStep {
        INPUT input;
        DWORD pauseMs;
    };
    static DWORD WINAPI play(void* script);
    void add(const INPUT& input, DWORD pauseMs);

    std::vector<tStep> steps_;
    POINT last_{0, 0};
    HANDLE thread_ = nullptr;
};

}  // namespace QX::UIA::Test
