#include <windows.h>

#include <exception>

#include "gp/LastChanceFilter.h"
#include "uia/AppModule.h"

namespace QX::UIA {

namespace {

LONG WINAPI reportToLastChanceFilter(EXCEPTION_POINTERS* exception) {
    return GP::lastChanceFilter(exception);
}

// Runs the program under the foundation's last-chance filter and puts the
// previous filter back afterwards.
class LastChanceGuard {
public:
    LastChanceGuard() : previous_(SetUnhandledExceptionFilter(&reportToLastChanceFilter)) {}
    ~LastChanceGuard() { SetUnhandledExceptionFilter(previous_); }
    LastChanceGuard(const LastChanceGuard&) = delete;
    LastChanceGuard& operator=(const LastChanceGuard&) = delete;

private:
    LPTOP_LEVEL_EXCEPTION_FILTER previous_;
};

}  // namespace

void runApplication() {
    LastChanceGuard guard;
    // C++ exceptions are no structured exceptions here: report them the same
    // way and let them go on, which ends the process.
    try {
        DETAIL::runModule(AppModule::getInstance());
    } catch (const std::exception& exception) {
        GP::reportUnhandledException(exception.what());
        throw;
    } catch (...) {
        GP::reportUnhandledException("unknown exception");
        throw;
    }
}

}  // namespace QX::UIA
