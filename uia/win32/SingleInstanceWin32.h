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
// Forgets the search result and the marker window, so that one test process
// can play several instances.
void resetSingleInstanceForTesting();

}  // namespace QX::UIA
