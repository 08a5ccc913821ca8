#pragma once
#include <cstdint>

namespace QX::UIA {

// One native menu (an HMENU). It does not destroy the menu: the window that
// shows a menu owns it.
class HMenu {
public:
    HMenu() = default;
    explicit HMenu(void* handle) : handle_(handle) {}
    virtual ~HMenu() = default;

    void* getHandle() const { return handle_; }
    void setHandle(void* handle) { handle_ = handle; }

    // Searches the menu and its submenus for the item with `commandId`;
    // answers the menu that holds it and its position there.
    bool findItem(std::uint32_t commandId, HMenu& menu, std::uint32_t& position) const;

private:
    void* handle_ = nullptr;
};

// A menu used as a window's menu bar.
class HMenuBar : public HMenu {
public:
    HMenuBar() = default;
    explicit HMenuBar(void* handle) : HMenu(handle) {}
};

}  // namespace QX::UIA
