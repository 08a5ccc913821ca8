#include "uia/ApplicationLink.h"

// The native build runs no application.
namespace QX::UIA::DETAIL {

EventTarget* getApplicationTarget() { return nullptr; }
bool sendEventToApplication(std::uint32_t, void*) { return false; }
void setApplicationMainWindow(WindowBase*) {}
void forgetApplicationMainWindow(WindowBase*) {}
const HMenuBar* getApplicationMenuBar() { return nullptr; }
bool isApplicationQuitting() { return false; }
void requestApplicationQuit() {}
void notifyApplicationSuspend() {}
void notifyApplicationResume() {}
const char* getApplicationTitle() { return ""; }

}  // namespace QX::UIA::DETAIL
