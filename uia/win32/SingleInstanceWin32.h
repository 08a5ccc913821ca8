#pragma once
#include <windows.h>

#include <string>

namespace QX::UIA {

// What the search for the running instance's main window looks for.
struct tWindowSearch {
    std::string title;
    HWND found = nullptr;
};

// The procedure of the first instance's marker window.
LRESULT CALLBACK onCopyData(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The enumeration callback that finds the main window by the application's
// title; `lParam` points to the search record.
BOOL CALLBACK findWindowByTitle(HWND hwnd, LPARAM lParam);
// How long a second start waits for a running instance that shows no main
// window to show one or to end; afresh for each start that takes its place.
constexpr DWORD kOtherInstanceWaitMs = 10000;
// How often it looks again meanwhile.
constexpr DWORD kOtherInstancePollMs = 50;

// Forgets the search result and the marker window, so that one test process
// can play several instances, and sets the wait above.
void resetSingleInstanceForTesting(DWORD otherInstanceWaitMs = kOtherInstanceWaitMs);

}  // namespace QX::UIA
