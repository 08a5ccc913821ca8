#include "nwl/style/ErrorHandlers.h"

#include <utility>
#include <vector>

namespace QX::NWL {

namespace {

struct tRegisteredHandler {
    std::size_t id;
    ErrorHandler handler;
};

// Messages come from the UI thread only.
std::vector<tRegisteredHandler>& handlers()
{
    static std::vector<tRegisteredHandler> list;
    return list;
}

}  // namespace

std::size_t addErrorHandler(ErrorHandler handler)
{
    static std::size_t nextId = 0;
    handlers().push_back({++nextId, std::move(handler)});
    return nextId;
}

void removeErrorHandler(std::size_t id)
{
    std::erase_if(handlers(), [id](const tRegisteredHandler& entry) { return entry.id == id; });
}

void reportError(const std::string& message)
{
    // A handler may register or remove handlers: call a snapshot.
    const auto snapshot = handlers();
    for (const auto& entry : snapshot) {
        // An empty handler receives nothing (rather than throwing).
        if (entry.handler)
            entry.handler(std::string(message));
    }
}

}  // namespace QX::NWL
