#pragma once

namespace QX::UIA {

// Wraps one native menu handle (an HMENU, null for none). Destroying the
// wrapper leaves the native menu alone: the window that shows it owns it.
class HMenu {
public:
    HMenu() = default;
    explicit HMenu(void* handle) : handle_(handle) {}
    virtual ~HMenu() = default;

    void* getHandle() const { return handle_; }
    void setHandle(void* handle) { handle_ = handle; }

private:
    void* handle_ = nullptr;
};

// A menu used as a window's menu bar; it starts without a handle.
class HMenuBar : public HMenu {};

}  // namespace QX::UIA
