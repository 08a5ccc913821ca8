#pragma once
#include <cstdint>

// What native windows need of the application object, in one place, so that
// the window code does not depend on the application's whole interface.
namespace QX::UIA {
class EventTarget;
class HMenuBar;
class WindowBase;
}  // namespace QX::UIA

namespace QX::UIA::DETAIL {

// The running application as an event target, or null.
EventTarget* getApplicationTarget();
// Sends to the application; false without one.
bool sendEventToApplication(std::uint32_t id, void* data);
void setApplicationMainWindow(WindowBase* window);
// Clears the application's main-window pointer when it names `window`.
void forgetApplicationMainWindow(WindowBase* window);
// The application's menu bar, or null without an application.
const HMenuBar* getApplicationMenuBar();
bool isApplicationQuitting();
void requestApplicationQuit();
void notifyApplicationSuspend();
void notifyApplicationResume();
// The application's title, empty without one.
const char* getApplicationTitle();

}  // namespace QX::UIA::DETAIL
