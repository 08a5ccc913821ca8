#pragma once
#include <cstdint>
#include <memory>

#include "gp/Geometry.h"
#include "uia/EventTarget.h"
#include "uia/WindowEvents.h"

namespace QX::GP {
class Region;
}

namespace QX::UIA {

class Picture;
namespace DETAIL {
class WindowImpl;
}

// A framework window as the application and the widget library see it. All
// platform work happens in its implementation, which exists while the
// native window lives.
class WindowBase : public EventTarget {
public:
    WindowBase();
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;
    ~WindowBase() override;

    virtual void setCursor(void* cursor);
    virtual void resetCursor();
    // A window that answers true leaves its keyboard messages to the system.
    virtual bool leavesKeysToSystem() { return false; }

    void invalidate();
    void invalidateRegion(const GP::Region& region);
    bool isVisible() const;
    // Sends 1000013 first when a hidden window is about to be shown.
    void setVisible(bool visible);
    void destroy();
    double getScaleFactor() const;
    void getSize(WindowSize& size, bool clientArea) const;
    void setFocus();
    void setIcon(void* module, int iconId);
    void captureMouse();
    void releaseMouse();
    void clientToScreen(GP::Point& point) const;
    // Only for a layered window; false otherwise.
    bool presentLayered(const Picture& picture);

    bool isLayered() const { return layered_; }
    bool usesAlpha() const { return usesAlpha_; }
    void setDeleteOnDestroy(bool flag);
    bool getDeleteOnDestroy() const { return deleteOnDestroy_; }
    WindowBase* getParent() const { return parent_; }
    std::uint32_t getUserData() const { return userData_; }
    void setUserData(std::uint32_t value) { userData_ = value; }

    DETAIL::WindowImpl* getImpl() const { return impl_.get(); }
    // The platform side attaches a new implementation at creation and lets
    // go of it when the native window is gone (it then deletes itself).
    void attachImpl(std::unique_ptr<DETAIL::WindowImpl> impl);
    DETAIL::WindowImpl* releaseImpl();
    void setParentWindow(WindowBase* parent) { parent_ = parent; }
    void setLayered(bool layered, bool usesAlpha) { layered_ = layered; usesAlpha_ = usesAlpha; }

protected:
    bool onEvent(std::uint32_t id, void* data) override;

private:
    std::unique_ptr<DETAIL::WindowImpl> impl_;
    WindowBase* parent_ = nullptr;
    bool deleteOnDestroy_ = false;
    bool layered_ = false;
    bool usesAlpha_ = false;
    std::uint32_t userData_ = 0;
};

class Window : public WindowBase {};

class MainWindow : public Window {};

struct WindowOptions;

// A top-level window of its own: the program's main window.
class StandaloneWindow : public MainWindow {
public:
    // Creates the native window; answers whether one exists afterwards.
    bool create(const WindowOptions& options);

protected:
    // Turns the close request into the application's quit request and quits
    // when the native window is gone.
    bool onEvent(std::uint32_t id, void* data) override;
};

}  // namespace QX::UIA
