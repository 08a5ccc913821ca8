#pragma once
#include <cstdint>

#include "gp/Geometry.h"
#include "uia/WindowEvents.h"
#include "uia/WindowOptions.h"

namespace QX::GP {
class Region;
}

namespace QX::UIA {

class WindowBase;
class StandaloneWindow;
class HMenuBar;
class Picture;

namespace DETAIL {

// The platform half of a window. The window object above it knows only this
// interface; native handles pass through as opaque pointers.
class WindowImpl {
public:
    explicit WindowImpl(WindowBase* owner) : owner_(owner) {}
    WindowImpl(const WindowImpl&) = delete;
    WindowImpl& operator=(const WindowImpl&) = delete;
    virtual ~WindowImpl() = default;

    virtual bool presentLayered(const Picture& picture) = 0;
    virtual bool isVisible() const = 0;
    virtual void setTitle(const char* utf8) = 0;
    virtual void setMenuBar(const HMenuBar& menuBar) = 0;
    virtual void setIcon(void* module, int iconId) = 0;
    virtual void setCursor(void* cursor) = 0;
    virtual void resetCursor() = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void raise() = 0;
    virtual void destroy() = 0;
    virtual void maximize() {}
    virtual void minimize() {}
    virtual void restore() {}
    // Asks the owner for its default client size (1000011) and applies it.
    virtual void applyDefaultSize();
    virtual bool isMaximized() const { return false; }
    virtual bool isMinimized() const { return false; }
    virtual bool isNormal() const { return !isMaximized() && !isMinimized(); }
    virtual bool hasDefaultSize();
    virtual void invalidate() = 0;
    virtual void invalidateRect(const GP::Rect& rect) = 0;
    virtual void invalidateRegion(const GP::Region& region);
    virtual void update() = 0;
    virtual void setParent(WindowBase*) {}
    virtual void getRect(GP::Rect& rect, bool clientArea) = 0;
    virtual void setRect(const GP::Rect& rect, bool clientArea) = 0;
    virtual void getPosition(GP::Point& point, bool clientArea);
    virtual void setPosition(const GP::Point& point, bool clientArea) = 0;
    virtual void getSize(WindowSize& size, bool clientArea);
    virtual void setSize(const WindowSize& size, bool clientArea) = 0;
    virtual double getScaleFactor() const { return 1.0; }
    virtual void getRestoredRect(GP::Rect& rect, bool clientArea) { getRect(rect, clientArea); }
    virtual void setRestoredRect(const GP::Rect& rect, bool clientArea) { setRect(rect, clientArea); }
    virtual void getPlacement(WindowPlacement& placement) = 0;
    virtual void setPlacement(const WindowPlacement& placement) = 0;
    virtual void enterFullScreen() {}
    virtual bool isFullScreen() const { return false; }
    virtual void leaveFullScreen() {}
    virtual void clientToScreenRect(GP::Rect& rect) = 0;
    virtual void clientToScreen(GP::Point& point) = 0;
    virtual void screenToClient(GP::Point& point) = 0;
    virtual void setFocus() = 0;
    virtual bool returnTrue() { return true; }
    virtual void setNonClientMouseEvents(bool) {}
    virtual void captureMouse() {}
    virtual void releaseMouse() {}
    virtual void setHandleSystemKeys(bool) {}
    virtual void setModified(bool modified) = 0;
    // Sends to the owner; an unhandled event goes on to the application when
    // asked to.
    virtual bool sendEvent(std::uint32_t id, void* data, bool alsoToApplication = false);
    virtual void setHandle(void* nativeHandle) = 0;
    virtual std::intptr_t callDefaultProcedure(std::uint32_t message, std::uintptr_t wParam,
                                               std::intptr_t lParam) = 0;
    virtual bool onResized(std::int32_t, std::int32_t) { return false; }

    virtual void* getNativeHandle() const = 0;
    // Cuts the native window loose from this object (user-data slot, drop
    // target, device context) and destroys it; used when the owner goes
    // while its native window still lives.
    virtual void detachAndDestroyNativeWindow() = 0;

    WindowBase* getOwner() const { return owner_; }
    void setOwner(WindowBase* owner) { owner_ = owner; }
    bool getDeleteOnDestroy() const { return deleteOnDestroy_; }
    void setDeleteOnDestroy(bool flag) { deleteOnDestroy_ = flag; }
    std::int32_t getNestingDepth() const { return nestingDepth_; }
    void enterMessage() { ++nestingDepth_; }
    void leaveMessage() { --nestingDepth_; }
    bool isDestroyedPending() const { return destroyedPending_; }
    void setDestroyedPending(bool pending) { destroyedPending_ = pending; }

private:
    WindowBase* owner_ = nullptr;
    bool deleteOnDestroy_ = false;
    std::int32_t nestingDepth_ = 0;
    bool destroyedPending_ = false;
};

// Raises the nesting depth for a scope, also when the scope is left by an
// exception. A window destroyed meanwhile has its objects deleted when the
// outermost scope ends: the implementation, and the owner when it asked to
// go with its native window.
class NestingGuard {
public:
    explicit NestingGuard(WindowImpl* impl) : impl_(impl) { if (impl_) impl_->enterMessage(); }
    ~NestingGuard();
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

private:
    WindowImpl* impl_;
};

// Raises the depth that defers window deletion around a delivery that is
// not a window's own message (a timer tick, a queued callback): a window
// destroyed by its handler is deleted once the outermost delivery has
// returned, not under the running handler.
class DeliveryScope {
public:
    DeliveryScope();
    ~DeliveryScope();
    DeliveryScope(const DeliveryScope&) = delete;
    DeliveryScope& operator=(const DeliveryScope&) = delete;
};

// Builds the platform implementation of a standalone window and its native
// window; answers whether a native window exists afterwards.
bool createStandaloneWindowImpl(StandaloneWindow& window, const WindowOptions& options);

}  // namespace DETAIL
}  // namespace QX::UIA
