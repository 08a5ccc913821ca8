#include "gp/MessageBox.h"

#include <mutex>

#include "Platform.h"

namespace QX::GP {
namespace {

struct HandlerSlot {
    std::mutex mutex;
    MessageHandler handler;
};

HandlerSlot& slot()
{
    static HandlerSlot* instance = new HandlerSlot;
    return *instance;
}

}  // namespace

const char* const kMakerName = "Harmova";

MessageHandler setMessageHandler(MessageHandler handler)
{
    HandlerSlot& s = slot();
    std::lock_guard lock(s.mutex);
    std::swap(s.handler, handler);
    return handler;
}

int showMessageBox(const char* text, std::size_t length, int buttons, int defaultButton, int icon,
                   const char* caption)
{
    MessageBoxRequest request;
    if (text)
        request.text.assign(text, length);
    request.buttons = buttons;
    request.defaultButton = defaultButton;
    request.icon = icon;
    if (caption)
        request.caption = caption;
    return showMessageBox(request);
}

int showMessageBox(const MessageBoxRequest& request)
{
    MessageHandler handler;
    {
        HandlerSlot& s = slot();
        std::lock_guard lock(s.mutex);
        handler = s.handler;
    }
    // Handlers and the real box alike see the maker's name as the caption
    // when none was given.
    MessageBoxRequest completed = request;
    if (completed.caption.empty())
        completed.caption = kMakerName;
    // The handler runs outside the lock: it may well show another box.
    return handler ? handler(completed) : DETAIL::showPlatformMessageBox(completed);
}

}  // namespace QX::GP
