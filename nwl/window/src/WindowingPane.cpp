#include "nwl/window/WindowingPane.h"

#include <cstdint>
#include <memory>

#include "nwl/core/Widget.h"
#include "uia/Clipboard.h"
#include "uia/Cursors.h"
#include "uia/DragDrop.h"
#include "uia/EventIds.h"
#include "uia/FileDialogRequest.h"
#include "uia/TextClipBoardFormat.h"
#include "uia/WindowBase.h"

namespace QX::NWL {

void WindowingPane::setCursor(void* cursorHandle) {
    if (UIA::WindowBase* window = getWindow()) window->setCursor(cursorHandle);
}

void WindowingPane::setCursorShape(std::int32_t shape) {
    // An unknown shape has no cursor: showing "none" would hide the pointer.
    if (shape < 0 || shape >= UIA::kCursorShapeCount) return;
    if (UIA::WindowBase* window = getWindow()) window->setCursor(UIA::getStandardCursor(shape));
}

void WindowingPane::setCursorPosition(GP::Point screenPoint) {
    if (getWindow()) UIA::setCursorPosition(screenPoint);
}

void WindowingPane::resetCursor() {
    if (UIA::WindowBase* window = getWindow()) window->resetCursor();
}

GP::Point WindowingPane::mapToScreen(GP::Point point) const {
    UIA::WindowBase* window = getWindow();
    if (!window) return {};
    GP::Point screen = mapToClient(point);
    window->clientToScreen(screen);
    return screen;
}

void WindowingPane::captureMouse() {
    if (UIA::WindowBase* window = getWindow()) window->captureMouse();
}

void WindowingPane::releaseMouse() {
    if (UIA::WindowBase* window = getWindow()) window->releaseMouse();
}

std::string WindowingPane::getClipboardText() {
    if (!getWindow()) return {};
    UIA::TextClipBoardFormat text;
    return UIA::readClipboardFormat(text) ? text.getText() : std::string();
}

void WindowingPane::setClipboardText(std::string_view utf8) {
    if (!getWindow()) return;
    UIA::TextClipBoardFormat text;
    text.setText(utf8);
    UIA::writeClipboardFormat(text);
}

void WindowingPane::setWindowUserData(void* value) {
    // The framework window's own field is 32 bits wide, too narrow for a
    // pointer: the pane keeps the whole value for as long as it has a window.
    if (getWindow()) windowUserData_ = value;
}

void WindowingPane::clearWindowUserData() { windowUserData_ = nullptr; }

void WindowingPane::notifyWindow() { getWindow(); }

void WindowingPane::showFileDialog(const PaneFileDialogRequest& request, tFileDialogCompletion completion) {
    UIA::WindowBase* window = getWindow();
    if (!window) return;
    UIA::FileDialogRequest dialog;
    dialog.setTitle(request.title);
    dialog.setInitialDirectory(request.initialDirectory);
    const bool confirmed = dialog.show(request.kind, window);
    // Nobody waits for an answer that has no receiver.
    if (confirmed && completion) completion(dialog.getResultPath());
}

bool WindowingPane::handleEvent(std::uint32_t id, void* data) {
    if (id == UIA::EventId::kDragOver) return offerDragOver(data);
    if (id > UIA::EventId::kDragOver && id <= 1399) return false;
    if (id == UIA::EventId::kWindowCaptureLost) {
        setHoverWidget(nullptr);
        setPressedWidget(nullptr);
        return true;
    }
    if (id == UIA::EventId::kWindowFocusLost) {
        clearKeyFallbackWidget();
        return true;
    }
    return Pane::handleEvent(id, data);
}

// The widget under the point, then its ancestors, are offered the drag with
// the point relative to each; the first that takes it ends the walk.
bool WindowingPane::offerDragOver(void* data) {
    auto* drag = static_cast<UIA::DragEventData*>(data);
    if (!drag) return false;
    const GP::Point point{drag->x, drag->y};
    setPointerPosition(point);
    const tHit hit = widgetAt(UIA::EventId::kDragOver, point);
    if (hit.captured) return true;
    if (!hit.widget) return false;
    // A handler may take the widget out of the tree: hold it while it runs.
    std::shared_ptr<Widget> widget = hit.widget->getSharedPtr();
    while (widget) {
        const GP::Point origin = widget->getAbsolutePosition();
        drag->x = point.x - origin.x;
        drag->y = point.y - origin.y;
        const bool taken = widget->sendEvent(UIA::EventId::kDragOver, drag);
        drag->x = point.x;
        drag->y = point.y;
        if (taken) return true;
        Widget* parent = widget->getParent();
        widget = parent ? parent->getSharedPtr() : nullptr;
    }
    return false;
}

void WindowingPane::focusWindow() {
    if (UIA::WindowBase* window = getWindow()) window->setFocus();
}

void WindowingPane::clearKeyFallbackWidget() { clearFocusWidget(); }

}  // namespace QX::NWL
