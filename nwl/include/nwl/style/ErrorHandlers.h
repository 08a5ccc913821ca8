#pragma once
#include <cstddef>
#include <functional>
#include <string>

// The handlers that receive the widget library's messages (style-sheet
// errors among them).
namespace QX::NWL {

using ErrorHandler = std::function<void(const std::string& message)>;

// Registers a handler; the answer identifies it for removal.
std::size_t addErrorHandler(ErrorHandler handler);
void removeErrorHandler(std::size_t id);

// Calls every registered handler, in registration order, with a copy of the
// message. With none registered nothing happens.
void reportError(const std::string& message);

}  // namespace QX::NWL
