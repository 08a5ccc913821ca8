#pragma once
#include <cstdlib>
#include <exception>

#include "gp/LastChanceFilter.h"

namespace QX::UIA::DETAIL {

// Exceptions must not unwind through the platform's frames (a window
// procedure, a timer or a queued callback): they end here, reported like any
// other unhandled failure, and the program ends.
template <typename Function>
auto callGuarded(Function&& function) -> decltype(function()) {
    try {
        return function();
    } catch (const std::exception& error) {
        GP::reportUnhandledException(error.what());
    } catch (...) {
        GP::reportUnhandledException("unknown exception");
    }
    std::abort();
}

}  // namespace QX::UIA::DETAIL
