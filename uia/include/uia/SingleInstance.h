#pragma once

namespace QX::GP {
class Path;
}

namespace QX::UIA {

// Makes sure that one instance of the program runs. The first call of the
// first instance leaves a hidden marker window named by `id`; a later
// instance hands its first command-line argument (a path that exists) to the
// running one, brings that one's main window to the front and answers true:
// it must then end without running its loop. With `allowSecondInstance` 1 a
// later instance without arguments keeps running (false). Answers false
// without an application.
// A running instance that shows no main window (starting, or ending) is
// waited for, up to 10 s: when it ends meanwhile, this one becomes the first
// instance and the answer is false; when another start takes its place, the
// wait starts afresh for that one, also when it has yet to make its marker
// window as the wait runs out. A window that is gone or hidden once its
// instance has answered after being brought to the front (it was closing)
// does not count.
bool forwardToRunningInstance(const char* id, int allowSecondInstance);

// After forwardToRunningInstance answered true: whether the running instance,
// the same one for the whole wait, still showed no main window to bring to
// the front, so that the user saw nothing of either.
bool runningInstanceShowsNoWindow();

// The data of the path event that the running instance receives.
struct PathEventData {
    const GP::Path* path = nullptr;
};

}  // namespace QX::UIA
