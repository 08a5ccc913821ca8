#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "uia/DeviceContext.h"
#include "uia/WindowImpl.h"

namespace QX::UIA::DETAIL {

// What a window keeps of a registered drop target; the drag-and-drop side
// builds it (see setDropTargetFactory) and revokes the registration when it goes.
class DropTargetImplWin32 {
public:
    virtual ~DropTargetImplWin32() = default;
    // Hides or shows the drag image while the window paints.
    virtual bool showDragImage(bool show) = 0;
    // Ends the registration while the native window still exists; the
    // object itself may live on (showing nothing) until its window's
    // implementation goes.
    virtual void revoke() = 0;
};

// The Win32 work common to every framework window.
class WindowImplBaseWin32 : public WindowImpl {
public:
    explicit WindowImplBaseWin32(WindowBase* owner);
    ~WindowImplBaseWin32() override;

    bool presentLayered(const Picture& picture) override;
    bool isVisible() const override;
    void setTitle(const char* utf8) override;
    void setMenuBar(const HMenuBar& menuBar) override;
    void setIcon(void* module, int iconId) override;
    void setCursor(void* cursor) override;
    void resetCursor() override;
    void setVisible(bool visible) override;
    void raise() override;
    void destroy() override;
    void maximize() override;
    void minimize() override;
    void restore() override;
    bool isMaximized() const override;
    bool isMinimized() const override;
    bool isNormal() const override;
    void invalidate() override;
    void invalidateRect(const GP::Rect& rect) override;
    void update() override;
    void setParent(WindowBase* parent) override;
    void getRect(GP::Rect& rect, bool clientArea) override;
    void setRect(const GP::Rect& rect, bool clientArea) override;
    void setPosition(const GP::Point& point, bool clientArea) override;
    void setSize(const WindowSize& size, bool clientArea) override;
    void getRestoredRect(GP::Rect& rect, bool clientArea) override;
    void setRestoredRect(const GP::Rect& rect, bool clientArea) override;
    void getPlacement(WindowPlacement& placement) override;
    void setPlacement(const WindowPlacement& placement) override;
    void clientToScreenRect(GP::Rect& rect) override;
    void clientToScreen(GP::Point& point) override;
    void screenToClient(GP::Point& point) override;
    void setFocus() override;
    void setModified(bool modified) override;
    void* getNativeHandle() const override { return hwnd_; }

    HWND getHandle() const { return hwnd_; }
    HCURSOR getCursor() const { return cursor_; }
    HMENU getMenuBarHandle() const { return menuBar_; }
    bool isCaptured() const { return captured_; }
    void setCaptured(bool captured) { captured_ = captured; }
    bool getRaiseOnRightClick() const { return raiseOnRightClick_; }
    void setRaiseOnRightClick(bool flag) { raiseOnRightClick_ = flag; }
    void setDeferredErase(bool flag) { deferredErase_ = flag; }
    bool getDeferredErase() const { return deferredErase_; }
    bool getModified() const { return modified_; }
    const std::string& getTitle() const { return title_; }
    void storeTitle(std::string title) { title_ = std::move(title); }
    DeviceContext* getDeviceContext() const { return deviceContext_.get(); }
    HBRUSH getBackgroundBrush() const { return backgroundBrush_; }
    void setBackgroundBrush(HBRUSH brush);
    void deleteBackgroundBrush();
    void setDefaultProcedure(WNDPROC procedure) { defaultProcedure_ = procedure; }

protected:
    // Frame margins: how far the frame reaches beyond the client area.
    GP::Rect getFrameMargins();
    UINT positionFlags(UINT flags) const { return deferredErase_ ? flags | SWP_DEFERERASE : flags; }
    void showTitle();

    HWND hwnd_ = nullptr;
    HCURSOR cursor_ = nullptr;
    HMENU menuBar_ = nullptr;
    bool captured_ = false;
    bool modified_ = false;
    bool deferredErase_ = false;
    bool raiseOnRightClick_ = true;
    std::string title_;
    std::unique_ptr<DeviceContext> deviceContext_;
    HBRUSH backgroundBrush_ = nullptr;
    WNDPROC defaultProcedure_ = DefWindowProcW;
};

// Adds input state and the native handle's life.
class WindowImplWin32 : public WindowImplBaseWin32 {
public:
    explicit WindowImplWin32(WindowBase* owner) : WindowImplBaseWin32(owner) {}
    ~WindowImplWin32() override;

