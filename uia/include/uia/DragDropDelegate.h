#pragma once
#include <memory>

namespace QX::UIA {

// The process-wide provider of drag-and-drop services for the windows.
class IDragDropDelegate {
public:
    virtual ~IDragDropDelegate() = default;
};

// Drag and drop through the platform's windowing system.
class WindowingDragDropDelegate : public IDragDropDelegate {};

// Drag and drop switched off.
class NOPDragDropDelegate : public IDragDropDelegate {};

std::unique_ptr<IDragDropDelegate> createWindowingDragDropDelegate();

// Installs the delegate and deletes the previous one; null installs a
// NOPDragDropDelegate.
void setDragDropDelegate(std::unique_ptr<IDragDropDelegate> delegate);
// The installed delegate; null before the first installation.
IDragDropDelegate* getDragDropDelegate();

}  // namespace QX::UIA
