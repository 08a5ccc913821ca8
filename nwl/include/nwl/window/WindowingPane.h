#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "nwl/core/Pane.h"

namespace QX::NWL {

// A pane shown in a framework window: what the pane leaves empty (cursor,
// capture, clipboard, file dialog, keyboard focus, the window's user data)
// goes to the window, and window-level events (capture and focus loss,
// drag-over) become pane state. Without a window every operation does
// nothing and answers empty.
class WindowingPane : public Pane {
public:
    void setCursor(void* cursorHandle) override;
    // Shapes outside the framework's cursor table are ignored.
    void setCursorShape(std::int32_t shape) override;
    void setCursorPosition(GP::Point screenPoint) override;
    void resetCursor() override;
    GP::Point mapToScreen(GP::Point point) const override;
    void captureMouse() override;
    void releaseMouse() override;
    // UTF-8 text in and out of the system clipboard.
    std::string getClipboardText() override;
    void setClipboardText(std::string_view utf8) override;
    // The owner's value for this window, whole (pointer-sized).
    void setWindowUserData(void* value) override;
    void clearWindowUserData() override;
    void* getWindowUserData() const { return windowUserData_; }
    void notifyWindow() override;
    // The completion receives the path the user confirmed; an empty one
    // drops it.
    void showFileDialog(const PaneFileDialogRequest& request, tFileDialogCompletion completion) override;
    // Drag-over (1300) goes to the widget under the point and up its
    // ancestors; other drag ids answer false; a lost capture (1000007)
    // forgets hover and pressed widgets, a lost focus (1000009) the focus
    // widget; the rest is the pane's.
    bool handleEvent(std::uint32_t id, void* data) override;
    void focusWindow() override;
    void clearKeyFallbackWidget() override;

private:
    bool offerDragOver(void* data);

    void* windowUserData_ = nullptr;
};

}  // namespace QX::NWL