    void setNonClientMouseEvents(bool flag) override { nonClientMouse_ = flag; }
    void captureMouse() override;
    void releaseMouse() override;
    // Ends the raw mouse input that captureMouse asked for, unless a later
    // capture of another window has taken it over.
    void removeRawMouseInput();
    void setHandleSystemKeys(bool flag) override { handleSystemKeys_ = flag; }
    void setHandle(void* nativeHandle) override;
    std::intptr_t callDefaultProcedure(std::uint32_t message, std::uintptr_t wParam,
                                       std::intptr_t lParam) override;
    void detachAndDestroyNativeWindow() override;

    bool getNonClientMouse() const { return nonClientMouse_; }
    bool getHandleSystemKeys() const { return handleSystemKeys_; }
    std::uint32_t getLastModifiers() const { return lastModifiers_; }
    void setLastModifiers(std::uint32_t modifiers) { lastModifiers_ = modifiers; }
    bool isMouseInside() const { return mouseInside_; }
    void setMouseInside(bool inside) { mouseInside_ = inside; }
    POINT getLastMousePosition() const { return lastMousePosition_; }
    void setLastMousePosition(POINT point) { lastMousePosition_ = point; }
    POINT getMouseOffset() const { return mouseOffset_; }
    void setMouseOffset(POINT offset) { mouseOffset_ = offset; }
    // The high surrogate of a character typed in two halves, or 0.
    char16_t getPendingHighSurrogate() const { return pendingHighSurrogate_; }
    void setPendingHighSurrogate(char16_t unit) { pendingHighSurrogate_ = unit; }
    DropTargetImplWin32* getDropTarget() const { return dropTarget_.get(); }
    void setDropTarget(std::unique_ptr<DropTargetImplWin32> target) { dropTarget_ = std::move(target); }

private:
    POINT lastMousePosition_{};
    bool mouseInside_ = false;
    std::unique_ptr<DropTargetImplWin32> dropTarget_;
    // Those of the native window that is gone: a handler still running for
    // it may use them until this implementation is deleted.
    std::unique_ptr<DeviceContext> detachedDeviceContext_;
    std::unique_ptr<DropTargetImplWin32> revokedDropTarget_;
    std::uint32_t lastModifiers_ = 0;
    POINT mouseOffset_{};
    bool nonClientMouse_ = false;
    bool handleSystemKeys_ = false;
    char16_t pendingHighSurrogate_ = 0;
};

class MainWindowImplWin32 : public WindowImplWin32 {
public:
    using WindowImplWin32::WindowImplWin32;
};

// The implementation of a standalone window: full screen and an embedded
// child window that follows the window's width.
class StandaloneWindowImpl : public MainWindowImplWin32 {
public:
    using MainWindowImplWin32::MainWindowImplWin32;

    void enterFullScreen() override;
    bool isFullScreen() const override { return fullScreen_; }
    void leaveFullScreen() override;
    void setHandle(void* nativeHandle) override;
    std::intptr_t callDefaultProcedure(std::uint32_t message, std::uintptr_t wParam,
                                       std::intptr_t lParam) override;
    bool onResized(std::int32_t width, std::int32_t height) override;

    void setEmbeddedChild(WindowBase* child) { embeddedChild_ = child; }

private:
    WindowBase* embeddedChild_ = nullptr;
    HMENU savedMenu_ = nullptr;
    LONG savedStyle_ = 0;
    bool fullScreen_ = false;
    GP::Rect savedRect_;
};

// The drag-and-drop side installs the maker of drop targets; a window that
// accepts drops asks it for one right after creation.
using DropTargetFactory = std::unique_ptr<DropTargetImplWin32> (*)(WindowImplWin32& impl);
void setDropTargetFactory(DropTargetFactory factory);

// Creates the native window of `impl` from the options; answers whether the
// implementation received a native handle.
bool createNativeWindow(WindowImplWin32& impl, const WindowOptions& options, int classIndex,
                        DWORD style, DWORD extendedStyle);

}  // namespace QX::UIA::DETAIL
