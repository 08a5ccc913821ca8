// A small console program for the acceptance script: it does, inside the Wine
// session, what X cannot do from outside (answer a message box, minimise a
// window, count a program's windows, ask which window is in front).
//
//   acceptance_probe count <caption>               number of top-level windows with that caption
//   acceptance_probe state <caption>               "visible=V iconic=I foreground=F" of the first one
//   acceptance_probe client <caption>              "X Y W H": the client area within the window
//   acceptance_probe minimize <caption>            minimises it and waits until it is
//   acceptance_probe close <caption>               asks it to close (WM_CLOSE)
//   acceptance_probe answer <caption> yes|no|ok <ms>  waits for a message box with that caption and
//                                                  presses the button; prints the box's text first
//
// Exit code 0 on success, 1 when the window was not there (in time), 2 on a
// usage error.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string toUtf8(const char16_t* text)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return {};
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), length, nullptr, nullptr);
    out.pop_back();
    return out;
}

std::string windowText(HWND window)
{
    char16_t buffer[1024] = {};
    GetWindowTextW(window, buffer, 1024);
    return toUtf8(buffer);
}

std::string className(HWND window)
{
    char16_t buffer[256] = {};
    GetClassNameW(window, buffer, 256);
    return toUtf8(buffer);
}

struct Search {
    std::string caption;
    std::string windowClass;  // empty: any class
    std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<Search*>(parameter);
    if (windowText(window) == search->caption &&
        (search->windowClass.empty() || className(window) == search->windowClass))
        search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> findWindows(const std::string& caption, const std::string& windowClass = {})
{
    Search search{caption, windowClass, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Visible windows first: the program's own hidden helper windows have no caption.
HWND findWindow(const std::string& caption)
{
    HWND first = nullptr;
    for (HWND window : findWindows(caption)) {
        if (IsWindowVisible(window) || IsIconic(window))
            return window;
        if (!first)
            first = window;
    }
    return first;
}

template <typename Condition>
bool waitFor(DWORD timeoutMs, Condition condition)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(20);
    }
}

BOOL CALLBACK collectText(HWND child, LPARAM parameter)
{
    auto* texts = reinterpret_cast<std::string*>(parameter);
    const std::string kind = className(child);
    if (kind == "Static") {
        const std::string text = windowText(child);
        if (!text.empty()) {
            if (!texts->empty())
                texts->push_back('\n');
            *texts += text;
        }
    }
    return TRUE;
}

int answer(const std::string& caption, const std::string& button, DWORD timeoutMs)
{
    HWND box = nullptr;
    if (!waitFor(timeoutMs, [&] {
            const std::vector<HWND> boxes = findWindows(caption, "#32770");
            box = boxes.empty() ? nullptr : boxes.front();
            return box != nullptr && IsWindowVisible(box);
        }))
        return 1;
    std::string texts;
    EnumChildWindows(box, collectText, reinterpret_cast<LPARAM>(&texts));
    std::printf("%s\n", texts.c_str());
    std::fflush(stdout);
    HWND control = GetDlgItem(box, button == "yes" ? IDYES : button == "ok" ? IDOK : IDNO);
    if (!control)
        return 1;
    // Posted: the box's owner thread presses it when it gets to it.
    PostMessageW(control, BM_CLICK, 0, 0);
    return waitFor(timeoutMs, [&] { return !IsWindow(box); }) ? 0 : 1;
}

int usage()
{
    std::fprintf(stderr, "usage: acceptance_probe count|state|client|minimize|close <caption> | answer <caption> yes|no|ok <ms>\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return usage();
    const std::string command = argv[1];
    const std::string caption = argv[2];
    if (command == "count") {
        int visible = 0;
        for (HWND window : findWindows(caption))
            visible += IsWindowVisible(window) || IsIconic(window) ? 1 : 0;
        std::printf("%d\n", visible);
        return 0;
    }
    if (command == "answer") {
        if (argc < 5)
            return usage();
        return answer(caption, argv[3], DWORD(std::strtoul(argv[4], nullptr, 10)));
    }
    HWND window = findWindow(caption);
    if (!window) {
        std::fprintf(stderr, "no window \"%s\"\n", caption.c_str());
        return 1;
    }
    if (command == "state") {
        std::printf("visible=%d iconic=%d foreground=%d\n", IsWindowVisible(window) ? 1 : 0,
                    IsIconic(window) ? 1 : 0, GetForegroundWindow() == window ? 1 : 0);
        return 0;
    }
    if (command == "client") {
        // Wine draws the frame itself when no window manager runs: the X
        // window holds the frame, and the client sits inside it.
        RECT frame{}, client{};
        GetWindowRect(window, &frame);
        GetClientRect(window, &client);
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        // LONG is int here but long on Windows: widen so one format fits both.
        std::printf("%ld %ld %ld %ld\n", long(origin.x - frame.left), long(origin.y - frame.top), long(client.right),
                    long(client.bottom));
        return 0;
    }
    if (command == "minimize") {
        ShowWindow(window, SW_MINIMIZE);
        return waitFor(5000, [&] { return IsIconic(window) != FALSE; }) ? 0 : 1;
    }
    if (command == "close") {
        PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    }
    return usage();
}
